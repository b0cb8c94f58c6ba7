// DoModal: our own modal loop over a modeless-created dialog.
#include "framework/app.hpp"
#include "framework/dialog.hpp"
#include "res/resource.h"
#include "test_ids.h"

#include <gtest/gtest.h>

namespace {

// Runs the main template (visible), hides itself on a 1 ms timer as the
// main dialog does, then looks at its visibility a while later and ends.
class CHidingDlg : public CDialog {
public:
    CHidingDlg() : CDialog(IDD_KORVANEL_DIALOG) {}

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_TIMER:
            OnTimer(static_cast<UINT_PTR>(wParam));
            return 0;
        }
        return CDialog::WindowProc(message, wParam, lParam);
    }

    bool visibleAtFirstTick = false;
    bool visibleLater = true;
    bool ownerEnabledDuringLoop = true;
    HWND owner = nullptr;

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        ::SetTimer(m_hWnd, 1, 1, nullptr);
        return TRUE;
    }

private:
    void OnTimer(UINT_PTR id) {
        ::KillTimer(m_hWnd, id);
        if (id == 1) {
            visibleAtFirstTick = ::IsWindowVisible(m_hWnd);
            ShowWindow(SW_HIDE);
            ::SetTimer(m_hWnd, 2, 300, nullptr);
        } else {
            visibleLater = ::IsWindowVisible(m_hWnd);
            ownerEnabledDuringLoop = owner && ::IsWindowEnabled(owner);
            EndDialog(7);
        }
    }
};

TEST(FrameworkModal, AHiddenModalDialogStaysHidden) {
    CHidingDlg dialog;
    EXPECT_EQ(dialog.DoModal(), 7);
    EXPECT_TRUE(dialog.visibleAtFirstTick) << "the template is visible";
    EXPECT_FALSE(dialog.visibleLater) << "the loop must not show it again on idle";
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr) << "the window is destroyed when DoModal returns";
}

TEST(FrameworkModal, OwnerIsDisabledWhileTheLoopRunsAndEnabledAfter) {
    HWND owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                   nullptr, nullptr, nullptr, nullptr);
    CWnd ownerObject;
    ASSERT_TRUE(ownerObject.SubclassWindow(owner));
    // Owner given as the parent.
    struct COwned : CHidingDlg {
        explicit COwned(CWnd* parent) { m_pParentWnd = parent; }
    } owned(&ownerObject);
    owned.owner = owner;
    EXPECT_EQ(owned.DoModal(), 7);
    EXPECT_FALSE(owned.ownerEnabledDuringLoop);
    EXPECT_TRUE(::IsWindowEnabled(owner));
    ownerObject.UnsubclassWindow();
    ::DestroyWindow(owner);
}

// The About template is not visible: the loop shows it once idle.
class CShowOnIdleDlg : public CDialog {
public:
    CShowOnIdleDlg() : CDialog(IDD_ABOUTBOX) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_TIMER:
            // Idle may come late on a loaded machine: look again for a while.
            visibleAtTimer = ::IsWindowVisible(m_hWnd);
            if (visibleAtTimer || ++ticks == 100) {
                ::KillTimer(m_hWnd, 1);
                ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
            }
            return 0;
        }
        return CDialog::WindowProc(message, wParam, lParam);
    }
    bool visibleAtTimer = false;
    int ticks = 0;

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        ::SetTimer(m_hWnd, 1, 20, nullptr);
        return TRUE;
    }
};

TEST(FrameworkModal, AnInvisibleTemplateIsShownOnIdleAndClosedByWmClose) {
    CShowOnIdleDlg dialog;
    // WM_CLOSE -> default dialog processing -> IDCANCEL -> OnCancel.
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(dialog.visibleAtTimer);
}

TEST(FrameworkModal, OkButtonEndsWithIdOk) {
    class COkDlg : public CDialog {
    public:
        COkDlg() : CDialog(IDD_TEST_DIALOG) {}

    protected:
        BOOL OnInitDialog() override {
            CDialog::OnInitDialog();
            ::PostMessageW(::GetDlgItem(m_hWnd, IDOK), BM_CLICK, 0, 0);
            return TRUE;
        }
    } dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

TEST(FrameworkModal, MissingTemplateFailsWithMinusOne) {
    CDialog dialog(4242);
    EXPECT_EQ(dialog.DoModal(), -1);
}

TEST(FrameworkApp, WinMainRunsInitInstanceOfTheOneApplication) {
    struct CTestApp : CWinAppEx {
        BOOL InitInstance() override {
            ++calls;
            return FALSE;
        }
        int calls = 0;
    } app;
    EXPECT_EQ(AfxGetApp(), &app);
    EXPECT_EQ(AfxWinMain(), 0);
    EXPECT_EQ(app.calls, 1);
}

}  // namespace
