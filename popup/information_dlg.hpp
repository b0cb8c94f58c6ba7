#pragma once
// The "Message Alerts" popup: rises out of the work area's bottom-right
// corner, shows one alert at a time with its page counter, holds five
// minutes after the last alert, then sinks away and forgets.
#include <optional>

#include "framework/bitmap_button.hpp"
#include "framework/dialog.hpp"
#include "framework/gdi.hpp"
#include "popup/alert_list.hpp"
#include "popup/color_controls.hpp"
#include "popup/link_label.hpp"
#include "popup/slide_motion.hpp"

class CInformationDlg : public CDialog {
public:
    CInformationDlg();
    // Destroys the window while the controls bound to it still exist.
    ~CInformationDlg() override;

    // Message map:
    //   WM_TIMER                    -> OnTimer
    //   WM_CLOSE, BN_CLICKED 225    -> OnClose
    //   WM_NCHITTEST                -> OnNcHitTest
    //   WM_PAINT                    -> OnPaint
    //   WM_CTLCOLOR*                -> OnCtlColor
    //   BN_CLICKED 226              -> OnBnClickedButtonPre
    //   BN_CLICKED 227              -> OnBnClickedButtonNe
    //   WM_MOUSEMOVE, WM_KILLFOCUS, everything else -> CDialog
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    korvanel::AlertList& Alerts() { return m_alerts; }
    // The alert display: counter, title, text, current link and its label.
    void ShowAlert(const korvanel::AlertPage& page);

    void OnBnClickedButtonPre();
    void OnBnClickedButtonNe();
    // Empties the list and destroys the popup, this object included: the
    // caller must not touch the object afterwards.
    void OnClose();
    void OnTimer(UINT_PTR id);

    const LinkLabel& Link() const { return m_linkLabel; }
    const std::optional<korvanel::SlideMotion>& Motion() const { return m_motion; }

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

private:
    void OnPaint();
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT type);
    LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
    void SetupFonts();

    CFont m_fontHeading;
    CFont m_fontTitle;
    CFont m_fontInfo;
    CColorStaticST m_staticHeading;
    CColorEditST m_editTitle;
    CColorEditST m_editInfo;
    LinkLabel m_linkLabel;
    std::optional<korvanel::SlideMotion> m_motion;  // sized in OnInitDialog
    korvanel::AlertList m_alerts;
    CBitmapButton m_btnClose;
    CBitmapButton m_btnPre;
    CBitmapButton m_btnNe;
};
