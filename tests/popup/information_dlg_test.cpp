// The popup window driven the way the main window and the user drive it.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "popup/alert_popup.hpp"
#include "popup/enter_link.hpp"
#include "res/resource.h"
#include "tests/framework/gui_util.hpp"
#include "tests/support/temp_log.hpp"

namespace {

using korvanel::AlertRecord;

AlertRecord Alert(const std::wstring& title, const std::wstring& link = L"") {
    AlertRecord a;
    a.Title = title;
    a.HasTitle = title.empty() ? 0 : 1;
    a.Info = L"text of " + title;
    a.Link = link;
    a.HasLink = link.empty() ? 0 : 1;
    a.FunctionGuid = "guid";
    return a;
}

std::wstring Text(HWND window) {
    wchar_t buffer[512] = {};
    ::GetWindowTextW(window, buffer, 512);
    return buffer;
}

// One popup per test, its log in a directory of its own.
class PopupTest : public ::testing::Test {
protected:
    void TearDown() override { DestroyPopup(); }

    HWND Popup() const { return g_pInformationDlg ? g_pInformationDlg->GetSafeHwnd() : nullptr; }
    HWND Item(int id) const { return ::GetDlgItem(Popup(), id); }
    std::wstring Counter() const { return Text(Item(IDC_STATIC_PAGE)); }
    std::wstring Title() const { return Text(Item(IDC_EDIT_TITLE)); }
    void Click(int id) const {
        ::SendMessageW(Popup(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(Item(id)));
    }
    // Stops the real timers so a test can tick them itself.
    void StopTimers() const {
        for (UINT id : {10u, 11u, 12u}) ::KillTimer(Popup(), id);
    }
    void Tick(UINT id) const { ::SendMessageW(Popup(), WM_TIMER, id, 0); }

    korvanel::testing::TempLog m_log;
};

TEST_F(PopupTest, FirstAlertCreatesThePopupShowingIt) {
    ShowNewAlert(Alert(L"one", L"http://example.com/a"));
    ASSERT_NE(Popup(), nullptr);
    EXPECT_TRUE(::IsWindowVisible(Popup()));
    EXPECT_EQ(Counter(), L"1/1");
    EXPECT_EQ(Title(), L"one");
    EXPECT_TRUE(::IsWindowVisible(Item(IDC_EDIT_TITLE)));
    EXPECT_EQ(Text(Item(IDC_EDIT_INFO)), L"text of one");
    EXPECT_EQ(Text(Item(IDC_STATIC_HEADING)), L"Message Alerts");
    EXPECT_EQ(g_strCurrentLink, L"http://example.com/a");
    ASSERT_NE(g_pInformationDlg->Link().hwnd, nullptr);
    EXPECT_TRUE(::IsWindowVisible(g_pInformationDlg->Link().hwnd));
    EXPECT_TRUE(::GetWindowLongW(Popup(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(PopupTest, EmptyTitleAndLinkAreHiddenUntilAnAlertHasThem) {
    ShowNewAlert(Alert(L"", L""));
    EXPECT_FALSE(::IsWindowVisible(Item(IDC_EDIT_TITLE)));
    EXPECT_FALSE(::IsWindowVisible(g_pInformationDlg->Link().hwnd));
    ShowNewAlert(Alert(L"titled", L"https://example.com/"));
    EXPECT_TRUE(::IsWindowVisible(Item(IDC_EDIT_TITLE)));
    EXPECT_TRUE(::IsWindowVisible(g_pInformationDlg->Link().hwnd));
    ShowNewAlert(Alert(L"no link"));
    EXPECT_FALSE(::IsWindowVisible(g_pInformationDlg->Link().hwnd));
    EXPECT_EQ(g_strCurrentLink, L"");
}

TEST_F(PopupTest, ButtonsPageAndLogAndANewAlertJumpsToTheEnd) {
    for (const wchar_t* t : {L"one", L"two", L"three"}) ShowNewAlert(Alert(t, L"http://x/" + std::wstring(t)));
    EXPECT_EQ(Counter(), L"3/3");
    Click(IDC_BUTTON_PRE);
    Click(IDC_BUTTON_PRE);
    EXPECT_EQ(Counter(), L"1/3");
    EXPECT_EQ(Title(), L"one");
    EXPECT_EQ(g_strCurrentLink, L"http://x/one");
    Click(IDC_BUTTON_PRE);
    EXPECT_EQ(Counter(), L"1/3");
    Click(IDC_BUTTON_NE);
    Click(IDC_BUTTON_NE);
    Click(IDC_BUTTON_NE);  // at the end: nothing but its Begin line
    EXPECT_EQ(Counter(), L"3/3");
    EXPECT_EQ(m_log.Lines(), (std::vector<std::string>{
                              "OnBnClickedButtonPre=======Begin=====",
                              "OnBnClickedButtonPre====2/3========",
                              "OnBnClickedButtonPre=======Begin=====",
                              "OnBnClickedButtonPre====1/3========",
                              "OnBnClickedButtonPre=======Begin=====",
                              "OnBnClickedButtonPre====1/3========",
                              "OnBnClickedButtonNe=======Begin=====",
                              "OnBnClickedButtonNe====2/3========",
                              "OnBnClickedButtonNe=======Begin=====",
                              "OnBnClickedButtonNe====3/3========",
                              "OnBnClickedButtonNe=======Begin=====",
                          }));
    Click(IDC_BUTTON_PRE);
    Click(IDC_BUTTON_PRE);
    ShowNewAlert(Alert(L"four"));
    EXPECT_EQ(Counter(), L"4/4");
    EXPECT_EQ(Title(), L"four");
}

TEST_F(PopupTest, CloseForgetsEverythingAndTheNextAlertStartsOver) {
    for (const UINT how : {0u, 1u}) {  // the close button, then WM_CLOSE
        ShowNewAlert(Alert(L"one"));
        ShowNewAlert(Alert(L"two"));
        const HWND old = Popup();
        if (how == 0) {
            Click(IDC_BUTTON_CLOSE);
        } else {
            ::SendMessageW(old, WM_CLOSE, 0, 0);
        }
        EXPECT_EQ(g_pInformationDlg, nullptr);
        EXPECT_FALSE(::IsWindow(old));
        ShowNewAlert(Alert(L"again"));
        EXPECT_EQ(Counter(), L"1/1");
        DestroyPopup();
    }
}

// Mend: Escape hides a modeless dialog; the next alert must be seen.
TEST_F(PopupTest, AlertAfterEscapeShowsThePopupAgain) {
    ShowNewAlert(Alert(L"one"));
    ::SendMessageW(Popup(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ASSERT_FALSE(::IsWindowVisible(Popup()));
    ShowNewAlert(Alert(L"two"));
    EXPECT_TRUE(::IsWindowVisible(Popup()));
    EXPECT_EQ(Counter(), L"2/2");
}

TEST_F(PopupTest, RisesHoldsSinksAndForgets) {
    ShowNewAlert(Alert(L"one"));
    StopTimers();
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT r{};
    ::GetWindowRect(Popup(), &r);
    const int width = r.right - r.left, height = r.bottom - r.top;

    const auto& motion = g_pInformationDlg->Motion();
    ASSERT_TRUE(motion.has_value());
    EXPECT_EQ(motion->Height(), height);
    for (int i = 0; i < 200 && motion->Rise() <= height + 5; ++i) Tick(10);
    Tick(10);  // the rise is over: the hold starts
    ::GetWindowRect(Popup(), &r);
    EXPECT_EQ(r.left, work.right - work.left - width - 5);
    EXPECT_EQ(r.bottom - r.top, height);
    EXPECT_GT(work.bottom - work.top - r.bottom, 5);
    EXPECT_LE(work.bottom - work.top - r.bottom, 10);

    Tick(12);  // five minutes later
    for (int i = 0; i < 200 && !g_pInformationDlg->Alerts().Empty(); ++i) Tick(11);
    EXPECT_TRUE(g_pInformationDlg->Alerts().Empty());
    ::GetWindowRect(Popup(), &r);
    EXPECT_LE(r.bottom - r.top, 0);  // no visible area left

    // Mend: paging the emptied window reads nothing and changes nothing.
    Click(IDC_BUTTON_PRE);
    Click(IDC_BUTTON_NE);
    EXPECT_EQ(Counter(), L"1/1");

    ShowNewAlert(Alert(L"later"));
    EXPECT_EQ(Counter(), L"1/1");
    EXPECT_EQ(Title(), L"later");
    StopTimers();
    Tick(10);
    ::GetWindowRect(Popup(), &r);
    EXPECT_EQ(r.top, work.bottom - work.top);  // rising from the bottom again
}

TEST_F(PopupTest, TextsStandOnTheFaceAndTheWindowCannotBeDragged) {
    ShowNewAlert(Alert(L"one", L"http://x/"));
    HDC dc = ::GetDC(Popup());
    for (const int id : {IDC_STATIC_HEADING, IDC_EDIT_INFO, IDC_EDIT_TITLE, IDC_STATIC_LINK, IDC_STATIC_PAGE}) {
        const UINT message = id == IDC_EDIT_INFO || id == IDC_EDIT_TITLE ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
        ::SetBkMode(dc, OPAQUE);
        const auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(
            Popup(), message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Item(id))));
        EXPECT_EQ(brush, ::GetStockObject(NULL_BRUSH)) << id;
        EXPECT_EQ(::GetBkMode(dc), TRANSPARENT) << id;
    }
    // The information edit's own colours still reach the device context.
    ::SendMessageW(Popup(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(Item(IDC_EDIT_INFO)));
    EXPECT_EQ(::GetTextColor(dc), RGB(0, 0, 255));
    ::ReleaseDC(Popup(), dc);

    RECT r{};
    ::GetWindowRect(Popup(), &r);
    const LRESULT hit = ::SendMessageW(Popup(), WM_NCHITTEST, 0, MAKELPARAM(r.left + 50, r.top + 50));
    EXPECT_NE(hit, HTCAPTION);
}

TEST_F(PopupTest, EnglishFonts) {
    ShowNewAlert(Alert(L"one"));
    struct row {
        int id;
        LONG height;
    };
    for (const row r : {row{IDC_STATIC_HEADING, 18}, row{IDC_EDIT_TITLE, 17}, row{IDC_EDIT_INFO, 15}}) {
        const auto font = reinterpret_cast<HFONT>(::SendMessageW(Item(r.id), WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr) << r.id;
        LOGFONTW info{};
        ::GetObjectW(font, sizeof info, &info);
        EXPECT_EQ(info.lfHeight, r.height) << r.id;
        EXPECT_EQ(info.lfWeight, FW_BOLD) << r.id;
        EXPECT_STREQ(info.lfFaceName, L"Arial") << r.id;
    }
}

}  // namespace
