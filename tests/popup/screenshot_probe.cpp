// Draws the popup's template with its colour controls, bitmap buttons and
// "Click to enter" label in the system language, and saves the window as a
// 24-bit BMP (argument 1). For looking at the controls, not a test.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "framework/bitmap_button.hpp"
#include "framework/dialog.hpp"
#include "framework/gdi.hpp"
#include "popup/color_controls.hpp"
#include "popup/enter_link.hpp"
#include "res/resource.h"

namespace {

constexpr COLORREF kFace = RGB(216, 237, 248);

class CPreviewDlg : public CDialog {
public:
    CPreviewDlg() : CDialog(IDD_INFORMATION_DLG) {}

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(m_hWnd, &ps);
            RECT r;
            GetClientRect(m_hWnd, &r);
            CPen black;
            black.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
            HGDIOBJ old = SelectObject(dc, black.get());
            Rectangle(dc, r.left, r.top, r.right, r.bottom);
            SelectObject(dc, old);
            InflateRect(&r, -1, -1);
            CBrush face;
            face.CreateSolidBrush(kFace);
            FillRect(dc, &r, face.get());
            EndPaint(m_hWnd, &ps);
            return 0;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT: {
            const LRESULT brush = CDialog::WindowProc(message, wParam, lParam);
            switch (GetDlgCtrlID(reinterpret_cast<HWND>(lParam))) {
            case 220: case 221: case 222: case 224: case 228:
                SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
                return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
            }
            return brush;
        }
        }
        return CDialog::WindowProc(message, wParam, lParam);
    }

    CColorStaticST heading;
    CColorEditST title;
    CColorEditST info;
    CBitmapButton close, pre, next;
    LinkLabel link;
    CFont headingFont, titleFont, infoFont;

protected:
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Control(dx, IDC_BUTTON_CLOSE, close);
        DDX_Control(dx, IDC_BUTTON_PRE, pre);
        DDX_Control(dx, IDC_BUTTON_NE, next);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        const LANGID lang = GetSystemDefaultLangID();
        const bool simplified = PRIMARYLANGID(lang) == 4 && SUBLANGID(lang) == 2;
        const auto font = [](int height, const wchar_t* face) {
            return CFont(CreateFontW(height, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 0, face));
        };
        heading.SubclassDlgItem(IDC_STATIC_HEADING, *this);
        headingFont = font(simplified ? 20 : 18, simplified ? L"\u9ed1\u4f53" : L"Arial");
        heading.SetWindowText(simplified ? L"\u6d88\u606f\u63d0\u9192" : L"Message Alerts");
        SendDlgItemMessageW(m_hWnd, IDC_STATIC_HEADING, WM_SETFONT,
                            reinterpret_cast<WPARAM>(headingFont.get()), TRUE);
        SetDlgItemTextW(m_hWnd, IDC_STATIC_PAGE, L"2/3");
        titleFont = font(17, simplified ? L"\u5b8b\u4f53" : L"Arial");
        title.SubclassDlgItem(IDC_EDIT_TITLE, *this);
        title.SetWindowText(simplified ? L"\u670d\u52a1\u5668\u7ef4\u62a4" : L"Server maintenance");
        SendDlgItemMessageW(m_hWnd, IDC_EDIT_TITLE, WM_SETFONT,
                            reinterpret_cast<WPARAM>(titleFont.get()), TRUE);
        title.SetTextColor(RGB(255, 0, 0));
        infoFont = font(15, simplified ? L"\u5b8b\u4f53" : L"Arial");
        info.SubclassDlgItem(IDC_EDIT_INFO, *this);
        info.SetWindowText(simplified ? L"\u670d\u52a1\u5668\u5c06\u4e8e 22:00 \u91cd\u542f\u3002"
                                      : L"The file server restarts at 22:00.\r\nSave your work.");
        SendDlgItemMessageW(m_hWnd, IDC_EDIT_INFO, WM_SETFONT,
                            reinterpret_cast<WPARAM>(infoFont.get()), TRUE);
        info.SetTextColor(RGB(0, 0, 255));
        info.SetBkColor(kFace);
        g_strCurrentLink = L"http://intranet/tickets?id=42";
        SetupEnterLink(m_hWnd, link);
        if (link.hwnd) ::ShowWindow(link.hwnd, SW_SHOW);
        close.LoadBitmaps(IDB_CLOSE, IDB_CLOSE_SEL);
        close.SizeToContent();
        pre.LoadBitmaps(IDB_PRE, IDB_PRE_SEL);
        pre.SizeToContent();
        next.LoadBitmaps(IDB_NE, IDB_NE_SEL);
        next.SizeToContent();
        return TRUE;
    }
};

bool SaveBmp(HWND window, const wchar_t* path) {
    RECT r;
    GetClientRect(window, &r);
    const int w = r.right, h = r.bottom;
    HDC source = GetDC(window);
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(source, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, w, h, source, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD stride = ((w * 3 + 3) / 4) * 4;
    BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(sizeof fh + sizeof bi.bmiHeader + stride * h), 0, 0,
                        static_cast<DWORD>(sizeof fh + sizeof bi.bmiHeader)};
    FILE* f = _wfopen(path, L"wb");
    if (f) {
        fwrite(&fh, sizeof fh, 1, f);
        fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f);
        fwrite(bits, stride * h, 1, f);
        fclose(f);
    }
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(window, source);
    return f != nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    CPreviewDlg dialog;
    if (!dialog.Create()) return 1;
    SetWindowPos(dialog.GetSafeHwnd(), HWND_TOPMOST, 100, 100, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    const DWORD until = GetTickCount() + 700;
    while (GetTickCount() < until) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(10);
    }
    return SaveBmp(dialog.GetSafeHwnd(), argv[1]) ? 0 : 1;
}
