#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "service/alert_record.hpp"

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

// Points the log at a fresh directory of its own for the test's lifetime.
class TempLog {
public:
    TempLog();
    ~TempLog();
    TempLog(const TempLog&) = delete;
    TempLog& operator=(const TempLog&) = delete;

    const std::wstring& Directory() const { return m_directory; }
    // Today's lines, without their CR LF, without the prefix when `bare`.
    std::vector<std::string> Lines(bool bare = true) const;
    // Index of the first line containing `text`, or -1.
    int Find(const std::string& text) const;

private:
    std::wstring m_directory;
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

std::string Base64(const std::string& bytes);

}  // namespace korvanel::testing
