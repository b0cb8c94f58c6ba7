// Ends its process with the service busy and reports, from an exit hook that
// runs after the service's own, whether the worker threads were stopped.
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include <boost/asio/connect.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/write.hpp>

#include "app/write_log.hpp"
#include "service/http_server_object.hpp"

namespace {

korvanel::CHttpServerObject* g_service = nullptr;

void CheckAtExit() {
    // Exit hooks run last-registered first: this one was registered before
    // the service existed, so the service's shutdown has run already.
    if (g_service && !g_service->ThreadsFinished()) _exit(3);
}

LRESULT CALLBACK WndProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }

}  // namespace

int main() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    korvanel::SetLogDirectoryForTesting(std::wstring(temp) + L"korvanel-exit-probe\\");
    std::atexit(CheckAtExit);

    WNDCLASSW wc{};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KorvanelExitProbe";
    RegisterClassW(&wc);
    const HWND window = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 1, 1, nullptr, nullptr,
                                        wc.hInstance, nullptr);

    korvanel::ServiceOptions options;
    options.port = "0";
    // Never destroyed, as in the notifier: only the exit path stops it.
    g_service = std::make_unique<korvanel::CHttpServerObject>(window, options).release();
    const unsigned short port = g_service->ListeningPort();

    // Keep both workers busy up to the very end.
    std::thread([port] {
        for (;;) {
            try {
                boost::asio::io_context io;
                boost::asio::ip::tcp::socket s(io);
                s.connect({boost::asio::ip::make_address_v4("127.0.0.1"), port});
                const std::string req =
                    "POST / HTTP/1.0\r\n\r\n{\"MsgType\":\"Notification\",\"Title\":\"x\"}";
                boost::asio::write(s, boost::asio::buffer(req));
            } catch (...) {
            }
        }
    }).detach();

    const DWORD until = GetTickCount() + 300;
    while (GetTickCount() < until) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(5);
    }
    DestroyWindow(window);
    return 0;  // static teardown begins with the workers running
}
