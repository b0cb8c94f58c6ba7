// The colour edit and static controls on the popup's own template.
#include "framework/dialog.hpp"
#include "popup/color_controls.hpp"
#include "res/resource.h"
#include "tests/framework/gui_util.hpp"

#include <gtest/gtest.h>

namespace {
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kLightBlue = RGB(216, 237, 248);

bool Alive(HGDIOBJ object) { return ::GetObjectType(object) != 0; }

COLORREF BrushColour(HBRUSH brush) {
    LOGBRUSH info{};
    ::GetObjectW(brush, sizeof info, &info);
    return info.lbColor;
}

// The popup's template with the colour controls attached, counting the
// focus notifications its edits send.
class CColourTestDlg : public CDialog {
public:
    CColourTestDlg() : CDialog(IDD_INFORMATION_DLG) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_COMMAND && HIWORD(wParam) == EN_SETFOCUS) ++focusNotifications;
        return CDialog::WindowProc(message, wParam, lParam);
    }
    CColorStaticST heading;
    CColorEditST title;
    CColorEditST info;
    int focusNotifications = 0;

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        heading.SubclassDlgItem(IDC_STATIC_HEADING, *this);
        heading.SetWindowText(L"Message Alerts");
        title.SubclassDlgItem(IDC_EDIT_TITLE, *this);
        title.SetWindowText(L"WWWW title");
        title.SetTextColor(kRed);
        info.SubclassDlgItem(IDC_EDIT_INFO, *this);
        info.SetWindowText(L"WWWW info");
        info.SetTextColor(kBlue);
        info.SetBkColor(kLightBlue);
        return TRUE;
    }
};

class ColorControls : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dialog.Create()); }
    HBRUSH Ask(UINT message, const CWnd& control, HDC dc) {
        return reinterpret_cast<HBRUSH>(::SendMessageW(dialog.GetSafeHwnd(), message,
                                                       reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(control.GetSafeHwnd())));
    }
    CColourTestDlg dialog;
    CMemDC dc{nullptr};
};

TEST(ColorControlsDefaults, ColoursAreTheSystemButtonColoursAtConstruction) {
    CColorStaticST text;
    CColorEditST edit;
    for (const CControlColors* c : {&text.Colors(), &edit.Colors()}) {
        EXPECT_EQ(c->TextColor(), ::GetSysColor(COLOR_BTNTEXT));
        EXPECT_EQ(c->BkColor(), ::GetSysColor(COLOR_BTNFACE));
        ASSERT_TRUE(Alive(c->Brush()));
        EXPECT_EQ(BrushColour(c->Brush()), ::GetSysColor(COLOR_BTNFACE));
    }
}

TEST_F(ColorControls, ReflectedRequestPutsTheControlsColoursIntoTheDc) {
    // Read-only edits ask with WM_CTLCOLORSTATIC, writable ones with WM_CTLCOLOREDIT.
    for (UINT message : {WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT}) {
        EXPECT_EQ(Ask(message, dialog.info, dc.get()), dialog.info.Colors().Brush());
        EXPECT_EQ(::GetTextColor(dc.get()), kBlue);
        EXPECT_EQ(::GetBkColor(dc.get()), kLightBlue);
    }
    EXPECT_EQ(Ask(WM_CTLCOLORSTATIC, dialog.heading, dc.get()), dialog.heading.Colors().Brush());
    EXPECT_EQ(::GetTextColor(dc.get()), ::GetSysColor(COLOR_BTNTEXT));
}

TEST_F(ColorControls, PaintedTextShowsTheSetColours) {
    dialog.ShowWindow(SW_SHOWNOACTIVATE);
    const auto title = gui_test::CaptureClient(dialog.title.GetSafeHwnd());
    EXPECT_GT(gui_test::CountColour(title, kRed), 20);
    const auto info = gui_test::CaptureClient(dialog.info.GetSafeHwnd());
    EXPECT_GT(gui_test::CountColour(info, kBlue), 20);
    EXPECT_GT(gui_test::CountColour(info, kLightBlue), 100) << "background from the control's brush";
}

TEST_F(ColorControls, SetBkColorTwiceLeavesOneBrushOfTheLastColour) {
    HBRUSH first = dialog.title.Colors().Brush();
    dialog.title.SetBkColor(RGB(1, 2, 3));
    HBRUSH second = dialog.title.Colors().Brush();
    dialog.title.SetBkColor(RGB(4, 5, 6));
    HBRUSH third = dialog.title.Colors().Brush();
    EXPECT_FALSE(Alive(first));
    EXPECT_FALSE(Alive(second));
    ASSERT_TRUE(Alive(third));
    EXPECT_EQ(BrushColour(third), RGB(4, 5, 6));
}

TEST_F(ColorControls, SettersRepaintTheControl) {
    dialog.ShowWindow(SW_SHOWNOACTIVATE);
    ::UpdateWindow(dialog.GetSafeHwnd());
    RECT update{};
    ASSERT_FALSE(::GetUpdateRect(dialog.title.GetSafeHwnd(), &update, FALSE));
    dialog.title.SetTextColor(kBlue);
    EXPECT_TRUE(::GetUpdateRect(dialog.title.GetSafeHwnd(), &update, FALSE));
    ::UpdateWindow(dialog.GetSafeHwnd());
    dialog.heading.SetBkColor(kRed);
    EXPECT_TRUE(::GetUpdateRect(dialog.heading.GetSafeHwnd(), &update, FALSE));
}

TEST_F(ColorControls, DestroyingTheWindowDeletesTheBrush) {
    HBRUSH edit = dialog.info.Colors().Brush();
    HBRUSH text = dialog.heading.Colors().Brush();
    ::DestroyWindow(dialog.GetSafeHwnd());
    EXPECT_FALSE(Alive(edit));
    EXPECT_FALSE(Alive(text));
    EXPECT_EQ(dialog.info.Colors().Brush(), nullptr);
}

TEST_F(ColorControls, FocusedEditShowsNoCaretAndTellsNoOne) {
    dialog.ShowWindow(SW_SHOW);
    ::SetForegroundWindow(dialog.GetSafeHwnd());
    ::SetFocus(dialog.info.GetSafeHwnd());
    EXPECT_EQ(::GetFocus(), dialog.info.GetSafeHwnd());
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    ASSERT_TRUE(::GetGUIThreadInfo(::GetCurrentThreadId(), &thread));
    EXPECT_EQ(thread.hwndCaret, nullptr) << "the edit never made its caret";
    EXPECT_EQ(dialog.focusNotifications, 0);
    // Tabbing in from the other edit behaves the same.
    ::SetFocus(dialog.title.GetSafeHwnd());
    ::SendMessageW(dialog.GetSafeHwnd(), WM_NEXTDLGCTL, 0, FALSE);
    ASSERT_TRUE(::GetGUIThreadInfo(::GetCurrentThreadId(), &thread));
    EXPECT_EQ(thread.hwndCaret, nullptr);
    EXPECT_EQ(dialog.focusNotifications, 0);
}

}  // namespace
