#include "framework/wnd.hpp"

#include "framework/messages.hpp"

namespace {
const wchar_t kObjectProperty[] = L"Korvanel.CWnd";
}

CWnd::~CWnd() {
    // A control outliving its object must not call into freed memory.
    if (m_hWnd && m_pfnSuper) UnsubclassWindow();
    Detach();
}

CWnd* CWnd::FromHandlePermanent(HWND window) {
    return window ? static_cast<CWnd*>(::GetPropW(window, kObjectProperty)) : nullptr;
}

void CWnd::Attach(HWND window) {
    m_hWnd = window;
    ::SetPropW(window, kObjectProperty, this);
}

void CWnd::Detach() {
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) ::RemovePropW(m_hWnd, kObjectProperty);
    m_hWnd = nullptr;
}

bool CWnd::SubclassWindow(HWND window) {
    if (m_hWnd || !::IsWindow(window) || FromHandlePermanent(window)) return false;
    Attach(window);
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
    if (!m_pfnSuper) {
        Detach();
        return false;
    }
    return true;
}

bool CWnd::SubclassDlgItem(int id, const CWnd& parent) {
    return SubclassWindow(::GetDlgItem(parent.m_hWnd, id));
}

HWND CWnd::UnsubclassWindow() {
    HWND window = m_hWnd;
    if (window && m_pfnSuper) {
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        m_pfnSuper = nullptr;
    }
    Detach();
    return window;
}

std::wstring CWnd::GetWindowText() const {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(m_hWnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(m_hWnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

LRESULT CWnd::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

HBRUSH CWnd::OnCtlColor(HDC dc, HWND control, UINT ctlType) {
    if (CWnd* child = FromHandlePermanent(control); child && child != this) {
        if (LRESULT brush = child->WindowProc(WM_REFLECT_CTLCOLOR, reinterpret_cast<WPARAM>(dc),
                                              static_cast<LPARAM>(ctlType)))
            return reinterpret_cast<HBRUSH>(brush);
    }
    return reinterpret_cast<HBRUSH>(Default(WM_CTLCOLORMSGBOX + ctlType,
                                            reinterpret_cast<WPARAM>(dc),
                                            reinterpret_cast<LPARAM>(control)));
}

// The end of every message map: reflection for the parent's side, our
// reflected messages stop here unanswered, the rest goes to the window.
LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsCtlColorMessage(message))
        return BrushResult(OnCtlColor(HdcOf(wParam), HwndOf(lParam), CtlColorType(message)));
    switch (message) {
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (CWnd* child = FromHandlePermanent(item->hwndItem); child && child != this) {
            child->WindowProc(WM_REFLECT_DRAWITEM, 0, lParam);
            return TRUE;
        }
        break;
    }
    case WM_REFLECT_CTLCOLOR:
    case WM_REFLECT_DRAWITEM:
        return 0;
    }
    return Default(message, wParam, lParam);
}

LRESULT CALLBACK CWnd::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* self = FromHandlePermanent(window);
    if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
    const LRESULT result = self->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        self->UnsubclassWindow();
        self->PostNcDestroy();
    }
    return result;
}
