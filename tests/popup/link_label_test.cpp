// The self-drawn link label: creation checks and steps, painting, cursor,
// hover tracking and the click.
#include "framework/dialog.hpp"
#include "popup/link_label.hpp"
#include "res/resource.h"
#include "tests/framework/gui_util.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {
constexpr COLORREF kNormal = RGB(0, 0, 255);
constexpr COLORREF kHover = RGB(255, 0, 0);

int g_clicks = 0;
int g_lastArgument = -1;
void RecordClick(int argument) {
    ++g_clicks;
    g_lastArgument = argument;
}

class LinkLabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(parent.Create());
        parent.ShowWindow(SW_SHOWNOACTIVATE);
        ::UpdateWindow(parent.GetSafeHwnd());
        g_clicks = 0;
        g_lastArgument = -1;
        params.parent = parent.GetSafeHwnd();
        params.id = 0;
        params.x = 20;
        params.y = 30;
        params.width = 80;
        params.height = 20;
        params.face = L"Arial";
        params.fontHeight = 12;
        params.underline = 1;
        params.normalColour = kNormal;
        params.hoverColour = kHover;
        params.useCursor = 1;
        params.cursor = ::LoadCursorW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_CURSOR_LINK));
        params.clickAction = &RecordClick;
        params.text = text.c_str();
    }
    POINT ScreenCentre() const {
        RECT rect{};
        ::GetWindowRect(label.hwnd, &rect);
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    CDialog parent{IDD_INFORMATION_DLG};
    std::wstring text = L"Click to enter";
    LinkLabelParams params{};
    LinkLabel label;
};

TEST_F(LinkLabelTest, CreatesTheWindowAndFillsTheRecord) {
    ASSERT_TRUE(CreateLinkLabel(params, label));
    ASSERT_TRUE(::IsWindow(label.hwnd));
    EXPECT_EQ(::GetParent(label.hwnd), parent.GetSafeHwnd());
    wchar_t cls[16]{};
    ::GetClassNameW(label.hwnd, cls, 16);
    EXPECT_STREQ(cls, L"Static");
    EXPECT_EQ(::GetWindowLongPtrW(label.hwnd, GWL_STYLE) & (WS_CHILD | WS_VISIBLE | SS_NOTIFY),
              WS_CHILD | WS_VISIBLE);
    EXPECT_EQ(::GetPropW(label.hwnd, L"CLASSPOINTER"), &label);
    EXPECT_EQ(::GetWindowLongPtrW(label.hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&LinkLabelWndProc));
    RECT rect{};
    ::GetWindowRect(label.hwnd, &rect);
    ::MapWindowPoints(HWND_DESKTOP, parent.GetSafeHwnd(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 20);
    EXPECT_EQ(rect.top, 30);
    EXPECT_EQ(rect.right - rect.left, 80);
    EXPECT_EQ(rect.bottom - rect.top, 20);

    LOGFONTW font{};
    ASSERT_TRUE(::GetObjectW(label.font.get(), sizeof font, &font));
    EXPECT_EQ(font.lfHeight, 12);
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    EXPECT_TRUE(font.lfUnderline);
    EXPECT_STREQ(font.lfFaceName, L"Arial");
    EXPECT_EQ(font.lfCharSet, DEFAULT_CHARSET);

    text = L"changed";  // the label keeps its own copy
    EXPECT_STREQ(label.text.get(), L"Click to enter");
    EXPECT_EQ(label.lastHoverState, -1);
    EXPECT_EQ(label.hovering, 0);
    EXPECT_FALSE(label.hasBackground);
    EXPECT_FALSE(label.backgroundBrush);
    EXPECT_EQ(label.cursor, params.cursor);
    EXPECT_EQ(label.clickAction, &RecordClick);
}

struct Refusal {
    const char* name;
    void (*spoil)(LinkLabelParams&);
};

void PrintTo(const Refusal& r, std::ostream* os) { *os << r.name; }

class LinkLabelRefusals : public LinkLabelTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(LinkLabelRefusals, CreateNothing) {
    GetParam().spoil(params);
    const int children = gui_test::CountChildren(parent.GetSafeHwnd());
    EXPECT_FALSE(CreateLinkLabel(params, label));
    EXPECT_EQ(label.hwnd, nullptr);
    EXPECT_FALSE(label.font);
    EXPECT_EQ(label.text, nullptr);
    EXPECT_EQ(gui_test::CountChildren(parent.GetSafeHwnd()), children);
}

INSTANTIATE_TEST_SUITE_P(
    Checks, LinkLabelRefusals,
    ::testing::Values(Refusal{"NoParent", [](LinkLabelParams& p) { p.parent = nullptr; }},
                      Refusal{"DeadParent",
                              [](LinkLabelParams& p) {
                                  HWND gone = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1,
                                                                nullptr, nullptr, nullptr, nullptr);
                                  ::DestroyWindow(gone);
                                  p.parent = gone;
                              }},
                      Refusal{"ZeroWidth", [](LinkLabelParams& p) { p.width = 0; }},
                      Refusal{"NegativeWidth", [](LinkLabelParams& p) { p.width = -5; }},
                      Refusal{"ZeroHeight", [](LinkLabelParams& p) { p.height = 0; }},
                      Refusal{"NoFace", [](LinkLabelParams& p) { p.face = nullptr; }},
                      Refusal{"NoText", [](LinkLabelParams& p) { p.text = nullptr; }}),
    [](const auto& info) { return std::string(info.param.name); });

HFONT NoFont(const LinkLabelParams&) { return nullptr; }

TEST_F(LinkLabelTest, FailureHalfWayDestroysTheWindow) {
    const auto old = link_label_testing::SetFontMaker(&NoFont);
    const int children = gui_test::CountChildren(parent.GetSafeHwnd());
    const bool created = CreateLinkLabel(params, label);
    link_label_testing::SetFontMaker(old);
    EXPECT_FALSE(created);
    EXPECT_EQ(label.hwnd, nullptr);
    EXPECT_EQ(gui_test::CountChildren(parent.GetSafeHwnd()), children) << "no label left to paint";
}

TEST_F(LinkLabelTest, CreatingAgainReplacesTheEarlierLabel) {
    ASSERT_TRUE(CreateLinkLabel(params, label));
    HWND first = label.hwnd;
    HFONT firstFont = label.font.get();
    ASSERT_TRUE(CreateLinkLabel(params, label));
    EXPECT_FALSE(::IsWindow(first));
    EXPECT_EQ(::GetObjectType(firstFont), 0u);
    EXPECT_EQ(gui_test::CountChildren(parent.GetSafeHwnd()), 11) << "ten template items and one label";
}

TEST_F(LinkLabelTest, PaintsTheTextInItsColourOverTheParent) {
    ASSERT_TRUE(CreateLinkLabel(params, label));
    EXPECT_GT(gui_test::CountColour(gui_test::CaptureClient(label.hwnd), kNormal), 10);
    label.hovering = 1;
    ::InvalidateRect(label.hwnd, nullptr, TRUE);
    const auto hover = gui_test::CaptureClient(label.hwnd);
    EXPECT_GT(gui_test::CountColour(hover, kHover), 10);
    EXPECT_EQ(gui_test::CountColour(hover, kNormal), 0);
}

TEST_F(LinkLabelTest, BackgroundIsFilledOnlyWhenAsked) {
    params.hasBackground = 1;
    params.backgroundColour = RGB(0, 200, 0);
    ASSERT_TRUE(CreateLinkLabel(params, label));
    EXPECT_TRUE(label.backgroundBrush);
    EXPECT_GT(gui_test::CountColour(gui_test::CaptureClient(label.hwnd), RGB(0, 200, 0)), 500);
}

TEST_F(LinkLabelTest, SetCursorShowsTheHandOnlyWithUseCursor) {
    ASSERT_TRUE(CreateLinkLabel(params, label));
    ::SetCursor(nullptr);
    EXPECT_EQ(::SendMessageW(label.hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(label.hwnd),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), 1);
    EXPECT_EQ(::GetCursor(), params.cursor);

    params.useCursor = 0;
    ASSERT_TRUE(CreateLinkLabel(params, label));
    ::SetCursor(nullptr);
    EXPECT_EQ(::SendMessageW(label.hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(label.hwnd),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), 0);
    EXPECT_EQ(::GetCursor(), nullptr);
}

TEST_F(LinkLabelTest, ClickActsOnThePressWithZero) {
    ASSERT_TRUE(CreateLinkLabel(params, label));
    ::SendMessageW(label.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(79, 19));
    EXPECT_EQ(g_clicks, 1);
    EXPECT_EQ(g_lastArgument, 0);
    ::SendMessageW(label.hwnd, WM_LBUTTONUP, 0, MAKELPARAM(79, 19));
    EXPECT_EQ(g_clicks, 1) << "the release does nothing";

    params.clickAction = nullptr;
    ASSERT_TRUE(CreateLinkLabel(params, label));
    ::SendMessageW(label.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(g_clicks, 1);
}

// Counts the label's repaints, passing every message on.
WNDPROC g_labelProc = nullptr;
int g_paints = 0;
LRESULT CALLBACK CountPaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) ++g_paints;
    return ::CallWindowProcW(g_labelProc, window, message, wParam, lParam);
}

TEST_F(LinkLabelTest, HoverRepaintsOncePerChangeAndHoldsTheCaptureInside) {
    ASSERT_TRUE(CreateLinkLabel(params, label));
    ::UpdateWindow(parent.GetSafeHwnd());
    g_paints = 0;
    g_labelProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(label.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountPaints)));
    const POINT inside = ScreenCentre();
    const auto move = [this] { ::SendMessageW(label.hwnd, WM_MOUSEMOVE, 0, 0); };

    ::SetCursorPos(inside.x, inside.y);
    move();
    EXPECT_EQ(g_paints, 1);
    EXPECT_EQ(::GetCapture(), label.hwnd);
    EXPECT_EQ(label.hovering, 1);
    EXPECT_EQ(label.lastHoverState, 0);
    move();
    move();
    EXPECT_EQ(g_paints, 1) << "no repaint without a change";

    ::SetCursorPos(inside.x + 200, inside.y + 200);
    move();
    EXPECT_EQ(g_paints, 2) << "leaving repaints exactly once, capture change included";
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(label.hovering, 0);
    EXPECT_EQ(label.lastHoverState, 1);
    move();
    EXPECT_EQ(g_paints, 2);
}

TEST_F(LinkLabelTest, FirstCheckAfterCreationRepaintsEvenOutside) {
    ASSERT_TRUE(CreateLinkLabel(params, label));
    ::UpdateWindow(parent.GetSafeHwnd());
    g_paints = 0;
    g_labelProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(label.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountPaints)));
    const POINT inside = ScreenCentre();
    ::SetCursorPos(inside.x + 300, inside.y + 300);
    ::SendMessageW(label.hwnd, WM_CAPTURECHANGED, 0, 0);
    EXPECT_EQ(g_paints, 1);
    EXPECT_EQ(label.lastHoverState, 1);
}

TEST_F(LinkLabelTest, AnotherWindowTakingTheCaptureInsideIsTakenBack) {
    ASSERT_TRUE(CreateLinkLabel(params, label));
    const POINT inside = ScreenCentre();
    ::SetCursorPos(inside.x, inside.y);
    ::SendMessageW(label.hwnd, WM_MOUSEMOVE, 0, 0);
    ASSERT_EQ(::GetCapture(), label.hwnd);
    ::SetCapture(parent.GetSafeHwnd());  // the label gets WM_CAPTURECHANGED
    EXPECT_EQ(::GetCapture(), label.hwnd);
    ::ReleaseCapture();
}

TEST_F(LinkLabelTest, DestroyingTheParentClearsTheRecordsWindow) {
    ASSERT_TRUE(CreateLinkLabel(params, label));
    ::DestroyWindow(parent.GetSafeHwnd());
    EXPECT_EQ(label.hwnd, nullptr);
    DestroyLinkLabel(label);  // nothing left to destroy twice
    EXPECT_FALSE(label.font);
}

}  // namespace
