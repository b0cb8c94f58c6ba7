#include "service_fixture.hpp"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "../http/loopback_client.hpp"
#include "app/log_format.hpp"
#include "app/write_log.hpp"

namespace korvanel::testing {

namespace {
const wchar_t kClassName[] = L"KorvanelTestAlertWindow";
}

AlertWindow::AlertWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &AlertWindow::WndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);  // fails harmlessly when already registered
    m_hWnd = CreateWindowExW(0, kClassName, L"alerts", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                             nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

AlertWindow::~AlertWindow() {
    if (m_hWnd) DestroyWindow(m_hWnd);
}

LRESULT CALLBACK AlertWindow::WndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NEW_ALERT) {
        auto* self = reinterpret_cast<AlertWindow*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        const auto* record = reinterpret_cast<const AlertRecord*>(lParam);
        if (self && record) {
            self->m_alerts.push_back({*record, GetCurrentThreadId(), std::chrono::steady_clock::now()});
        }
        return 0;
    }
    return DefWindowProcW(hWnd, msg, wParam, lParam);
}

bool AlertWindow::WaitForAlerts(std::size_t count, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (m_alerts.size() < count) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) return false;
        Pump(10ms);
    }
    return true;
}

void AlertWindow::Pump(std::chrono::milliseconds span) {
    const auto deadline = std::chrono::steady_clock::now() + span;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) return;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left.count()) + 1,
                                  QS_ALLINPUT);
    }
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

std::vector<std::string> TempLog::Lines(bool bare) const {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const LogTime t{now.wYear, now.wMonth, now.wDay, 0, 0, 0, 0};
    std::vector<std::string> lines;
    FILE* file = _wfopen((m_directory + LogFileName(t)).c_str(), L"rb");
    if (!file) return lines;
    std::string all;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) all.append(chunk, n);
    std::fclose(file);
    for (std::size_t from = 0; from < all.size();) {
        std::size_t end = all.find("\r\n", from);
        if (end == std::string::npos) end = all.size();
        std::string line = all.substr(from, end - from);
        if (bare) {
            const auto marker = line.find(" DEBUG <>-");
            if (marker != std::string::npos) line = line.substr(marker + 10);
        }
        lines.push_back(line);
        from = end + 2;
    }
    return lines;
}

int TempLog::Find(const std::string& text) const {
    const auto lines = Lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find(text) != std::string::npos) return static_cast<int>(i);
    }
    return -1;
}

DebugOutputListener::DebugOutputListener() {
    InitializeCriticalSection(&m_lock);
    m_mutex = CreateMutexW(nullptr, FALSE, L"DBWinMutex");
    m_bufferReady = CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_BUFFER_READY");
    m_dataReady = CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY");
    m_mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096,
                                   L"DBWIN_BUFFER");
    m_view = MapViewOfFile(m_mapping, FILE_MAP_READ, 0, 0, 4096);
    m_thread = CreateThread(nullptr, 0, &DebugOutputListener::Loop, this, 0, nullptr);
}

DebugOutputListener::~DebugOutputListener() {
    InterlockedExchange(&m_stop, 1);
    SetEvent(m_dataReady);
    WaitForSingleObject(m_thread, 5000);
    CloseHandle(m_thread);
    UnmapViewOfFile(m_view);
    CloseHandle(m_mapping);
    CloseHandle(m_dataReady);
    CloseHandle(m_bufferReady);
    CloseHandle(m_mutex);
    DeleteCriticalSection(&m_lock);
}

DWORD WINAPI DebugOutputListener::Loop(void* param) {
    auto* self = static_cast<DebugOutputListener*>(param);
    for (;;) {
        SetEvent(self->m_bufferReady);
        if (WaitForSingleObject(self->m_dataReady, INFINITE) != WAIT_OBJECT_0) return 0;
        if (InterlockedCompareExchange(&self->m_stop, 0, 0)) return 0;
        const auto* buffer = static_cast<const char*>(self->m_view);
        DWORD pid;
        std::memcpy(&pid, buffer, sizeof pid);
        if (pid != GetCurrentProcessId()) continue;
        const char* text = buffer + sizeof pid;
        const std::string s(text, strnlen(text, 4096 - sizeof pid));
        EnterCriticalSection(&self->m_lock);
        self->m_texts.push_back(s);
        LeaveCriticalSection(&self->m_lock);
    }
}

std::vector<std::string> DebugOutputListener::Texts() {
    EnterCriticalSection(&m_lock);
    auto copy = m_texts;
    LeaveCriticalSection(&m_lock);
    return copy;
}

std::string Post(unsigned short port, const std::string& body, const std::string& method) {
    return http::testing::exchange(port, method + " / HTTP/1.0\r\nHost: pc\r\n\r\n" + body);
}

std::string Base64(const std::string& bytes) {
    static const char alphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) |
                           (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                           static_cast<unsigned char>(bytes[i + 2]);
        out += {alphabet[v >> 18], alphabet[(v >> 12) & 63], alphabet[(v >> 6) & 63], alphabet[v & 63]};
    }
    if (i + 1 == bytes.size()) {
        const unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        out += {alphabet[v >> 18], alphabet[(v >> 12) & 63], '=', '='};
    } else if (i + 2 == bytes.size()) {
        const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) |
                           (static_cast<unsigned char>(bytes[i + 1]) << 8);
        out += {alphabet[v >> 18], alphabet[(v >> 12) & 63], alphabet[(v >> 6) & 63], '='};
    }
    return out;
}

}  // namespace korvanel::testing
