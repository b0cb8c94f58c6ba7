#pragma once
// Edit and static controls with a text colour, a background colour and a
// solid background brush of their own, answering the colour request that
// their parent reflects to them. The edit box never shows a caret.
#include "framework/controls.hpp"
#include "framework/gdi.hpp"

// The colours both controls keep; the owner of the brush.
class CControlColors {
public:
    CControlColors();  // the system's button colours, as they are now
    void SetTextColor(COLORREF colour) { m_crText = colour; }
    void SetBkColor(COLORREF colour);  // one brush alive: the old one goes first
    // Puts the colours into dc; returns the brush to paint with (may be null).
    HBRUSH Apply(HDC dc) const;
    void DeleteBrush() { m_brBackground.DeleteObject(); }

    COLORREF TextColor() const { return m_crText; }
    COLORREF BkColor() const { return m_crBackground; }
    HBRUSH Brush() const { return m_brBackground.get(); }

private:
    COLORREF m_crText;
    COLORREF m_crBackground;
    CBrush m_brBackground;
};

class CColorEditST : public CEdit {
public:
    // Message map: reflected WM_CTLCOLOR -> OnCtlColorReflect,
    // WM_DESTROY -> OnDestroy, WM_SETFOCUS -> OnSetFocus; all else to CEdit.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void SetTextColor(COLORREF colour);
    void SetBkColor(COLORREF colour);
    const CControlColors& Colors() const { return m_colors; }

private:
    HBRUSH OnCtlColorReflect(HDC dc) const { return m_colors.Apply(dc); }
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);
    void OnSetFocus() const { ::HideCaret(m_hWnd); }

    CControlColors m_colors;
};

class CColorStaticST : public CStatic {
public:
    // Message map: reflected WM_CTLCOLOR -> OnCtlColorReflect,
    // WM_DESTROY -> OnDestroy; all else to CStatic.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void SetTextColor(COLORREF colour);
    void SetBkColor(COLORREF colour);
    const CControlColors& Colors() const { return m_colors; }

private:
    HBRUSH OnCtlColorReflect(HDC dc) const { return m_colors.Apply(dc); }
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);

    CControlColors m_colors;
};
