// WM_CTLCOLOR* reflected from the parent to the control object that owns the
// colours, with the parent's own handler running after the reflection.
#include "framework/controls.hpp"
#include "framework/dialog.hpp"
#include "framework/gdi.hpp"
#include "framework/messages.hpp"
#include "test_ids.h"
#include "tests/framework/gui_util.hpp"

#include <gtest/gtest.h>

namespace {
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 160, 0);

class CRedStatic : public CStatic {
public:
    CRedStatic() { brush.CreateSolidBrush(kGreen); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_REFLECT_CTLCOLOR:
            ++reflected;
            ::SetTextColor(HdcOf(wParam), kRed);
            ::SetBkColor(HdcOf(wParam), kGreen);
            return BrushResult(brush.get());
        }
        return CStatic::WindowProc(message, wParam, lParam);
    }
    CBrush brush;
    int reflected = 0;
};

class CColourDlg : public CDialog {
public:
    CColourDlg() : CDialog(IDD_TEST_DIALOG) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (IsCtlColorMessage(message))
            return BrushResult(OnCtlColor(HdcOf(wParam), HwndOf(lParam), CtlColorType(message)));
        return CDialog::WindowProc(message, wParam, lParam);
    }
    CRedStatic text;
    bool transparentText = false;
    COLORREF textColourSeenAfterReflection = CLR_INVALID;

protected:
    void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, IDC_TEST_STATIC, text); }

private:
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT type) {
        HBRUSH brush = CDialog::OnCtlColor(dc, control, type);  // reflection first
        textColourSeenAfterReflection = ::GetTextColor(dc);
        if (transparentText && ::GetDlgCtrlID(control) == IDC_TEST_STATIC) {
            ::SetBkMode(dc, TRANSPARENT);
            return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
        }
        return brush;
    }
};

HBRUSH AskColour(HWND dialog, HWND control, HDC dc) {
    return reinterpret_cast<HBRUSH>(::SendMessageW(
        dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
}

TEST(FrameworkReflection, TheControlAnswersItsParentsColourRequest) {
    CColourDlg dialog;
    ASSERT_TRUE(dialog.Create());
    CMemDC dc(nullptr);
    HBRUSH brush = AskColour(dialog.GetSafeHwnd(), dialog.text.GetSafeHwnd(), dc.get());
    EXPECT_EQ(dialog.text.reflected, 1);
    EXPECT_EQ(brush, dialog.text.brush.get());
    EXPECT_EQ(::GetTextColor(dc.get()), kRed);
    EXPECT_EQ(::GetBkColor(dc.get()), kGreen);
    EXPECT_EQ(dialog.textColourSeenAfterReflection, kRed) << "parent's handler runs after";
}

TEST(FrameworkReflection, ParentHandlerAfterReflectionHasTheLastWord) {
    CColourDlg dialog;
    dialog.transparentText = true;
    ASSERT_TRUE(dialog.Create());
    CMemDC dc(nullptr);
    HBRUSH brush = AskColour(dialog.GetSafeHwnd(), dialog.text.GetSafeHwnd(), dc.get());
    EXPECT_EQ(brush, ::GetStockObject(NULL_BRUSH));
    EXPECT_EQ(::GetBkMode(dc.get()), TRANSPARENT);
    EXPECT_EQ(::GetTextColor(dc.get()), kRed) << "the control's colour stays";
}

TEST(FrameworkReflection, ControlsWithoutAnObjectGetTheDefault) {
    CColourDlg dialog;
    ASSERT_TRUE(dialog.Create());
    CMemDC dc(nullptr);
    HWND edit = ::GetDlgItem(dialog.GetSafeHwnd(), IDC_TEST_EDIT);
    HBRUSH brush = AskColour(dialog.GetSafeHwnd(), edit, dc.get());
    EXPECT_NE(brush, nullptr);
    EXPECT_NE(brush, dialog.text.brush.get());
    EXPECT_EQ(dialog.text.reflected, 0);
}

TEST(FrameworkReflection, TheReflectedColourIsWhatThePaintedTextShows) {
    CColourDlg dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.ShowWindow(SW_SHOWNOACTIVATE);
    const auto pixels = gui_test::CaptureClient(dialog.text.GetSafeHwnd());
    EXPECT_GT(gui_test::CountColour(pixels, kRed), 20) << "text in the control's colour";
    EXPECT_GT(gui_test::CountColour(pixels, kGreen), 20) << "background from its brush";
}

}  // namespace
