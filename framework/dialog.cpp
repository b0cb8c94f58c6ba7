#include "framework/dialog.hpp"

#include "framework/app.hpp"
#include "framework/messages.hpp"

namespace {
// The dialog whose window is being created on this thread: messages that
// arrive before WM_INITDIALOG (WM_SETFONT, ...) find their object here.
thread_local CDialog* t_dialogInCreation = nullptr;

// Messages whose dialog-procedure result is returned directly; all others
// go through DWLP_MSGRESULT.
// https://learn.microsoft.com/windows/win32/api/winuser/nc-winuser-dlgproc
bool ReturnsDirectly(UINT message) {
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return true;
    }
    return false;
}
}  // namespace

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    if (!control.GetSafeHwnd()) control.SubclassDlgItem(id, *dx->m_pDlgWnd);
}

CDialog::~CDialog() {
    if (m_hWnd) ::DestroyWindow(m_hWnd);
}

HWND CDialog::OwnerWindow() const {
    if (m_pParentWnd) return m_pParentWnd->GetSafeHwnd();
    CWnd* main = AfxGetMainWnd();
    return main && main != this ? main->GetSafeHwnd() : nullptr;
}

HWND CDialog::CreateFromTemplate(HWND owner) {
    t_dialogInCreation = this;
    HWND window = ::CreateDialogParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nIDTemplate),
                                       owner, &DialogProc, reinterpret_cast<LPARAM>(this));
    t_dialogInCreation = nullptr;
    return window;
}

bool CDialog::Create(UINT templateId, CWnd* parent) {
    if (templateId) m_nIDTemplate = templateId;
    if (parent) m_pParentWnd = parent;
    return CreateFromTemplate(OwnerWindow()) != nullptr;
}

// Our own loop rather than DialogBoxParamW: that one shows the dialog when
// its queue first runs empty even if the dialog hid itself before then.
INT_PTR CDialog::DoModal() {
    HWND owner = OwnerWindow();
    m_bEndModal = false;
    m_nModalResult = -1;
    m_bModal = true;
    const bool ownerWasEnabled = owner && ::IsWindowEnabled(owner);
    if (ownerWasEnabled) ::EnableWindow(owner, FALSE);
    HWND window = CreateFromTemplate(owner);
    if (!window) {
        if (ownerWasEnabled) ::EnableWindow(owner, TRUE);
        m_bModal = false;
        return -1;
    }
    if (!m_bEndModal) RunModalLoop();
    if (ownerWasEnabled) {
        ::EnableWindow(owner, TRUE);
        ::SetActiveWindow(owner);
    }
    if (::IsWindow(window)) {
        ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        ::DestroyWindow(window);
    }
    m_bModal = false;
    return m_nModalResult;
}

void CDialog::RunModalLoop() {
    m_bInModalLoop = true;
    // A template without WS_VISIBLE is shown once the start-up messages are
    // handled; one that was visible and hid itself stays hidden.
    bool showOnIdle = !(GetStyle() & WS_VISIBLE);
    MSG msg{};
    while (!m_bEndModal) {
        if (showOnIdle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
            ::UpdateWindow(m_hWnd);
            showOnIdle = false;
        }
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // WM_QUIT belongs to the outer loop.
            if (got == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!m_hWnd || !::IsDialogMessageW(m_hWnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (!m_hWnd) break;
    }
    m_bInModalLoop = false;
}

void CDialog::EndDialog(int result) {
    m_nModalResult = result;
    m_bEndModal = true;
    if (m_bModal) {
        if (m_bInModalLoop) ::PostMessageW(m_hWnd, WM_NULL, 0, 0);  // wake GetMessage
    } else if (m_hWnd) {
        ::EndDialog(m_hWnd, result);  // modeless: Win32 hides it
    }
}

bool CDialog::UpdateData(bool saveAndValidate) {
    CDataExchange dx(*this, saveAndValidate);
    DoDataExchange(&dx);
    return true;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(false);
    return TRUE;
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        if (lParam == 0 || CommandCode(wParam) == BN_CLICKED) {
            if (CommandId(wParam) == IDOK) return OnOK(), 0;
            if (CommandId(wParam) == IDCANCEL) return OnCancel(), 0;
        }
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

// DefDlgProcW calls the dialog procedure first; the flag makes that call
// answer "not handled" so that the built-in dialog processing runs.
LRESULT CDialog::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    m_bBypassNext = true;
    const LRESULT result = ::DefDlgProcW(m_hWnd, message, wParam, lParam);
    m_bBypassNext = false;
    return result;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<CDialog*>(FromHandlePermanent(window));
    if (!self && t_dialogInCreation) {
        self = t_dialogInCreation;
        self->Attach(window);
    }
    if (!self) return FALSE;
    if (self->m_bBypassNext) {
        self->m_bBypassNext = false;
        return FALSE;
    }
    const LRESULT result = self->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The object may live on (or be deleted in PostNcDestroy); the window is gone.
        self->Detach();
        self->PostNcDestroy();
        return TRUE;
    }
    if (ReturnsDirectly(message)) return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
}
