#include "popup/link_label.hpp"

#include <cwchar>
#include <new>

namespace {
const wchar_t kRecordProperty[] = L"CLASSPOINTER";

HFONT CreateLabelFont(const LinkLabelParams& p) {
    return ::CreateFontW(p.fontHeight, 0, 0, 0, p.bold ? FW_BOLD : FW_NORMAL, FALSE, p.underline,
                         FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, p.face);
}

link_label_testing::FontMaker g_makeFont = &CreateLabelFont;

LinkLabel* RecordOf(HWND window) {
    return static_cast<LinkLabel*>(::GetPropW(window, kRecordProperty));
}

void Repaint(HWND window) {
    ::InvalidateRect(window, nullptr, TRUE);
    ::UpdateWindow(window);
}

// Holding the capture while the mouse is over the label lets it see the
// first move outside. Releasing the capture sends WM_CAPTURECHANGED, which
// runs this check again inside the first; the state test keeps that second
// run from repainting.
void CheckHover(LinkLabel& label) {
    POINT cursor{};
    RECT rect{};
    ::GetCursorPos(&cursor);
    ::GetWindowRect(label.hwnd, &rect);
    if (::PtInRect(&rect, cursor)) {
        ::SetCapture(label.hwnd);
        label.hovering = 1;
        if (label.lastHoverState != 0) Repaint(label.hwnd);
        label.lastHoverState = 0;
    } else {
        ::ReleaseCapture();
        label.hovering = 0;
        if (label.lastHoverState != 1) Repaint(label.hwnd);
        label.lastHoverState = 1;
    }
}

void OnPaint(const LinkLabel& label) {
    PAINTSTRUCT ps{};
    HDC dc = ::BeginPaint(label.hwnd, &ps);
    RECT client{};
    ::GetClientRect(label.hwnd, &client);
    PaintLinkLabel(label, dc, client);
    ::EndPaint(label.hwnd, &ps);
}
}  // namespace

namespace link_label_testing {
FontMaker SetFontMaker(FontMaker maker) {
    const FontMaker old = g_makeFont;
    g_makeFont = maker ? maker : &CreateLabelFont;
    return old;
}
}  // namespace link_label_testing

LinkLabel::~LinkLabel() { DestroyLinkLabel(*this); }

void DestroyLinkLabel(LinkLabel& label) {
    // WM_NCDESTROY clears label.hwnd; the font goes after the window that uses it.
    if (label.hwnd) ::DestroyWindow(label.hwnd);
    label.hwnd = nullptr;
    label.font.DeleteObject();
    label.backgroundBrush.DeleteObject();
    label.text.reset();
    label.cursor = nullptr;
    label.clickAction = nullptr;
    label.hasBackground = label.hovering = label.useCursor = 0;
    label.normalColour = label.hoverColour = label.backgroundColour = 0;
    label.lastHoverState = 0;
}

bool CreateLinkLabel(const LinkLabelParams& p, LinkLabel& label) {
    // 1. Checks; nothing is created when one fails. A null text would be
    //    copied in step 9, so it is refused here too.
    if (!::IsWindow(p.parent) || p.width <= 0 || p.height <= 0 || !p.face || !p.text) return false;

    DestroyLinkLabel(label);  // one label per record

    // 2. The window: a STATIC whose own procedure is never called again.
    label.hwnd = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, p.x, p.y, p.width,
                                   p.height, p.parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(p.id)),
                                   ::GetModuleHandleW(nullptr), nullptr);
    if (!label.hwnd) return false;

    const auto fail = [&label] {
        DestroyLinkLabel(label);
        return false;
    };
    // 3, 4. The record's address, then our procedure (the STATIC's is dropped:
    //       unhandled messages go to DefWindowProcW, so the label is hit-testable
    //       without SS_NOTIFY).
    if (!::SetPropW(label.hwnd, kRecordProperty, &label)) return fail();
    ::SetWindowLongPtrW(label.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LinkLabelWndProc));

    // 5. Font.
    label.font.Attach(g_makeFont(p));
    if (!label.font) return fail();
    // 6. Background.
    label.hasBackground = p.hasBackground ? 1 : 0;
    if (label.hasBackground) label.backgroundBrush.CreateSolidBrush(p.backgroundColour);
    // 7. Cursor.
    label.useCursor = p.useCursor;
    if (p.useCursor) label.cursor = p.cursor;
    // 8. Colours and click action.
    label.normalColour = p.normalColour;
    label.hoverColour = p.hoverColour;
    label.backgroundColour = p.backgroundColour;
    if (p.clickAction) label.clickAction = p.clickAction;
    // 9. Private copy of the text, terminator included.
    const size_t length = std::wcslen(p.text) + 1;
    label.text.reset(new (std::nothrow) wchar_t[length]);
    if (!label.text) return fail();
    std::wmemcpy(label.text.get(), p.text, length);
    // 10.
    label.lastHoverState = -1;
    return true;
}

void PaintLinkLabel(const LinkLabel& label, HDC dc, const RECT& client) {
    if (label.hasBackground) {
        ::FillRect(dc, &client, label.backgroundBrush.get());
        ::SetBkColor(dc, label.backgroundColour);
    } else {
        ::SetBkMode(dc, TRANSPARENT);  // the parent's painting shows through
    }
    ScopedSelect font(dc, label.font.get());
    ::SetTextColor(dc, label.hovering ? label.hoverColour : label.normalColour);
    RECT rect = client;
    // No DT_SINGLELINE: centred horizontally, from the top.
    ::DrawTextExW(dc, label.text.get(), -1, &rect, DT_CENTER | DT_VCENTER, nullptr);
}

LRESULT CALLBACK LinkLabelWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LinkLabel* label = RecordOf(window);
    if (!label) return ::DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_PAINT:
        OnPaint(*label);
        break;
    case WM_SETCURSOR:
        if (!label->useCursor) return 0;
        ::SetCursor(label->cursor);
        return 1;
    case WM_MOUSEMOVE:
    case WM_CAPTURECHANGED:
        CheckHover(*label);
        break;
    case WM_LBUTTONDOWN:
        // On the press, not the release; the position does not matter.
        if (label->clickAction) label->clickAction(0);
        break;
    case WM_NCDESTROY:
        ::RemovePropW(window, kRecordProperty);
        label->hwnd = nullptr;
        break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}
