#pragma once
// Message numbers of our own and small typed helpers that unpack wParam and
// lParam, so handlers take real types instead of casting at every call site.
#include <windows.h>

// A parent hands some notifications back to the child object that owns the
// drawing: WM_CTLCOLOR* arrives at the child as WM_REFLECT_CTLCOLOR
// (wParam: HDC, lParam: CTLCOLOR_* type, result: HBRUSH or 0 for "not mine"),
// WM_DRAWITEM as WM_REFLECT_DRAWITEM (lParam: DRAWITEMSTRUCT*).
inline constexpr UINT WM_REFLECT_CTLCOLOR = WM_APP + 0x3E00;
inline constexpr UINT WM_REFLECT_DRAWITEM = WM_APP + 0x3E01;

inline bool IsCtlColorMessage(UINT message) {
    return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}
// WM_CTLCOLORMSGBOX + CTLCOLOR_x == WM_CTLCOLORx for every type.
inline UINT CtlColorType(UINT message) { return message - WM_CTLCOLORMSGBOX; }

inline HDC HdcOf(WPARAM wParam) { return reinterpret_cast<HDC>(wParam); }
inline HWND HwndOf(LPARAM lParam) { return reinterpret_cast<HWND>(lParam); }
inline int CommandId(WPARAM wParam) { return LOWORD(wParam); }
inline UINT CommandCode(WPARAM wParam) { return HIWORD(wParam); }
inline bool IsClicked(WPARAM wParam, int id) {
    return CommandId(wParam) == id && CommandCode(wParam) == BN_CLICKED;
}
inline POINT PointOf(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}
inline LRESULT BrushResult(HBRUSH brush) { return reinterpret_cast<LRESULT>(brush); }
