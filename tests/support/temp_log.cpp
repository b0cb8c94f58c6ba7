#include "tests/support/temp_log.hpp"

#include <windows.h>

#include <cstdio>

#include "app/log_format.hpp"
#include "app/write_log.hpp"

namespace korvanel::testing {

std::string ReadTodaysLog(const std::wstring& directory) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const LogTime today{now.wYear, now.wMonth, now.wDay, 0, 0, 0, 0};
    std::string all;
    if (FILE* file = _wfopen((directory + LogFileName(today)).c_str(), L"rb")) {
        char chunk[4096];
        for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) all.append(chunk, n);
        std::fclose(file);
    }
    return all;
}

std::vector<std::string> LogMessages(const std::string& contents) {
    static const std::string marker = " DEBUG <>-";
    std::vector<std::string> messages;
    for (std::size_t from = 0; from < contents.size();) {
        std::size_t end = contents.find("\r\n", from);
        if (end == std::string::npos) end = contents.size();
        std::string line = contents.substr(from, end - from);
        const auto at = line.find(marker);
        if (at != std::string::npos) line = line.substr(at + marker.size());
        messages.push_back(line);
        from = end + 2;
    }
    return messages;
}

TempLog::TempLog() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    m_directory = std::wstring(base) + L"korvanel-log-" + std::to_wstring(GetCurrentProcessId()) +
                  L"-" + std::to_wstring(GetTickCount64()) + L"\\";
    SetLogDirectoryForTesting(m_directory);
}

TempLog::~TempLog() {
    SetLogDirectoryForTesting(L"");
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((m_directory + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            DeleteFileW((m_directory + found.cFileName).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(m_directory.c_str());
}

int TempLog::Find(const std::string& text) const {
    const auto lines = Lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find(text) != std::string::npos) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace korvanel::testing
