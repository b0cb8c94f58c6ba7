#pragma once

#include <string>

namespace korvanel {

// Sent by the dispatcher to the main window; lParam points to an AlertRecord
// that lives only for the duration of the (synchronous) send.
constexpr unsigned int WM_NEW_ALERT = 0x0400 /* WM_USER */ + 30;

// One alert, as the dispatcher builds it and the popup keeps it.
struct AlertRecord {
    int HasTitle = 0;  // 1 when Title is not empty
    int HasLink = 0;   // 1 when Link is not empty
    std::wstring Title;
    std::wstring Info;
    std::wstring Link;
    std::wstring Spare1;
    std::wstring Spare2;
    std::string FunctionGuid;  // as received, or generated
    std::string Spare3;
};

}  // namespace korvanel
