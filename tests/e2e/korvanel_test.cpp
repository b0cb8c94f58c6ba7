// korvanel.exe end to end: one instance, hidden main window, autostart
// value, alerts from the network into the popup, the log, and its end.
#include <windows.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/http/loopback_client.hpp"
#include "tests/support/temp_log.hpp"

namespace {

using namespace std::chrono_literals;

const wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// The build gives Unix paths; Wine sees the Unix root as drive Z:.
std::wstring WindowsPath(const char* unixPath) {
    std::wstring path = L"Z:";
    for (const char* p = unixPath; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    return path;
}
std::wstring ExePath() { return WindowsPath(KORVANEL_EXE); }

template <class Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds limit = 15s) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

std::vector<HWND> WindowsOf(DWORD pid) {
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{pid, {}};
    ::EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == s->pid) s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// WM_GETTEXT itself: GetWindowText does not ask another process's edits.
std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                          5000, &ignored);
    return text;
}

HWND MainWindowOf(DWORD pid) {
    for (HWND w : WindowsOf(pid)) {
        if (TextOf(w) == L"Korvanel") return w;
    }
    return nullptr;
}

// The "Click to enter" label: the popup's one child that is no dialog item.
bool VisibleLinkLabel(HWND popup) {
    for (HWND child = ::GetWindow(popup, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(child) == 0 && ::IsWindowVisible(child)) return true;
    }
    return false;
}

HWND PopupOf(DWORD pid) {
    for (HWND w : WindowsOf(pid)) {
        if (::GetDlgItem(w, 228)) return w;
    }
    return nullptr;
}

// One POST on a fresh connection; the whole reply.
std::string Post(const std::string& body) {
    return korvanel::http::testing::exchange(8086, "POST / HTTP/1.0\r\n\r\n" + body);
}

bool Listening() {
    try {
        korvanel::http::testing::loopback_client probe(8086);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// A running korvanel.exe; ended through its main window at the end.
class Korvanel {
public:
    Korvanel() {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        std::wstring command = L"\"" + ExePath() + L"\"";
        m_started = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                     nullptr, &si, &m_process) != 0;
    }
    ~Korvanel() {
        if (!m_started) return;
        if (Running()) {
            if (HWND main = MainWindowOf(Pid())) ::PostMessageW(main, WM_CLOSE, 0, 0);
            if (::WaitForSingleObject(m_process.hProcess, 10000) != WAIT_OBJECT_0) {
                ::TerminateProcess(m_process.hProcess, 99);
            }
        }
        ::CloseHandle(m_process.hThread);
        ::CloseHandle(m_process.hProcess);
    }
    Korvanel(const Korvanel&) = delete;
    Korvanel& operator=(const Korvanel&) = delete;

    bool Started() const { return m_started; }
    DWORD Pid() const { return m_process.dwProcessId; }
    bool Running() const { return ::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT; }
    DWORD WaitExit(DWORD ms) const {
        if (::WaitForSingleObject(m_process.hProcess, ms) != WAIT_OBJECT_0) return STILL_ACTIVE;
        DWORD code = 0;
        ::GetExitCodeProcess(m_process.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION m_process{};
    bool m_started = false;
};

class KorvanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(Listening()) << "something already listens on 8086";
        ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kRunKey, L"Korvanel");
    }
};

TEST_F(KorvanelTest, RunsHiddenAndTurnsPostsIntoAlerts) {
    Korvanel app;
    ASSERT_TRUE(app.Started());
    ASSERT_TRUE(WaitFor(Listening));
    ASSERT_TRUE(WaitFor([&] { return MainWindowOf(app.Pid()) != nullptr; }));
    const HWND main = MainWindowOf(app.Pid());
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(main); })) << "main window stays hidden";
    EXPECT_EQ(PopupOf(app.Pid()), nullptr);

    const std::string title = "E2E " + std::to_string(::GetTickCount());
    const std::string reply =
        Post(R"({"MsgType":"Notification","Title":")" + title + R"(","Info":"first"})");
    EXPECT_EQ(reply.substr(0, 15), "HTTP/1.0 200 OK");
    ASSERT_TRUE(WaitFor([&] { return PopupOf(app.Pid()) != nullptr; }));
    const HWND popup = PopupOf(app.Pid());
    // Found while it is being created; shown once initialised.
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(popup) != FALSE; }));
    EXPECT_EQ(TextOf(::GetDlgItem(popup, 228)), L"1/1");
    EXPECT_EQ(TextOf(::GetDlgItem(popup, 222)), std::wstring(title.begin(), title.end()));

    Post(R"({"MsgType":"Notification","Title":"second","Info":"\u4f60\u597d"})");
    EXPECT_TRUE(WaitFor([&] { return TextOf(::GetDlgItem(popup, 228)) == L"2/2"; }));
    EXPECT_EQ(TextOf(::GetDlgItem(popup, 221)), L"\u4f60\u597d");

    EXPECT_EQ(TextOf(::GetDlgItem(popup, 220)), L"Message Alerts");
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(popup, 222)));
    EXPECT_FALSE(VisibleLinkLabel(popup)) << "no link, no label";

    // Risen into the work area's bottom-right corner, topmost.
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int baseLine = work.bottom - work.top;
    RECT r{};
    EXPECT_TRUE(WaitFor([&] {  // from its template place, through the rise, to the hold
        ::GetWindowRect(popup, &r);
        return r.bottom <= baseLine - 5 && r.bottom >= baseLine - 10;
    }));
    EXPECT_EQ(r.left, work.right - work.left - (r.right - r.left) - 5);
    EXPECT_TRUE(::GetWindowLongW(popup, GWL_EXSTYLE) & WS_EX_TOPMOST);

    // Previous, as the user's click would send it.
    ::SendMessageW(popup, WM_COMMAND, MAKEWPARAM(226, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(popup, 226)));
    EXPECT_EQ(TextOf(::GetDlgItem(popup, 228)), L"1/2");

    // A link shows the label; the close button forgets everything and the
    // next alert makes a new popup.
    Post(R"({"MsgType":"Notification","Title":"linked","Link":"aHR0cDovL2V4YW1wbGUuY29tLw=="})");
    EXPECT_TRUE(WaitFor([&] { return TextOf(::GetDlgItem(popup, 228)) == L"3/3"; }));
    EXPECT_TRUE(WaitFor([&] { return VisibleLinkLabel(popup); }));
    ::SendMessageW(popup, WM_COMMAND, MAKEWPARAM(225, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(popup, 225)));
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(popup); }));
    Post(R"({"MsgType":"Notification","Title":"after close"})");
    ASSERT_TRUE(WaitFor([&] { return PopupOf(app.Pid()) != nullptr; }));
    const HWND second = PopupOf(app.Pid());
    EXPECT_TRUE(WaitFor([&] { return TextOf(::GetDlgItem(second, 228)) == L"1/1"; }));

    // The day's log has the service's start and the message.
    const std::string all = korvanel::testing::ReadTodaysLog(L"C:\\Client_log\\");
    EXPECT_NE(all.find("DEBUG <>-CHttpServerObject\r\n"), std::string::npos);
    EXPECT_NE(all.find("Http Msg is {\"MsgType\":\"Notification\",\"Title\":\"" + title), std::string::npos);
    EXPECT_NE(all.find("OnBnClickedButtonPre====1/2========"), std::string::npos);
    EXPECT_NE(all.find("Http Msg is {\"MsgType\":\"Notification\",\"Title\":\"after close\"}"),
              std::string::npos);

    // Closing the main window ends the program.
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(app.WaitExit(15000), 0u);
}

// The sender's tool, as an administrator would use it on the workstation.
TEST_F(KorvanelTest, KorvanelSendDeliversAnAlert) {
    Korvanel app;
    ASSERT_TRUE(WaitFor(Listening));
    std::wstring command = L"\"" + WindowsPath(KORVANEL_SEND_EXE) +
                           L"\" --title \"Disk \\\"C:\\\" full\" --info \"\u670d\u52a1\u5668 22:00\" "
                           L"--link https://example.com/t?id=42";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &si, &pi));
    ASSERT_EQ(::WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0);
    DWORD code = 99;
    ::GetExitCodeProcess(pi.hProcess, &code);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    EXPECT_EQ(code, 0u);

    ASSERT_TRUE(WaitFor([&] { return PopupOf(app.Pid()) != nullptr; }));
    const HWND popup = PopupOf(app.Pid());
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(popup) != FALSE; }));
    EXPECT_EQ(TextOf(::GetDlgItem(popup, 222)), L"Disk \"C:\" full");
    EXPECT_EQ(TextOf(::GetDlgItem(popup, 221)), L"\u670d\u52a1\u5668 22:00");
}

TEST_F(KorvanelTest, OneInstancePerMachine) {
    Korvanel first;
    ASSERT_TRUE(WaitFor(Listening));
    Korvanel second;
    ASSERT_TRUE(second.Started());
    EXPECT_EQ(second.WaitExit(10000), 0u);
    EXPECT_TRUE(WindowsOf(second.Pid()).empty());
    EXPECT_TRUE(first.Running());
}

TEST_F(KorvanelTest, RegistersAutostartOnlyWhenAbsent) {
    {
        Korvanel app;
        ASSERT_TRUE(WaitFor(Listening));
        DWORD type = 0;
        wchar_t data[MAX_PATH * 2] = {};
        DWORD size = sizeof data;
        ASSERT_EQ(::RegGetValueW(HKEY_LOCAL_MACHINE, kRunKey, L"Korvanel",
                                 RRF_RT_ANY | RRF_NOEXPAND, &type, data, &size),
                  ERROR_SUCCESS);
        EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
        EXPECT_EQ(_wcsicmp(data, ExePath().c_str()), 0) << data;
    }
    ASSERT_TRUE(WaitFor([] { return !Listening(); }));

    const wchar_t other[] = L"C:\\elsewhere\\korvanel.exe";
    ASSERT_EQ(::RegSetKeyValueW(HKEY_LOCAL_MACHINE, kRunKey, L"Korvanel", REG_SZ, other, sizeof other),
              ERROR_SUCCESS);
    {
        Korvanel app;
        ASSERT_TRUE(WaitFor(Listening));
        DWORD type = 0;
        wchar_t data[MAX_PATH * 2] = {};
        DWORD size = sizeof data;
        ::RegGetValueW(HKEY_LOCAL_MACHINE, kRunKey, L"Korvanel", RRF_RT_ANY, &type, data, &size);
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        EXPECT_STREQ(data, other);
    }
    ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kRunKey, L"Korvanel");
}

}  // namespace
