#include "popup/alert_popup.hpp"

#include "app/write_log.hpp"

std::unique_ptr<CInformationDlg> g_pInformationDlg;

void AppendAlert(korvanel::AlertRecord alert) {
    if (g_pInformationDlg) g_pInformationDlg->Alerts().Append(std::move(alert));
}

void ClearAlerts() {
    if (g_pInformationDlg) g_pInformationDlg->Alerts().Clear();
}

void ShowLatestAlert() {
    if (!g_pInformationDlg) return;
    g_pInformationDlg->Invalidate(TRUE);
    if (const auto page = g_pInformationDlg->Alerts().Latest()) {
        g_pInformationDlg->ShowAlert(*page);
    } else {
        g_pInformationDlg->OnClose();
    }
}

void DestroyPopup() {
    // Moved out first: the object's destructor destroys its window, whose
    // last messages must find no popup to talk to.
    std::unique_ptr<CInformationDlg> doomed = std::move(g_pInformationDlg);
}

void ShowNewAlert(korvanel::AlertRecord alert) {
    if (!g_pInformationDlg) {
        g_pInformationDlg = std::make_unique<CInformationDlg>();
        AppendAlert(std::move(alert));
        if (!g_pInformationDlg->Create()) {
            // Nothing to show it in; say so rather than lose it silently.
            korvanel::WriteLog(L"The alert window could not be created (error %lu)",
                               static_cast<unsigned long>(GetLastError()));
            g_pInformationDlg.reset();
            return;
        }
        g_pInformationDlg->ShowWindow(SW_SHOW);
    } else {
        AppendAlert(std::move(alert));
        ShowLatestAlert();
        if (!g_pInformationDlg) return;
        const HWND popup = g_pInformationDlg->GetSafeHwnd();
        KillTimer(popup, korvanel::IDT_SLIDE_OUT);
        SetTimer(popup, korvanel::IDT_SLIDE_IN, korvanel::kSlideStepMs, nullptr);
        // Escape hides a modeless dialog; an alert must never arrive into a
        // window nobody can see.
        if (!IsWindowVisible(popup)) g_pInformationDlg->ShowWindow(SW_SHOW);
    }
    SetWindowPos(g_pInformationDlg->GetSafeHwnd(), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE);
}
