#pragma once
// A self-drawn link label: a child window with its own font, colours, hand
// cursor, hover tracking and a click action. A plain record plus a window
// procedure that finds the record through the window property "CLASSPOINTER".
#include "framework/gdi.hpp"

#include <memory>

using LinkClickAction = void (*)(int);

// Everything CreateLinkLabel needs; zero-fill it, then set the fields.
struct LinkLabelParams {
    HWND parent;
    int id;
    int x, y;
    int width, height;
    const wchar_t* face;
    int fontHeight;
    BYTE bold;
    BYTE underline;
    COLORREF normalColour;
    COLORREF hoverColour;
    COLORREF backgroundColour;
    BYTE hasBackground;
    BYTE useCursor;
    HCURSOR cursor;  // a shared resource cursor; never destroyed
    LinkClickAction clickAction;
    const wchar_t* text;
};

// The state of one label window. Its owner keeps it at a fixed address (the
// window points at it), so it is neither copied nor moved. Destroying it, or
// creating it anew, first destroys the window it had.
struct LinkLabel {
    LinkLabel() = default;
    LinkLabel(const LinkLabel&) = delete;
    LinkLabel& operator=(const LinkLabel&) = delete;
    ~LinkLabel();

    HWND hwnd = nullptr;
    CFont font;
    CBrush backgroundBrush;
    HCURSOR cursor = nullptr;
    COLORREF normalColour = 0;
    COLORREF hoverColour = 0;
    COLORREF backgroundColour = 0;
    LinkClickAction clickAction = nullptr;
    BYTE hasBackground = 0;
    BYTE hovering = 0;
    BYTE useCursor = 0;
    std::unique_ptr<wchar_t[]> text;
    int lastHoverState = 0;  // -1 undetermined, 0 inside, 1 outside
};

// Creates the label window described by params into label; false when a
// check or a step fails. A refused check creates nothing; a later failure
// destroys what was made, so no window paints without its font or text.
bool CreateLinkLabel(const LinkLabelParams& params, LinkLabel& label);
// Destroys the label's window and releases its font, brush and text.
void DestroyLinkLabel(LinkLabel& label);
LRESULT CALLBACK LinkLabelWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Painting, apart from the WM_PAINT plumbing.
void PaintLinkLabel(const LinkLabel& label, HDC dc, const RECT& client);

namespace link_label_testing {
// Replaces the font creation step, to reach the half-way failure path.
using FontMaker = HFONT (*)(const LinkLabelParams&);
FontMaker SetFontMaker(FontMaker maker);  // null restores CreateFontW; returns the old one
}  // namespace link_label_testing
