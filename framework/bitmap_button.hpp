#pragma once
// An owner-drawn push button that shows a bitmap per state: the selected
// face while pressed, the focus face when focused, the disabled face when
// disabled, the normal face otherwise (a missing face falls back to normal).
#include "framework/controls.hpp"
#include "framework/gdi.hpp"

class CBitmapButton : public CButton {
public:
    // Message map: the parent reflects WM_DRAWITEM to us; all else goes to CButton.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Loads the faces from our module; 0 leaves a face out. False when the
    // normal face cannot be loaded.
    bool LoadBitmaps(UINT normal, UINT selected = 0, UINT focus = 0, UINT disabled = 0);
    // Resizes the button to its normal face.
    void SizeToContent() const;

    // Which face an item state shows; exposed for drawing and for tests.
    const CBitmap& FaceFor(UINT itemState) const;

private:
    void DrawItem(const DRAWITEMSTRUCT& item) const;

    CBitmap m_bitmap;
    CBitmap m_bitmapSel;
    CBitmap m_bitmapFocus;
    CBitmap m_bitmapDisabled;
};
