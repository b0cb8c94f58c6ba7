#include "service_fixture.hpp"

#include <cstdio>
#include <cstring>

#include "../http/loopback_client.hpp"

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

}  // namespace korvanel::testing
