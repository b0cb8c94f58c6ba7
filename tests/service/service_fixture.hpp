#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "service/alert_record.hpp"
#include "tests/support/temp_log.hpp"

namespace korvanel::testing {

using namespace std::chrono_literals;

// A hidden window that keeps a copy of every WM_NEW_ALERT it receives, the
// way the main window does.
class AlertWindow {
public:
    AlertWindow();
    ~AlertWindow();
    AlertWindow(const AlertWindow&) = delete;
    AlertWindow& operator=(const AlertWindow&) = delete;

    HWND Handle() const { return m_hWnd; }

    struct Received {
        AlertRecord record;
        DWORD threadId;
        std::chrono::steady_clock::time_point at;
    };
    const std::vector<Received>& Alerts() const { return m_alerts; }

    // Pumps messages until `count` alerts arrived or `limit` passed.
    bool WaitForAlerts(std::size_t count, std::chrono::milliseconds limit = 10s);
    // Pumps messages for `span`.
    void Pump(std::chrono::milliseconds span);

private:
    static LRESULT CALLBACK WndProc(HWND, UINT, WPARAM, LPARAM);
    HWND m_hWnd = nullptr;
    std::vector<Received> m_alerts;
};

// Collects this process's OutputDebugStringA texts through the DBWIN
// buffer, as a debugger-less monitor does.
class DebugOutputListener {
public:
    DebugOutputListener();
    ~DebugOutputListener();
    DebugOutputListener(const DebugOutputListener&) = delete;
    DebugOutputListener& operator=(const DebugOutputListener&) = delete;

    std::vector<std::string> Texts();

private:
    static DWORD WINAPI Loop(void* self);
    HANDLE m_mutex = nullptr;
    HANDLE m_bufferReady = nullptr;
    HANDLE m_dataReady = nullptr;
    HANDLE m_mapping = nullptr;
    void* m_view = nullptr;
    HANDLE m_thread = nullptr;
    volatile LONG m_stop = 0;
    CRITICAL_SECTION m_lock;
    std::vector<std::string> m_texts;
};

// POSTs `body` to 127.0.0.1:port and returns the whole reply.
std::string Post(unsigned short port, const std::string& body, const std::string& method = "POST");


}  // namespace korvanel::testing
