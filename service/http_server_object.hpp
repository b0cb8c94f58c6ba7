#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "http/limits.hpp"
#include "http/server.hpp"
#include "service/thread.hpp"

namespace korvanel {

struct ServiceOptions {
    std::string port = "8086";
    http::ph_limits limits;
    DWORD listenRetryMs = 5000;  // while the port can't be had
    DWORD loopRestartMs = 1000;  // after the event loop failed
};

// The notification service: owns the receiver, the receiver thread and the
// dispatcher thread, and hands every notification to the main window as a
// synchronous WM_NEW_ALERT.
class CHttpServerObject {
public:
    explicit CHttpServerObject(HWND hMainWnd, ServiceOptions options = {});
    // Stops both threads first (see Shutdown).
    ~CHttpServerObject();
    CHttpServerObject(const CHttpServerObject&) = delete;
    CHttpServerObject& operator=(const CHttpServerObject&) = delete;

    // One dispatch pass: at most one queued body, on the dispatcher thread.
    void GetCommand();

    // Stops the threads and waits up to `waitMs` for each. A thread that
    // does not end in time (a dispatcher blocked in a send to a window that
    // no longer pumps) is abandoned with everything it uses, never freed
    // under it. Also runs by itself when the process exits.
    void Shutdown(DWORD waitMs = 2000);

    // The receiver once it listens, else null. Any thread.
    http::ph_http_server* Receiver() const { return m_pHttpServer.load(); }
    unsigned short ListeningPort() const;
    bool ThreadsFinished() const;
    const ServiceOptions& Options() const { return m_options; }

    // Receiver thread side: creates the receiver (logging the first failure
    // and the eventual success) and runs its loop once, logging a failure.
    bool Listen(bool firstAttempt);
    bool RunReceiverOnce(http::ph_http_server& receiver);

private:
    std::unique_ptr<CGetCommandThread> m_pGetCommandThread;
    std::unique_ptr<CHttpServerThread> m_pHttpServerThread;
    std::atomic<http::ph_http_server*> m_pHttpServer{nullptr};
    std::unique_ptr<http::ph_http_server> m_receiver;  // owns *m_pHttpServer
    HWND m_hMainWnd;
    const ServiceOptions m_options;
    bool m_bListenFailed = false;  // receiver thread after construction
};

}  // namespace korvanel
