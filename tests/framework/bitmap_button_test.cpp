// Owner-drawn bitmap buttons: faces by state, sized to the bitmap.
#include "framework/bitmap_button.hpp"
#include "framework/dialog.hpp"
#include "res/resource.h"
#include "test_ids.h"
#include "tests/framework/gui_util.hpp"

#include <gtest/gtest.h>

namespace {

class CButtonDlg : public CDialog {
public:
    CButtonDlg() : CDialog(IDD_TEST_DIALOG) {}
    CBitmapButton button;

protected:
    void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, IDC_TEST_BUTTON, button); }
};

struct FaceCase {
    UINT normal, selected;
    int size;
};

void PrintTo(const FaceCase& c, std::ostream* os) { *os << "bitmap " << c.normal; }

class FrameworkBitmapButton : public ::testing::TestWithParam<FaceCase> {};

TEST_P(FrameworkBitmapButton, SizedToItsFaceAndDrawsTheFaceOfItsState) {
    const FaceCase c = GetParam();
    CButtonDlg dialog;
    ASSERT_TRUE(dialog.Create());
    ASSERT_TRUE(dialog.button.LoadBitmaps(c.normal, c.selected));
    dialog.button.SizeToContent();
    RECT rect{};
    ::GetWindowRect(dialog.button.GetSafeHwnd(), &rect);
    EXPECT_EQ(rect.right - rect.left, c.size);
    EXPECT_EQ(rect.bottom - rect.top, c.size);

    dialog.ShowWindow(SW_SHOWNOACTIVATE);
    HWND button = dialog.button.GetSafeHwnd();
    const auto normal = gui_test::BitmapPixels(dialog.button.FaceFor(0).get());
    const auto selected = gui_test::BitmapPixels(dialog.button.FaceFor(ODS_SELECTED).get());
    ASSERT_NE(normal, selected);
    ::InvalidateRect(button, nullptr, TRUE);
    EXPECT_EQ(gui_test::CaptureClient(button), normal);
    ::SendMessageW(button, BM_SETSTATE, TRUE, 0);  // pressed
    ::InvalidateRect(button, nullptr, TRUE);
    EXPECT_EQ(gui_test::CaptureClient(button), selected);
    ::SendMessageW(button, BM_SETSTATE, FALSE, 0);
    ::InvalidateRect(button, nullptr, TRUE);
    EXPECT_EQ(gui_test::CaptureClient(button), normal);
}

INSTANTIATE_TEST_SUITE_P(Faces, FrameworkBitmapButton,
                         ::testing::Values(FaceCase{IDB_CLOSE, IDB_CLOSE_SEL, 24},
                                           FaceCase{IDB_PRE, IDB_PRE_SEL, 16},
                                           FaceCase{IDB_NE, IDB_NE_SEL, 16}),
                         [](const auto& info) { return "Bitmap" + std::to_string(info.param.normal); });

TEST(FrameworkBitmapButtonFaces, MissingFacesFallBackToNormal) {
    CBitmapButton button;
    ASSERT_TRUE(button.LoadBitmaps(IDB_PRE));
    const CBitmap& normal = button.FaceFor(0);
    EXPECT_EQ(&button.FaceFor(ODS_SELECTED), &normal);
    EXPECT_EQ(&button.FaceFor(ODS_FOCUS | ODS_DISABLED), &normal);
    EXPECT_FALSE(button.LoadBitmaps(4242)) << "no such bitmap";
}

}  // namespace
