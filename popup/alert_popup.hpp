#pragma once
// The hand-off from the main window to the one popup.
#include <memory>

#include "popup/information_dlg.hpp"
#include "service/alert_record.hpp"

// The one popup, or empty. Created by the first alert, destroyed by a close.
extern std::unique_ptr<CInformationDlg> g_pInformationDlg;

// Appends the alert, creating the popup when there is none, shows the newest
// alert, restarts the rise and makes the popup topmost.
void ShowNewAlert(korvanel::AlertRecord alert);
void AppendAlert(korvanel::AlertRecord alert);
void ClearAlerts();
// Shows the newest alert; on an empty list closes the popup instead.
void ShowLatestAlert();
// Destroys the popup and its window (what a close does after emptying it).
void DestroyPopup();
