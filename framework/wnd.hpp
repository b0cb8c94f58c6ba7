#pragma once
// CWnd: a C++ object bound to a window it does not own (controls belong to
// their dialog). Messages reach the virtual WindowProc, which each class
// overrides with a switch near the top of the class (its message map) and
// chains to its base for everything else; CWnd's own WindowProc ends the
// chain in the window's default processing.
#include <windows.h>

#include <string>

class CWnd {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd();

    HWND GetSafeHwnd() const { return m_hWnd; }
    // The object bound to window, or null for windows we never attached.
    static CWnd* FromHandlePermanent(HWND window);

    // Replaces the window's procedure with ours; Default then calls the old one.
    bool SubclassWindow(HWND window);
    bool SubclassDlgItem(int id, const CWnd& parent);
    HWND UnsubclassWindow();

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The processing the window would have without us.
    virtual LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

    // Conveniences over the Win32 calls on m_hWnd.
    void Invalidate(BOOL erase = TRUE) const { ::InvalidateRect(m_hWnd, nullptr, erase); }
    BOOL ShowWindow(int command) const { return ::ShowWindow(m_hWnd, command); }
    void SetWindowText(const std::wstring& text) const { ::SetWindowTextW(m_hWnd, text.c_str()); }
    std::wstring GetWindowText() const;
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }

protected:
    // Parent side of colour reflection: the child object that owns the
    // control's colours answers first; when it does not, default processing.
    // Classes that handle WM_CTLCOLOR* call this first and adjust afterwards.
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT ctlType);
    // Called after WM_NCDESTROY, when the object no longer has a window.
    virtual void PostNcDestroy() {}

    // Binds this object to window for FromHandlePermanent.
    void Attach(HWND window);
    void Detach();

    HWND m_hWnd = nullptr;

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    WNDPROC m_pfnSuper = nullptr;
};
