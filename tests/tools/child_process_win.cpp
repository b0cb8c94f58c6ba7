#include <windows.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "child_process.hpp"

namespace korvanel::send::testing {

namespace {

std::wstring wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), out.data(), n);
    return out;
}

std::string narrow(const std::wstring& text) {
    std::string out;
    for (const wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

// Quoted so that CommandLineToArgvW (and the CRT's wmain) gives `arg` back:
// backslashes double only where they precede a quote.
std::wstring quote(const std::wstring& arg) {
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

class handle {
public:
    explicit handle(HANDLE h) : h_(h) {}
    ~handle() {
        if (h_ != INVALID_HANDLE_VALUE && h_ != nullptr) CloseHandle(h_);
    }
    handle(const handle&) = delete;
    handle& operator=(const handle&) = delete;
    HANDLE get() const { return h_; }

private:
    HANDLE h_;
};

std::wstring temp_file(const wchar_t* stem) {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + stem + std::to_wstring(GetCurrentProcessId()) + L".txt";
}

handle inheritable_file(const std::wstring& name) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    return handle(CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::string slurp(const std::wstring& name) {
    std::ifstream in(name.c_str(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return std::move(text).str();
}

}  // namespace

child_result run_korvanel_send(const std::vector<std::string>& args) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring relative(self);
    relative.resize(relative.find_last_of(L"\\/") + 1);
    relative += wide(korvanel_send_relative());
    // CreateProcessW wants a plain path: no "..", no forward slashes.
    for (auto& c : relative) c = c == L'/' ? L'\\' : c;
    wchar_t full[MAX_PATH];
    GetFullPathNameW(relative.c_str(), MAX_PATH, full, nullptr);
    const std::wstring exe(full);

    std::wstring command = quote(exe);
    for (const auto& arg : args) command += L" " + quote(wide(arg));

    const std::wstring out_name = temp_file(L"korvanel-send-out-");
    const std::wstring err_name = temp_file(L"korvanel-send-err-");
    child_result result;
    {
        const handle out = inheritable_file(out_name);
        const handle err = inheritable_file(err_name);
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = nullptr;
        si.hStdOutput = out.get();
        si.hStdError = err.get();
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                            nullptr, &si, &pi)) {
            throw std::runtime_error("cannot start " + narrow(exe) + ": error " +
                                     std::to_string(GetLastError()));
        }
        const handle process(pi.hProcess);
        const handle thread(pi.hThread);
        WaitForSingleObject(process.get(), INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(process.get(), &code);
        result.exit_code = static_cast<int>(code);
    }
    result.out = slurp(out_name);
    result.err = slurp(err_name);
    DeleteFileW(out_name.c_str());
    DeleteFileW(err_name.c_str());
    return result;
}

}  // namespace korvanel::send::testing
