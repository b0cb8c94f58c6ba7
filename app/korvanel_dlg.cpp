#include "app/korvanel_dlg.hpp"

#include "app/about_dlg.hpp"
#include "app/autostart.hpp"
#include "framework/app.hpp"
#include "framework/gdi.hpp"
#include "popup/alert_popup.hpp"
#include "res/resource.h"
#include "service/alert_record.hpp"

CKorvanelDlg::CKorvanelDlg()
    : CDialog(IDD_KORVANEL_DIALOG),
      m_hIcon(::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME))) {}

// The window is gone by now, so the dispatcher's sends fail at once and the
// service's threads can be stopped without waiting on this thread.
CKorvanelDlg::~CKorvanelDlg() = default;

LRESULT CKorvanelDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == IDM_ABOUTBOX) {
            OnSysCommand(wParam, lParam);
            return 0;
        }
        break;
    case WM_PAINT:
        if (::IsIconic(m_hWnd)) {
            OnPaint();
            return 0;
        }
        break;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(OnQueryDragIcon());
    case WM_TIMER:
        OnTimer(wParam);
        break;
    case korvanel::WM_NEW_ALERT:
        return OnNewAlert(wParam, lParam);
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

BOOL CKorvanelDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    if (HMENU menu = ::GetSystemMenu(m_hWnd, FALSE)) {
        wchar_t about[128] = {};
        if (::LoadStringW(AfxGetResourceHandle(), IDS_ABOUTBOX, about, 128) > 0 && about[0]) {
            ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuW(menu, MF_STRING, IDM_ABOUTBOX, about);
        }
    }
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    ::SetTimer(m_hWnd, kHideTimer, 1, nullptr);
    korvanel::RegisterAutoStart();
    m_pHttpServerObject = std::make_unique<korvanel::CHttpServerObject>(m_hWnd);
    return TRUE;
}

void CKorvanelDlg::OnSysCommand(WPARAM, LPARAM) {
    CAboutDlg about;
    about.DoModal();
}

POINT MinimisedIconPosition(const RECT& client, int iconWidth, int iconHeight) {
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    return {(width - iconWidth + 1) / 2, (height - iconHeight + 1) / 2};
}

void CKorvanelDlg::OnPaint() {
    CPaintDC dc(m_hWnd);
    ::SendMessageW(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const POINT at =
        MinimisedIconPosition(client, ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON));
    ::DrawIcon(dc.get(), at.x, at.y, m_hIcon);
}

void CKorvanelDlg::OnTimer(UINT_PTR id) {
    if (id == kHideTimer) {
        ::KillTimer(m_hWnd, kHideTimer);
        ShowWindow(SW_HIDE);
    }
}

LRESULT CKorvanelDlg::OnNewAlert(WPARAM, LPARAM lParam) {
    const auto* record = reinterpret_cast<const korvanel::AlertRecord*>(lParam);
    if (record) ShowNewAlert(*record);  // a copy: the sender's record dies with its send
    return 0;
}
