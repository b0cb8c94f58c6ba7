#include "app/write_log.hpp"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <io.h>
#include <mutex>
#include <vector>

#include "app/log_format.hpp"

namespace korvanel {

namespace {

// Deliberately never destroyed: worker threads may still log while the
// process's static objects are being torn down.
struct LogState {
    std::mutex lock;
    std::wstring directoryOverride;  // guarded by lock
};
LogState& State() {
    static LogState* state = new LogState;
    return *state;
}

const wchar_t kFixedDirectory[] = L"C:\\Client_log\\";

void AppendLine(std::wstring_view message) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const LogTime t{now.wYear, now.wMonth,  now.wDay,         now.wHour,
                    now.wMinute, now.wSecond, now.wMilliseconds};
    const std::string bytes = LogLineBytes(t, GetCurrentThreadId(), message);

    LogState& state = State();
    // One lock around create-open-write-close: lines of concurrent callers
    // neither interleave nor overwrite each other.
    const std::lock_guard<std::mutex> hold(state.lock);
    const std::wstring directory =
        state.directoryOverride.empty() ? kFixedDirectory : state.directoryOverride;
    if (_waccess(directory.c_str(), 0) == -1) _wmkdir(directory.c_str());
    const std::wstring path = directory + LogFileName(t);
    // Binary append: the line already carries its CR LF ends.
    FILE* file = _wfopen(path.c_str(), L"ab");
    if (file == nullptr) return;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

}  // namespace

void WriteLog(const wchar_t* format, ...) {
    std::vector<wchar_t> buffer(512);
    for (;;) {
        va_list args;
        va_start(args, format);
        const int n = std::vswprintf(buffer.data(), buffer.size(), format, args);
        va_end(args);
        if (n >= 0 && static_cast<std::size_t>(n) < buffer.size()) {
            AppendLine(std::wstring_view(buffer.data(), static_cast<std::size_t>(n)));
            return;
        }
        // vswprintf does not say how much room it needs; grow until it fits.
        if (buffer.size() >= (1u << 20)) return;
        buffer.resize(buffer.size() * 4);
    }
}

void WriteLogText(std::wstring_view text) { AppendLine(text); }

std::wstring LogDirectory() {
    LogState& state = State();
    const std::lock_guard<std::mutex> hold(state.lock);
    return state.directoryOverride.empty() ? kFixedDirectory : state.directoryOverride;
}

void SetLogDirectoryForTesting(const std::wstring& directory) {
    LogState& state = State();
    const std::lock_guard<std::mutex> hold(state.lock);
    state.directoryOverride = directory;
}

}  // namespace korvanel
