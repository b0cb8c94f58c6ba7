#include "framework/gdi.hpp"

SIZE CBitmap::GetSize() const {
    BITMAP info{};
    if (!get() || !::GetObjectW(get(), sizeof info, &info)) return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

void CDC::FillSolidRect(const RECT& rect, COLORREF colour) const {
    CBrush brush;
    if (brush.CreateSolidBrush(colour)) ::FillRect(m_hDC, &rect, brush.get());
}
