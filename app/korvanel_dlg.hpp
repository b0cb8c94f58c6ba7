#pragma once
// The hidden main window: holds the notification service, receives its
// alerts and owns the popup. Visible for an instant at start-up only.
#include <memory>

#include "framework/dialog.hpp"
#include "service/http_server_object.hpp"

class CKorvanelDlg : public CDialog {
public:
    CKorvanelDlg();
    ~CKorvanelDlg() override;

    // Message map:
    //   WM_SYSCOMMAND     -> OnSysCommand
    //   WM_PAINT          -> OnPaint
    //   WM_QUERYDRAGICON  -> OnQueryDragIcon
    //   WM_TIMER          -> OnTimer
    //   WM_NEW_ALERT      -> OnNewAlert
    //   everything else   -> CDialog (close, OK, Cancel end the dialog)
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    korvanel::CHttpServerObject* Service() const { return m_pHttpServerObject.get(); }

    static constexpr UINT_PTR kHideTimer = 1;

protected:
    BOOL OnInitDialog() override;

private:
    void OnSysCommand(WPARAM command, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon() const { return m_hIcon; }
    void OnTimer(UINT_PTR id);
    LRESULT OnNewAlert(WPARAM wParam, LPARAM lParam);

    HICON m_hIcon;  // a shared resource icon: never destroyed
    std::unique_ptr<korvanel::CHttpServerObject> m_pHttpServerObject;
};

// Where the minimised icon goes: centred, rounding as the platform does.
POINT MinimisedIconPosition(const RECT& client, int iconWidth, int iconHeight);
