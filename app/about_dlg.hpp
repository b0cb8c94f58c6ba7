#pragma once
#include "framework/dialog.hpp"
#include "res/resource.h"

// The About box, reachable from the main window's system menu.
class CAboutDlg : public CDialog {
public:
    CAboutDlg() : CDialog(IDD_ABOUTBOX) {}
};
