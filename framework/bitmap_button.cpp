#include "framework/bitmap_button.hpp"

#include "framework/app.hpp"
#include "framework/messages.hpp"

LRESULT CBitmapButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_REFLECT_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    return CButton::WindowProc(message, wParam, lParam);
}

bool CBitmapButton::LoadBitmaps(UINT normal, UINT selected, UINT focus, UINT disabled) {
    HINSTANCE module = AfxGetResourceHandle();
    const auto load = [module](CBitmap& face, UINT id) {
        if (id) face.LoadBitmap(module, id);
        else face.DeleteObject();
    };
    load(m_bitmap, normal);
    load(m_bitmapSel, selected);
    load(m_bitmapFocus, focus);
    load(m_bitmapDisabled, disabled);
    return static_cast<bool>(m_bitmap);
}

void CBitmapButton::SizeToContent() const {
    const SIZE size = m_bitmap.GetSize();
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, size.cx, size.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

const CBitmap& CBitmapButton::FaceFor(UINT itemState) const {
    if ((itemState & ODS_SELECTED) && m_bitmapSel) return m_bitmapSel;
    if ((itemState & ODS_FOCUS) && m_bitmapFocus) return m_bitmapFocus;
    if ((itemState & ODS_DISABLED) && m_bitmapDisabled) return m_bitmapDisabled;
    return m_bitmap;
}

void CBitmapButton::DrawItem(const DRAWITEMSTRUCT& item) const {
    const CBitmap& face = FaceFor(item.itemState);
    if (!face) return;
    CMemDC memory(item.hDC);
    auto selected = memory.SelectObject(face.get());
    const RECT& r = item.rcItem;
    ::BitBlt(item.hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, memory.get(), 0, 0,
             SRCCOPY);
}
