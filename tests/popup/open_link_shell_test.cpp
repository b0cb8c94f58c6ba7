// OpenCurrentLink through the real shell (ShellExecuteW), with link_recorder
// registered as the browser of this Wine prefix for the length of a test.
#include "popup/enter_link.hpp"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

std::wstring ThisExeFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

std::string ReadFile(const std::wstring& path) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string content;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) content.append(buffer, got);
    ::CloseHandle(file);
    return content;
}

// Makes `command` the "open" command of a URL scheme in HKCR and puts back
// what was there when it goes: a scheme it created is deleted whole, an
// existing one gets its previous command again. Restoring matters: the
// prefix outlives the test and its http handler is Wine's winebrowser.
class SchemeHandler {
public:
    SchemeHandler(std::wstring scheme, const std::wstring& command) : scheme_(std::move(scheme)) {
        HKEY root = nullptr;
        DWORD disposition = 0;
        if (::RegCreateKeyExW(HKEY_CLASSES_ROOT, scheme_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root,
                              &disposition) != ERROR_SUCCESS)
            return;
        createdScheme_ = disposition == REG_CREATED_NEW_KEY;
        if (createdScheme_) SetString(root, L"URL Protocol", L"");
        ::RegCloseKey(root);

        if (::RegCreateKeyExW(HKEY_CLASSES_ROOT, CommandKey().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &command_, nullptr) != ERROR_SUCCESS)
            return;
        DWORD type = 0, size = 0;
        if (::RegQueryValueExW(command_, nullptr, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
            previous_.emplace(size, 0);
            previousType_ = type;
            ::RegQueryValueExW(command_, nullptr, nullptr, nullptr, previous_->data(), &size);
            previous_->resize(size);
        }
        ok_ = SetString(command_, nullptr, command);
    }
    ~SchemeHandler() {
        if (createdScheme_) {
            if (command_) ::RegCloseKey(command_);
            ::RegDeleteTreeW(HKEY_CLASSES_ROOT, scheme_.c_str());
            return;
        }
        if (!command_) return;
        if (previous_)
            ::RegSetValueExW(command_, nullptr, 0, previousType_, previous_->data(),
                             static_cast<DWORD>(previous_->size()));
        else
            ::RegDeleteValueW(command_, nullptr);
        ::RegCloseKey(command_);
    }
    SchemeHandler(const SchemeHandler&) = delete;
    SchemeHandler& operator=(const SchemeHandler&) = delete;

    bool Ok() const { return ok_; }
    // What the shell will find, read back through a fresh key.
    std::wstring RegisteredCommand() const {
        wchar_t value[1024];
        DWORD size = sizeof value;
        if (::RegGetValueW(HKEY_CLASSES_ROOT, CommandKey().c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value,
                           &size) != ERROR_SUCCESS)
            return {};
        return value;
    }

private:
    std::wstring CommandKey() const { return scheme_ + L"\\shell\\open\\command"; }
    static bool SetString(HKEY key, const wchar_t* name, const std::wstring& text) {
        return ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }

    std::wstring scheme_;
    bool createdScheme_ = false;
    HKEY command_ = nullptr;
    std::optional<std::vector<BYTE>> previous_;
    DWORD previousType_ = REG_SZ;
    bool ok_ = false;
};

class OpenLinkThroughShell : public ::testing::Test {
protected:
    void SetUp() override {
        const std::wstring recorder = ThisExeFolder() + L"link_recorder.exe";
        ASSERT_NE(::GetFileAttributesW(recorder.c_str()), INVALID_FILE_ATTRIBUTES) << "link_recorder.exe not built";
        wchar_t temp[MAX_PATH];
        ASSERT_NE(::GetTempPathW(MAX_PATH, temp), 0u);
        record_ = std::wstring(temp) + L"korvanel-link-record-" + std::to_wstring(::GetCurrentProcessId()) + L".txt";
        ::DeleteFileW(record_.c_str());
        // The shell starts the handler with this process's environment.
        ASSERT_TRUE(::SetEnvironmentVariableW(L"KORVANEL_LINK_RECORD", record_.c_str()));

        command_ = L"\"" + recorder + L"\" \"%1\"";
        for (const wchar_t* scheme : {L"http", L"https"}) {
            handlers_.push_back(std::make_unique<SchemeHandler>(scheme, command_));
            ASSERT_TRUE(handlers_.back()->Ok()) << "registering the recorder for " << scheme;
            // Without our handler a faulty OpenCurrentLink could reach the
            // iexplore.exe fallback, and Wine's iexplore never exits.
            ASSERT_EQ(handlers_.back()->RegisteredCommand(), command_);
        }
        oldShell_ = SetShellOpen(nullptr);  // the real ShellExecuteW
    }
    void TearDown() override {
        SetShellOpen(oldShell_);
        handlers_.clear();
        ::SetEnvironmentVariableW(L"KORVANEL_LINK_RECORD", nullptr);
        ::DeleteFileW(record_.c_str());
        g_strCurrentLink.clear();
    }

    // Polls the record until it is `expected` (the recorder runs on its own,
    // started by the shell); bounded so a lost link fails instead of hanging.
    std::string WaitForRecord(const std::string& expected) const {
        std::string content;
        for (int i = 0; i < 200; ++i) {
            content = ReadFile(record_);
            if (content == expected) break;
            ::Sleep(50);
        }
        return content;
    }

    std::wstring record_;
    std::wstring command_;
    std::vector<std::unique_ptr<SchemeHandler>> handlers_;
    ShellOpen oldShell_ = nullptr;
};

TEST_F(OpenLinkThroughShell, RegisteredBrowserReceivesTheTrimmedLink) {
    g_strCurrentLink = L" \t http://example.com/a b?q=1&r=%22x%22 \r\n ";
    OpenCurrentLink(0);
    EXPECT_EQ(WaitForRecord("http://example.com/a b?q=1&r=%22x%22\n"),
              "http://example.com/a b?q=1&r=%22x%22\n");
}

TEST_F(OpenLinkThroughShell, HttpsInCapitalsReachesTheHttpsBrowser) {
    g_strCurrentLink = L"  HTTPS://example.com/caf\x00E9  ";
    OpenCurrentLink(0);
    EXPECT_EQ(WaitForRecord("HTTPS://example.com/caf\xC3\xA9\n"), "HTTPS://example.com/caf\xC3\xA9\n");
}

TEST_F(OpenLinkThroughShell, LinkWithAnotherSchemeStartsNothing) {
    // A handler for foo: that would record the link if it reached the shell.
    SchemeHandler foo(L"foo", command_);
    ASSERT_TRUE(foo.Ok());
    ASSERT_GT(reinterpret_cast<INT_PTR>(::ShellExecuteW(nullptr, L"open", L"foo:probe", nullptr, nullptr, SW_SHOWNORMAL)),
              32)
        << "the shell does not use the foo: handler, so this test would prove nothing";
    ASSERT_EQ(WaitForRecord("foo:probe\n"), "foo:probe\n");
    ASSERT_TRUE(::DeleteFileW(record_.c_str()));

    g_strCurrentLink = L" foo:bar ";
    OpenCurrentLink(0);
    // A web link opened afterwards is the only thing the recorder sees; a
    // foo:bar handed to the shell first would have been started first.
    g_strCurrentLink = L"http://example.com/after";
    OpenCurrentLink(0);
    EXPECT_EQ(WaitForRecord("http://example.com/after\n"), "http://example.com/after\n");
}

}  // namespace
