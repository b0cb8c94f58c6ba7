#include "popup/color_controls.hpp"

#include "framework/messages.hpp"

CControlColors::CControlColors()
    : m_crText(::GetSysColor(COLOR_BTNTEXT)), m_crBackground(::GetSysColor(COLOR_BTNFACE)) {
    m_brBackground.CreateSolidBrush(m_crBackground);
}

void CControlColors::SetBkColor(COLORREF colour) {
    m_crBackground = colour;
    m_brBackground.DeleteObject();
    m_brBackground.CreateSolidBrush(colour);
}

HBRUSH CControlColors::Apply(HDC dc) const {
    ::SetTextColor(dc, m_crText);
    ::SetBkColor(dc, m_crBackground);
    return m_brBackground.get();
}

// ---- CColorEditST ----

LRESULT CColorEditST::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_REFLECT_CTLCOLOR:
        return BrushResult(OnCtlColorReflect(HdcOf(wParam)));
    case WM_DESTROY:
        return OnDestroy(wParam, lParam);
    case WM_SETFOCUS:
        // Not passed on: the edit box would show its caret and tell the parent.
        OnSetFocus();
        return 0;
    }
    return CEdit::WindowProc(message, wParam, lParam);
}

void CColorEditST::SetTextColor(COLORREF colour) {
    m_colors.SetTextColor(colour);
    Invalidate(TRUE);
}

void CColorEditST::SetBkColor(COLORREF colour) {
    m_colors.SetBkColor(colour);
    Invalidate(TRUE);
}

LRESULT CColorEditST::OnDestroy(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = Default(WM_DESTROY, wParam, lParam);
    m_colors.DeleteBrush();
    return result;
}

// ---- CColorStaticST ----

LRESULT CColorStaticST::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_REFLECT_CTLCOLOR:
        return BrushResult(OnCtlColorReflect(HdcOf(wParam)));
    case WM_DESTROY:
        return OnDestroy(wParam, lParam);
    }
    return CStatic::WindowProc(message, wParam, lParam);
}

void CColorStaticST::SetTextColor(COLORREF colour) {
    m_colors.SetTextColor(colour);
    Invalidate(TRUE);
}

void CColorStaticST::SetBkColor(COLORREF colour) {
    m_colors.SetBkColor(colour);
    Invalidate(TRUE);
}

LRESULT CColorStaticST::OnDestroy(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = Default(WM_DESTROY, wParam, lParam);
    m_colors.DeleteBrush();
    return result;
}
