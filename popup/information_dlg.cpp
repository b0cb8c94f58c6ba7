#include "popup/information_dlg.hpp"

#include "app/write_log.hpp"
#include "framework/messages.hpp"
#include "popup/alert_popup.hpp"
#include "popup/enter_link.hpp"
#include "res/resource.h"

using korvanel::AlertPage;
using korvanel::PageCounterText;

namespace {

constexpr COLORREF kFace = RGB(216, 237, 248);
constexpr COLORREF kTitleText = RGB(255, 0, 0);
constexpr COLORREF kInfoText = RGB(0, 0, 255);

// The popup's texts and faces by system language: not Chinese, Simplified,
// Traditional, or another Chinese (which gets neither text nor faces).
struct PopupLook {
    const wchar_t* heading;
    const wchar_t* headingFace;
    int headingHeight;
    const wchar_t* textFace;
};

PopupLook LookFor(LANGID language) {
    if (PRIMARYLANGID(language) != LANG_CHINESE) return {L"Message Alerts", L"Arial", 18, L"Arial"};
    switch (SUBLANGID(language)) {
    case SUBLANG_CHINESE_SIMPLIFIED:
        return {L"\u6d88\u606f\u63d0\u9192", L"\u9ed1\u4f53", 20, L"\u5b8b\u4f53"};
    case SUBLANG_CHINESE_TRADITIONAL:
        return {nullptr, nullptr, 0, L"\u5b8b\u9ad4"};
    default:
        return {nullptr, nullptr, 0, nullptr};
    }
}

// Bold, everything else left to the font mapper; no face, no font.
CFont MakeFont(int height, const wchar_t* face) {
    if (!face) return CFont();
    return CFont(CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, face));
}

void SendFont(HWND control, const CFont& font) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
}

void LogLine(const std::wstring& line) { korvanel::WriteLogText(line); }

}  // namespace

CInformationDlg::CInformationDlg() : CDialog(IDD_INFORMATION_DLG) {}

CInformationDlg::~CInformationDlg() {
    if (m_hWnd) ::DestroyWindow(m_hWnd);
}

LRESULT CInformationDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsCtlColorMessage(message)) {
        return BrushResult(OnCtlColor(HdcOf(wParam), HwndOf(lParam), CtlColorType(message)));
    }
    switch (message) {
    case WM_TIMER:
        OnTimer(wParam);
        break;  // and on to the default handling
    case WM_CLOSE:
        OnClose();  // this object is gone now
        return 0;
    case WM_NCHITTEST:
        return OnNcHitTest(wParam, lParam);
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_COMMAND:
        if (IsClicked(wParam, IDC_BUTTON_CLOSE)) {
            OnClose();
            return 0;
        }
        if (IsClicked(wParam, IDC_BUTTON_PRE)) {
            OnBnClickedButtonPre();
            return 0;
        }
        if (IsClicked(wParam, IDC_BUTTON_NE)) {
            OnBnClickedButtonNe();
            return 0;
        }
        break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void CInformationDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_BUTTON_CLOSE, m_btnClose);
    DDX_Control(dx, IDC_BUTTON_PRE, m_btnPre);
    DDX_Control(dx, IDC_BUTTON_NE, m_btnNe);
}

BOOL CInformationDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    RECT window{};
    GetWindowRect(m_hWnd, &window);
    m_motion.emplace(window.right - window.left, window.bottom - window.top);

    const PopupLook look = LookFor(GetSystemDefaultLangID());
    m_staticHeading.SubclassDlgItem(IDC_STATIC_HEADING, *this);
    m_fontHeading = MakeFont(look.headingHeight, look.headingFace);
    if (look.heading) m_staticHeading.SetWindowText(look.heading);
    SendFont(m_staticHeading.GetSafeHwnd(), m_fontHeading);

    // The list holds at least the alert that made the popup.
    const std::optional<AlertPage> page = m_alerts.Latest();
    const AlertPage shown = page.value_or(AlertPage{});

    m_fontTitle = MakeFont(17, look.textFace);
    m_editTitle.SubclassDlgItem(IDC_EDIT_TITLE, *this);
    SendFont(m_editTitle.GetSafeHwnd(), m_fontTitle);
    m_editTitle.SetTextColor(kTitleText);

    m_fontInfo = MakeFont(15, look.textFace);
    m_editInfo.SubclassDlgItem(IDC_EDIT_INFO, *this);
    SendFont(m_editInfo.GetSafeHwnd(), m_fontInfo);
    m_editInfo.SetTextColor(kInfoText);
    m_editInfo.SetBkColor(kFace);

    ShowAlert(shown);

    m_btnClose.LoadBitmaps(IDB_CLOSE, IDB_CLOSE_SEL);
    m_btnClose.SizeToContent();
    m_btnPre.LoadBitmaps(IDB_PRE, IDB_PRE_SEL);
    m_btnPre.SizeToContent();
    m_btnNe.LoadBitmaps(IDB_NE, IDB_NE_SEL);
    m_btnNe.SizeToContent();

    ::SetTimer(m_hWnd, korvanel::IDT_SLIDE_IN, korvanel::kSlideStepMs, nullptr);
    return TRUE;
}

void CInformationDlg::ShowAlert(const AlertPage& page) {
    ::SetDlgItemTextW(m_hWnd, IDC_STATIC_PAGE, PageCounterText(page.current, page.total).c_str());
    m_editTitle.SetWindowText(page.alert.Title);
    m_editTitle.ShowWindow(page.alert.HasTitle ? SW_SHOW : SW_HIDE);
    m_editInfo.SetWindowText(page.alert.Info);
    g_strCurrentLink = page.alert.Link;
    SetupEnterLink(m_hWnd, m_linkLabel);
    if (m_linkLabel.hwnd) ::ShowWindow(m_linkLabel.hwnd, page.alert.HasLink ? SW_SHOW : SW_HIDE);
}

void CInformationDlg::OnBnClickedButtonPre() {
    Invalidate(TRUE);
    if (const auto page = m_alerts.Previous(LogLine)) ShowAlert(*page);
}

void CInformationDlg::OnBnClickedButtonNe() {
    Invalidate(TRUE);
    if (const auto page = m_alerts.Next(LogLine)) ShowAlert(*page);
}

void CInformationDlg::OnClose() {
    // The dialog default (a modeless dialog turns WM_CLOSE into Cancel,
    // which hides it) is superseded: the popup is destroyed right away.
    m_alerts.Clear();
    if (g_pInformationDlg.get() == this) {
        DestroyPopup();
    } else if (m_hWnd) {
        ::DestroyWindow(m_hWnd);
    }
}

void CInformationDlg::OnTimer(UINT_PTR id) {
    if (!m_motion) return;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const korvanel::SlideStep step =
        m_motion->OnTimer(static_cast<unsigned>(id), {work.left, work.top, work.right, work.bottom});
    if (step.killTimer) ::KillTimer(m_hWnd, *step.killTimer);
    if (step.setTimer) ::SetTimer(m_hWnd, *step.setTimer, step.setTimerMs, nullptr);
    if (step.move) {
        ::MoveWindow(m_hWnd, step.move->x, step.move->y, step.move->width, step.move->height, TRUE);
    }
    if (step.invalidate) Invalidate(FALSE);
    if (step.clearAlerts) m_alerts.Clear();
}

void CInformationDlg::OnPaint() {
    CPaintDC dc(m_hWnd);
    RECT client{};
    GetClientRect(m_hWnd, &client);
    CPen black;
    black.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    {
        ScopedSelect pen(dc.get(), black.get());
        ScopedSelect hollow(dc.get(), GetStockObject(NULL_BRUSH));
        Rectangle(dc.get(), client.left, client.top, client.right, client.bottom);
    }
    InflateRect(&client, -1, -1);
    CBrush face;
    face.CreateSolidBrush(kFace);
    FillRect(dc.get(), &client, face.get());
}

HBRUSH CInformationDlg::OnCtlColor(HDC dc, HWND control, UINT type) {
    // The colour controls set their text colours first (reflection); then
    // these texts are made to stand on the window's own face.
    const HBRUSH answer = CDialog::OnCtlColor(dc, control, type);
    switch (GetDlgCtrlID(control)) {
    case IDC_STATIC_HEADING:
    case IDC_EDIT_INFO:
    case IDC_EDIT_TITLE:
    case IDC_STATIC_LINK:
    case IDC_STATIC_PAGE:
        SetBkMode(dc, TRANSPARENT);
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    }
    return answer;
}

LRESULT CInformationDlg::OnNcHitTest(WPARAM wParam, LPARAM lParam) {
    const LRESULT hit = Default(WM_NCHITTEST, wParam, lParam);
    return hit == HTCAPTION ? HTNOWHERE : hit;
}
