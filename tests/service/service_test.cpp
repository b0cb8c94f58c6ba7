#include <winsock2.h>
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "app/write_log.hpp"
#include "service/http_server_object.hpp"
#include "service_fixture.hpp"

namespace korvanel {
namespace {

using namespace std::chrono_literals;
using testing::AlertWindow;
using testing::Post;
using testing::TempLog;

const std::string kNotification = R"({"MsgType":"Notification","Title":"t"})";

// Holds a TCP port on all IPv4 interfaces, the way another program would.
class PortHolder {
public:
    PortHolder() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        m_socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in any{};
        any.sin_family = AF_INET;
        bind(m_socket, reinterpret_cast<sockaddr*>(&any), sizeof any);
        listen(m_socket, 1);
        int length = sizeof any;
        getsockname(m_socket, reinterpret_cast<sockaddr*>(&any), &length);
        m_port = ntohs(any.sin_port);
    }
    ~PortHolder() {
        Release();
        WSACleanup();
    }
    void Release() {
        if (m_socket != INVALID_SOCKET) closesocket(m_socket);
        m_socket = INVALID_SOCKET;
    }
    unsigned short Port() const { return m_port; }

private:
    SOCKET m_socket = INVALID_SOCKET;
    unsigned short m_port = 0;
};

TEST(Service, StartsLoggingThenListening) {
    TempLog log;
    AlertWindow window;
    ServiceOptions options;
    options.port = "0";
    CHttpServerObject service(window.Handle(), options);
    EXPECT_NE(service.ListeningPort(), 0);
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"CHttpServerObject"});
    ASSERT_EQ(Post(service.ListeningPort(), kNotification).substr(0, 15), "HTTP/1.0 200 OK");
    EXPECT_TRUE(window.WaitForAlerts(1));
}

TEST(Service, ListensOnTheNotifiersPortByDefault) {
    TempLog log;
    AlertWindow window;
    CHttpServerObject service(window.Handle());
    EXPECT_EQ(service.ListeningPort(), 8086);
}

// Mend: a port that can't be had used to throw out of the constructor and
// take the whole program down.
TEST(Service, KeepsTryingForABusyPortAndSaysSoOnce) {
    TempLog log;
    AlertWindow window;
    PortHolder holder;
    ServiceOptions options;
    options.port = std::to_string(holder.Port());
    options.listenRetryMs = 100;
    CHttpServerObject service(window.Handle(), options);
    EXPECT_EQ(service.ListeningPort(), 0);
    window.Pump(450ms);  // several attempts

    holder.Release();
    for (int i = 0; i < 100 && service.ListeningPort() == 0; ++i) window.Pump(20ms);
    ASSERT_EQ(service.ListeningPort(), holder.Port());
    ASSERT_EQ(Post(service.ListeningPort(), kNotification).substr(0, 15), "HTTP/1.0 200 OK");
    EXPECT_TRUE(window.WaitForAlerts(1));

    const auto lines = log.Lines();
    ASSERT_EQ(lines.size(), 4u) << ::testing::PrintToString(lines);
    EXPECT_EQ(lines[0], "CHttpServerObject");
    EXPECT_EQ(lines[1].rfind("HTTP receiver could not listen on port " + options.port + ": ", 0), 0u)
        << lines[1];
    EXPECT_EQ(lines[2], "HTTP receiver now listening on port " + options.port);
    EXPECT_EQ(lines[3], "Http Msg is " + kNotification);
}

// Mend: an exception out of the event loop used to end the receiver thread.
TEST(Service, EventLoopFailureIsLoggedAndTheLoopRunsAgain) {
    TempLog log;
    AlertWindow window;
    ServiceOptions options;
    options.port = "0";
    options.loopRestartMs = 50;
    CHttpServerObject service(window.Handle(), options);
    service.Receiver()->post([] { throw std::runtime_error("injected failure"); });
    window.Pump(200ms);

    ASSERT_EQ(Post(service.ListeningPort(), kNotification).substr(0, 15), "HTTP/1.0 200 OK");
    EXPECT_TRUE(window.WaitForAlerts(1));
    EXPECT_GE(log.Find("HTTP receiver event loop failed: injected failure"), 0);
}

// An unwritable log must not cost a single alert.
TEST(Service, UnwritableLogLeavesAlertsFlowing) {
    SetLogDirectoryForTesting(L"C:\\korvanel-no-such-parent\\nested\\");
    AlertWindow window;
    ServiceOptions options;
    options.port = "0";
    CHttpServerObject service(window.Handle(), options);
    ASSERT_EQ(Post(service.ListeningPort(), kNotification).substr(0, 15), "HTTP/1.0 200 OK");
    ASSERT_TRUE(window.WaitForAlerts(1));
    EXPECT_EQ(window.Alerts()[0].record.Title, L"t");
    EXPECT_EQ(GetFileAttributesW(L"C:\\korvanel-no-such-parent"), INVALID_FILE_ATTRIBUTES);
    SetLogDirectoryForTesting(L"");
}

// Mend: the worker threads are stopped before the process's static objects
// are destroyed. The probe checks from an exit hook that runs after ours.
TEST(Service, ProcessEndStopsTheWorkersBeforeStaticTeardown) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring probe(self);
    probe = probe.substr(0, probe.find_last_of(L"\\/") + 1) + L"service_exit_probe.exe";
    for (int run = 0; run < 3; ++run) {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        std::wstring command = L"\"" + probe + L"\"";
        ASSERT_TRUE(CreateProcessW(probe.c_str(), command.data(), nullptr, nullptr, FALSE, 0,
                                   nullptr, nullptr, &si, &pi));
        ASSERT_EQ(WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0);
        DWORD code = 99;
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        EXPECT_EQ(code, 0u) << "run " << run << " (3: workers still running at teardown)";
    }
}

}  // namespace
}  // namespace korvanel
