#pragma once

#include <windows.h>

#include <string>

namespace korvanel {

// Conversions between the byte texts of the wire and the wide texts of the
// user interface. Each names its code page. Input is taken up to its first
// zero byte, as the platform's zero-terminated calls do.
std::wstring MultiByteToWide(UINT codePage, const std::string& text);
std::string WideToMultiByte(UINT codePage, const std::wstring& text);

inline std::wstring Utf8ToWide(const std::string& text) { return MultiByteToWide(CP_UTF8, text); }

// UTF-8 to the system's ANSI code page, by way of UTF-16.
std::string Utf8ToAnsi(const std::string& text);

// "6B29FC40-CA47-1067-B31D-00DD010662DA": upper-case hex, no braces.
std::string GuidToString(GUID guid);

}  // namespace korvanel
