#include "app/log_format.hpp"

#include <cstdio>

namespace korvanel {

std::wstring LogFileName(const LogTime& t) {
    return std::to_wstring(t.year) + L'_' + std::to_wstring(t.month) + L'_' +
           std::to_wstring(t.day) + L"_log.txt";
}

std::string LogLinePrefix(const LogTime& t, std::uint32_t threadId) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%d-%02d-%02d %02d:%02d:%02d,%03d [%lu] DEBUG <>-",
                  t.year, t.month, t.day, t.hour, t.minute, t.second, t.milliseconds,
                  static_cast<unsigned long>(threadId));
    return buffer;
}

std::string LogLineBytes(const LogTime& t, std::uint32_t threadId, std::wstring_view message) {
    std::string line = LogLinePrefix(t, threadId);
    line.reserve(line.size() + message.size() + 2);
    for (const wchar_t c : message) {
        if (c == L'\n') {
            line += "\r\n";
        } else if (static_cast<std::uint32_t>(c) <= 0xFF) {
            line.push_back(static_cast<char>(static_cast<unsigned char>(c)));
        } else {
            line.push_back('?');
        }
    }
    line += "\r\n";
    return line;
}

}  // namespace korvanel
