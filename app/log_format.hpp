#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace korvanel {

// Local time as the log needs it; mirrors the fields of SYSTEMTIME.
struct LogTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int milliseconds = 0;
};

// "2016_1_8_log.txt": one file per local day, numbers unpadded.
std::wstring LogFileName(const LogTime& t);

// "2016-01-08 09:05:03,007 [2412] DEBUG <>-"
std::string LogLinePrefix(const LogTime& t, std::uint32_t threadId);

// One whole line as it goes to the file: the prefix, then the message with
// every character above U+00FF written as '?', every line feed (inside the
// message too) as CR LF, and a final CR LF.
std::string LogLineBytes(const LogTime& t, std::uint32_t threadId, std::wstring_view message);

}  // namespace korvanel
