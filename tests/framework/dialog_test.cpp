// Dialog dispatch: message map, chaining, the dialog-procedure result rules,
// control binding and the life of the window.
#include "framework/app.hpp"
#include "framework/controls.hpp"
#include "framework/dialog.hpp"
#include "framework/messages.hpp"
#include "test_ids.h"
#include "tests/framework/gui_util.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {
constexpr UINT WM_TEST_ANSWER = WM_APP + 1;
constexpr UINT WM_TEST_UNHANDLED = WM_APP + 2;

class CProbeDlg : public CDialog {
public:
    CProbeDlg() : CDialog(IDD_TEST_DIALOG) {}

    // Message map.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        seen.push_back(message);
        switch (message) {
        case WM_TEST_ANSWER:
            return OnAnswer(static_cast<int>(wParam));
        case WM_QUERYDRAGICON:
            return reinterpret_cast<LRESULT>(dragIcon);
        case WM_COMMAND:
            if (IsClicked(wParam, IDC_TEST_BUTTON)) return OnButtonClicked(), 0;
            break;
        }
        return CDialog::WindowProc(message, wParam, lParam);
    }

    std::vector<UINT> seen;
    int clicks = 0;
    int initCalls = 0;
    HICON dragIcon = ::LoadIconW(nullptr, MAKEINTRESOURCEW(32515));  // IDI_WARNING;
    CEdit edit;
    CStatic text;

protected:
    BOOL OnInitDialog() override {
        ++initCalls;
        seenFontBeforeInit = !seen.empty() && seen.front() == WM_SETFONT;
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Control(dx, IDC_TEST_EDIT, edit);
        DDX_Control(dx, IDC_TEST_STATIC, text);
    }

public:
    bool seenFontBeforeInit = false;

private:
    LRESULT OnAnswer(int question) { return question * 2; }
    void OnButtonClicked() { ++clicks; }
};

TEST(FrameworkDialog, CreateRunsInitDialogAndBindsControls) {
    CProbeDlg dialog;
    ASSERT_TRUE(dialog.Create());
    HWND window = dialog.GetSafeHwnd();
    EXPECT_EQ(dialog.initCalls, 1);
    EXPECT_TRUE(dialog.seenFontBeforeInit) << "messages before WM_INITDIALOG reach the object";
    EXPECT_EQ(dialog.edit.GetSafeHwnd(), ::GetDlgItem(window, IDC_TEST_EDIT));
    EXPECT_EQ(dialog.text.GetSafeHwnd(), ::GetDlgItem(window, IDC_TEST_STATIC));
    EXPECT_EQ(CWnd::FromHandlePermanent(window), &dialog);
    EXPECT_EQ(CWnd::FromHandlePermanent(dialog.edit.GetSafeHwnd()), &dialog.edit);
    // A second exchange does not bind again.
    EXPECT_TRUE(dialog.UpdateData(false));
    EXPECT_EQ(dialog.edit.GetSafeHwnd(), ::GetDlgItem(window, IDC_TEST_EDIT));
}

TEST(FrameworkDialog, HandlerResultsFollowTheDialogProcedureRules) {
    CProbeDlg dialog;
    ASSERT_TRUE(dialog.Create());
    HWND window = dialog.GetSafeHwnd();
    // An ordinary message's result travels through DWLP_MSGRESULT...
    EXPECT_EQ(::SendMessageW(window, WM_TEST_ANSWER, 21, 0), 42);
    // ...one of the direct-return messages comes back as returned.
    EXPECT_EQ(::SendMessageW(window, WM_QUERYDRAGICON, 0, 0),
              reinterpret_cast<LRESULT>(dialog.dragIcon));
}

TEST(FrameworkDialog, UnmappedMessagesGetTheDialogDefaults) {
    CProbeDlg dialog;
    ASSERT_TRUE(dialog.Create());
    HWND window = dialog.GetSafeHwnd();
    ::SetWindowTextW(window, L"new caption");
    EXPECT_EQ(dialog.GetWindowText(), L"new caption");
    EXPECT_EQ(::SendMessageW(window, WM_TEST_UNHANDLED, 0, 0), 0);
    // DM_GETDEFID is answered by the built-in dialog processing only.
    EXPECT_EQ(LOWORD(::SendMessageW(window, DM_GETDEFID, 0, 0)), IDOK);
    // WM_CTLCOLORDLG without a handler: the default brush, not null.
    HDC dc = ::GetDC(window);
    EXPECT_NE(::SendMessageW(window, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                             reinterpret_cast<LPARAM>(window)),
              0);
    ::ReleaseDC(window, dc);
}

TEST(FrameworkDialog, ControlNotificationsReachTheirHandler) {
    CProbeDlg dialog;
    ASSERT_TRUE(dialog.Create());
    HWND button = ::GetDlgItem(dialog.GetSafeHwnd(), IDC_TEST_BUTTON);
    ::SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(dialog.clicks, 1);
}

TEST(FrameworkDialog, ModelessWithoutParentIsOwnedByTheMainWindow) {
    CWinAppEx app;
    CProbeDlg main;
    ASSERT_TRUE(main.Create());
    app.m_pMainWnd = &main;
    CProbeDlg popup;
    ASSERT_TRUE(popup.Create());
    EXPECT_EQ(::GetWindow(popup.GetSafeHwnd(), GW_OWNER), main.GetSafeHwnd());
    EXPECT_EQ(::GetParent(popup.GetSafeHwnd()), main.GetSafeHwnd());
}

TEST(FrameworkDialog, WindowDestroyedFirstDetachesTheObjects) {
    CProbeDlg dialog;
    ASSERT_TRUE(dialog.Create());
    HWND window = dialog.GetSafeHwnd();
    HWND edit = dialog.edit.GetSafeHwnd();
    ::DestroyWindow(window);
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
    EXPECT_EQ(dialog.edit.GetSafeHwnd(), nullptr);
    EXPECT_FALSE(::IsWindow(edit));
}

TEST(FrameworkDialog, ObjectDestroyedFirstDestroysItsWindow) {
    HWND window = nullptr;
    {
        CProbeDlg dialog;
        ASSERT_TRUE(dialog.Create());
        window = dialog.GetSafeHwnd();
    }
    EXPECT_FALSE(::IsWindow(window));
}

TEST(FrameworkDialog, ControlObjectGoneFirstGivesTheWindowItsOwnProcedureBack) {
    CProbeDlg dialog;
    ASSERT_TRUE(dialog.Create());
    HWND text = ::GetDlgItem(dialog.GetSafeHwnd(), IDC_TEST_STATIC);
    dialog.text.UnsubclassWindow();
    {
        CStatic temporary;
        ASSERT_TRUE(temporary.SubclassDlgItem(IDC_TEST_STATIC, dialog));
        EXPECT_FALSE(CStatic().SubclassWindow(text)) << "one object per window";
    }
    EXPECT_EQ(CWnd::FromHandlePermanent(text), nullptr);
    ::SetWindowTextW(text, L"still works");  // would go through a dangling object
    wchar_t buffer[32]{};
    ::GetWindowTextW(text, buffer, 32);
    EXPECT_STREQ(buffer, L"still works");
}

}  // namespace
