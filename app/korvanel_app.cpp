#include "app/korvanel_app.hpp"

#include <commctrl.h>

#include "app/korvanel_dlg.hpp"
#include "app/write_log.hpp"
#include "popup/alert_popup.hpp"
#include "popup/enter_link.hpp"

namespace {
void LogLinkLine(std::wstring_view line) { korvanel::WriteLogText(line); }
}  // namespace

BOOL CKorvanelApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    CWinAppEx::InitInstance();
    AfxEnableControlContainer();
    SetRegistryKey(L"Local AppWizard-Generated Applications");

    // One instance per machine. The handle stays open for the process's
    // life: the system releases the mutex when the process ends.
    ::CreateMutexW(nullptr, TRUE, L"Global\\Korvanel");
    if (::GetLastError() == ERROR_ALREADY_EXISTS) return FALSE;

    SetLinkLog(LogLinkLine);
    {
        CKorvanelDlg dialog;
        m_pMainWnd = &dialog;
        dialog.DoModal();
        // The popup goes before the window that owns it is forgotten.
        DestroyPopup();
        m_pMainWnd = nullptr;
    }
    return FALSE;
}
