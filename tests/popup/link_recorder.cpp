// A stand-in browser for tests: registered as a URL handler, it appends each
// argument it was given, as a UTF-8 line, to the file named by
// KORVANEL_LINK_RECORD, and exits at once (unlike Wine's own browsers).
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {
std::string Utf8(const wchar_t* text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string out(size - 1, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    return out;
}
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetEnvironmentVariableW(L"KORVANEL_LINK_RECORD", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 2;

    int count = 0;
    wchar_t** args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!args) return 3;
    std::string lines;
    for (int i = 1; i < count; ++i) lines += Utf8(args[i]) + "\n";
    ::LocalFree(args);

    // One write, so a reader never sees half a record from this process.
    const HANDLE file = ::CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 4;
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == lines.size() ? 0 : 5;
}
