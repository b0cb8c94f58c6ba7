// Started by CTest under Wine with a locale in its environment:
//   popup_language_probe <language id, hex> <heading> <heading face> <text face> <picture.bmp>
// Texts are comma-separated hex code points ("-" for none). Shows one alert
// in the real popup, lets it rise, checks the language's heading and faces
// and the placement, and saves a picture of it. Exit code 0 on success.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "popup/alert_popup.hpp"
#include "res/resource.h"

namespace {

std::wstring CodePoints(const wchar_t* arg) {
    std::wstring text;
    if (std::wcscmp(arg, L"-") == 0) return text;
    for (const wchar_t* p = arg; *p;) {
        wchar_t* end = nullptr;
        text += static_cast<wchar_t>(std::wcstoul(p, &end, 16));
        p = *end == L',' ? end + 1 : end;
    }
    return text;
}

std::wstring FaceOf(HWND control) {
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
    if (!font) return L"";
    LOGFONTW info{};
    ::GetObjectW(font, sizeof info, &info);
    return info.lfFaceName;
}

std::wstring TextOf(HWND window) {
    wchar_t text[256] = {};
    ::GetWindowTextW(window, text, 256);
    return text;
}

void Pump(DWORD ms) {
    const DWORD until = ::GetTickCount() + ms;
    while (::GetTickCount() < until) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
        ::Sleep(5);
    }
}

bool SavePicture(HWND window, const std::wstring& path) {
    RECT r{};
    ::GetClientRect(window, &r);
    const int w = r.right, h = r.bottom;
    HDC source = ::GetDC(window);
    HDC memory = ::CreateCompatibleDC(source);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(source, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, dib);
    ::BitBlt(memory, 0, 0, w, h, source, 0, 0, SRCCOPY);
    ::GdiFlush();
    const DWORD stride = ((w * 3 + 3) / 4) * 4;
    const DWORD headers = sizeof(BITMAPFILEHEADER) + sizeof bi.bmiHeader;
    const BITMAPFILEHEADER fh{0x4D42, headers + stride * h, 0, 0, headers};
    bool saved = false;
    if (FILE* f = _wfopen(path.c_str(), L"wb")) {
        saved = fwrite(&fh, sizeof fh, 1, f) == 1 && fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f) == 1 &&
                fwrite(bits, stride * h, 1, f) == 1;
        fclose(f);
    }
    ::SelectObject(memory, old);
    ::DeleteObject(dib);
    ::DeleteDC(memory);
    ::ReleaseDC(window, source);
    return saved;
}

int failures = 0;
void Check(bool ok, const char* what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
    failures += ok ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 6) return 2;
    const auto language = static_cast<LANGID>(std::wcstoul(argv[1], nullptr, 16));
    const std::wstring heading = CodePoints(argv[2]);
    const std::wstring headingFace = CodePoints(argv[3]);
    const std::wstring textFace = CodePoints(argv[4]);
    std::wstring picture = L"Z:";
    for (const wchar_t* p = argv[5]; *p; ++p) picture += *p == L'/' ? L'\\' : *p;

    Check(::GetSystemDefaultLangID() == language, "system language follows the locale");

    korvanel::AlertRecord alert;
    alert.Title = language == 0x0409 ? L"Server maintenance" : L"\u670d\u52a1\u5668\u7ef4\u62a4";
    alert.HasTitle = 1;
    alert.Info = language == 0x0409 ? L"The file server restarts at 22:00. Save your work."
                                    : L"\u6587\u4ef6\u670d\u52a1\u5668\u5c06\u4e8e 22:00 \u91cd\u542f\u3002";
    alert.Link = L"https://intranet.example/tickets?id=42";
    alert.HasLink = 1;
    ShowNewAlert(alert);
    ShowNewAlert(alert);
    if (!g_pInformationDlg) return 3;
    const HWND popup = g_pInformationDlg->GetSafeHwnd();
    Pump(2500);  // 47 steps of 20 ms, with room to spare

    Check(TextOf(::GetDlgItem(popup, IDC_STATIC_HEADING)) == heading, "heading text");
    Check(FaceOf(::GetDlgItem(popup, IDC_STATIC_HEADING)) == headingFace, "heading face");
    Check(FaceOf(::GetDlgItem(popup, IDC_EDIT_TITLE)) == textFace, "title face");
    Check(FaceOf(::GetDlgItem(popup, IDC_EDIT_INFO)) == textFace, "text face");
    Check(TextOf(::GetDlgItem(popup, IDC_STATIC_PAGE)) == L"2/2", "page counter");

    RECT work{}, r{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    ::GetWindowRect(popup, &r);
    Check(r.left == work.right - work.left - (r.right - r.left) - 5, "5 pixels in from the right");
    const int gap = work.bottom - work.top - r.bottom;
    Check(gap > 5 && gap <= 10, "risen to just above the bottom");
    Check((::GetWindowLongW(popup, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, "topmost");

    Check(SavePicture(popup, picture), "picture saved");
    DestroyPopup();
    return failures == 0 ? 0 : 1;
}
