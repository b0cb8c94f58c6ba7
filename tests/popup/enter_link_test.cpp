// The popup's "Click to enter" label and OpenCurrentLink.
#include "framework/dialog.hpp"
#include "popup/enter_link.hpp"
#include "res/resource.h"
#include "tests/framework/gui_util.hpp"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace {

// ---- language table ----

struct LanguageCase {
    const char* name;
    LANGID language;
    const wchar_t* face;
    const wchar_t* text;
    int width;
};

const LanguageCase kLanguages[] = {
    {"EnglishUS", MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), L"Arial", L"Click to enter", 80},
    {"German", MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), L"Arial", L"Click to enter", 80},
    {"Neutral", MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), L"Arial", L"Click to enter", 80},
    {"ChineseSimplified", 0x0804, L"\x5B8B\x4F53", L"\x70B9\x51FB\x8FDB\x5165", 50},
    {"ChineseTraditional", 0x0404, L"\x5B8B\x9AD4", L"\x9EDE\x64CA\x9032\x5165", 80},
    {"ChineseHongKong", 0x0C04, nullptr, nullptr, 0},
    {"ChineseSingapore", 0x1004, nullptr, nullptr, 0},
};

void PrintTo(const LanguageCase& c, std::ostream* os) { *os << c.name; }

class EnterLinkLanguage : public ::testing::TestWithParam<LanguageCase> {
protected:
    void SetUp() override {
        ASSERT_TRUE(popup.Create());
        popup.ShowWindow(SW_SHOWNOACTIVATE);
    }
    CDialog popup{IDD_INFORMATION_DLG};
    LinkLabel label;
};

TEST_P(EnterLinkLanguage, LabelFollowsTheLanguageTable) {
    const LanguageCase c = GetParam();
    SetupEnterLink(popup.GetSafeHwnd(), label, c.language);
    if (!c.face) {
        EXPECT_EQ(label.hwnd, nullptr) << "no label for other Chinese";
        return;
    }
    ASSERT_NE(label.hwnd, nullptr);
    EXPECT_STREQ(label.text.get(), c.text);
    LOGFONTW font{};
    ::GetObjectW(label.font.get(), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, c.face);
    EXPECT_EQ(font.lfHeight, 12);
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    EXPECT_TRUE(font.lfUnderline);

    // At the placeholder's corner, 20 high, width by language.
    RECT place{}, rect{};
    ::GetWindowRect(::GetDlgItem(popup.GetSafeHwnd(), IDC_STATIC_LINK), &place);
    ::GetWindowRect(label.hwnd, &rect);
    EXPECT_EQ(rect.left, place.left);
    EXPECT_EQ(rect.top, place.top);
    EXPECT_EQ(rect.right - rect.left, c.width);
    EXPECT_EQ(rect.bottom - rect.top, 20);
    EXPECT_EQ(::GetDlgCtrlID(label.hwnd), 0);

    EXPECT_EQ(label.normalColour, RGB(0, 0, 255));
    EXPECT_EQ(label.hoverColour, RGB(0, 0, 255));
    EXPECT_FALSE(label.hasBackground);
    EXPECT_TRUE(label.useCursor);
    EXPECT_EQ(label.cursor, ::LoadCursorW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_CURSOR_LINK)));
    EXPECT_EQ(label.clickAction, &OpenCurrentLink);
}

TEST_P(EnterLinkLanguage, ARepeatedSetupLeavesOnlyTheNewLabel) {
    const LanguageCase c = GetParam();
    SetupEnterLink(popup.GetSafeHwnd(), label, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    HWND earlier = label.hwnd;
    HFONT earlierFont = label.font.get();
    ASSERT_TRUE(::IsWindow(earlier));
    SetupEnterLink(popup.GetSafeHwnd(), label, c.language);
    EXPECT_FALSE(::IsWindow(earlier));
    EXPECT_EQ(::GetObjectType(earlierFont), 0u);
    EXPECT_EQ(gui_test::CountChildren(popup.GetSafeHwnd()), c.face ? 11 : 10);
}

INSTANTIATE_TEST_SUITE_P(Table, EnterLinkLanguage, ::testing::ValuesIn(kLanguages),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- OpenCurrentLink ----

struct ShellCall {
    std::wstring file, parameters;
    bool operator==(const ShellCall&) const = default;
};
std::vector<ShellCall> g_calls;
std::vector<std::wstring> g_log;
INT_PTR g_firstResult = 33;

INT_PTR RecordShell(const wchar_t* file, const wchar_t* parameters) {
    g_calls.push_back({file ? file : L"(null)", parameters ? parameters : L"(null)"});
    return g_calls.size() == 1 ? g_firstResult : 42;
}
void RecordLog(std::wstring_view line) { g_log.emplace_back(line); }

class OpenLink : public ::testing::Test {
protected:
    void SetUp() override {
        g_calls.clear();
        g_log.clear();
        g_firstResult = 33;
        oldShell = SetShellOpen(&RecordShell);
        oldLog = SetLinkLog(&RecordLog);
    }
    void TearDown() override {
        SetShellOpen(oldShell);
        SetLinkLog(oldLog);
        g_strCurrentLink.clear();
    }
    static void Open(const std::wstring& link) {
        g_strCurrentLink = link;
        OpenCurrentLink(0);
    }
    ShellOpen oldShell = nullptr;
    LinkLog oldLog = nullptr;
};

TEST_F(OpenLink, TrimsInPlaceAndOpensTheTrimmedLink) {
    Open(L" \t\r\nhttp://example.com/a b\x3000 \n");
    EXPECT_EQ(g_strCurrentLink, L"http://example.com/a b");
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0], (ShellCall{L"http://example.com/a b", L"(null)"}));
    EXPECT_TRUE(g_log.empty());
}

TEST_F(OpenLink, BlankLinkDoesNothing) {
    for (const wchar_t* blank : {L"", L"   ", L"\t\r\n "}) {
        Open(blank);
        EXPECT_EQ(g_strCurrentLink, L"");
    }
    EXPECT_TRUE(g_calls.empty());
    EXPECT_TRUE(g_log.empty());
}

TEST_F(OpenLink, WebAddressesOfEitherSchemeInAnyCaseAreOpened) {
    for (const wchar_t* link : {L"http://a.example", L"HTTPS://a.example/x?y=1", L"hTtP://10.0.0.1:8080/"}) {
        g_calls.clear();
        Open(link);
        ASSERT_EQ(g_calls.size(), 1u) << link;
        EXPECT_EQ(g_calls[0].file, link);
    }
    EXPECT_TRUE(g_log.empty());
}

TEST_F(OpenLink, AnythingElseIsNotOpenedAndLeavesOneLogLine) {
    const wchar_t* refused[] = {
        L"C:\\Windows\\System32\\calc.exe", L"calc.exe", L"\\\\server\\share\\x.exe",
        L"file:///C:/Windows/notepad.exe", L"ftp://example.com/", L"mailto:a@example.com",
        L"javascript:alert(1)", L"http:example.com", L"http:/example.com", L"http://",
        L"http:///etc/passwd", L"https:\\\\server\\share", L"xhttp://example.com",
        L"http://example.com/\"--new-window", L"http://example.com/\x0001", L"http://a\x007F.example",
    };
    for (const wchar_t* link : refused) {
        g_log.clear();
        Open(link);
        EXPECT_EQ(g_log.size(), 1u) << "refusal of " << testing::PrintToString(std::wstring(link));
    }
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(OpenLink, NoAssociationFallsBackToIexploreWithOneQuotedArgument) {
    g_firstResult = SE_ERR_NOASSOC;
    Open(L"  https://example.com/a b  ");
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[0], (ShellCall{L"https://example.com/a b", L"(null)"}));
    EXPECT_EQ(g_calls[1], (ShellCall{L"iexplore.exe", L"\"https://example.com/a b\""}));
}

TEST_F(OpenLink, OtherShellResultsEndTheAction) {
    for (INT_PTR result : {INT_PTR{0}, INT_PTR{2}, INT_PTR{5}, INT_PTR{30}, INT_PTR{32}, INT_PTR{33}}) {
        g_calls.clear();
        g_firstResult = result;
        Open(L"http://example.com");
        EXPECT_EQ(g_calls.size(), 1u) << "result " << result;
    }
    EXPECT_TRUE(g_log.empty());
}

TEST_F(OpenLink, ClickingThePopupsLabelOpensTheCurrentLink) {
    CDialog popup(IDD_INFORMATION_DLG);
    ASSERT_TRUE(popup.Create());
    LinkLabel label;
    SetupEnterLink(popup.GetSafeHwnd(), label, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    g_strCurrentLink = L" http://example.com/page ";
    ::SendMessageW(label.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].file, L"http://example.com/page");
}

}  // namespace
