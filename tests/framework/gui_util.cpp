#include "tests/framework/gui_util.hpp"

namespace gui_test {
namespace {
std::vector<COLORREF> ReadDib(HDC source, int x, int y, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = ::CreateCompatibleDC(source);
    HGDIOBJ old = ::SelectObject(memory, dib);
    ::BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
    ::GdiFlush();
    std::vector<COLORREF> pixels(static_cast<size_t>(width) * height);
    const auto* quads = static_cast<const RGBQUAD*>(bits);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = RGB(quads[i].rgbRed, quads[i].rgbGreen, quads[i].rgbBlue);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::DeleteObject(dib);
    return pixels;
}

BOOL CALLBACK CountOne(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}
}  // namespace

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

std::vector<COLORREF> CaptureClient(HWND window) {
    ::UpdateWindow(window);
    RECT client{};
    ::GetClientRect(window, &client);
    HDC dc = ::GetDC(window);
    auto pixels = ReadDib(dc, 0, 0, client.right, client.bottom);
    ::ReleaseDC(window, dc);
    return pixels;
}

std::vector<COLORREF> BitmapPixels(HBITMAP bitmap) {
    BITMAP info{};
    ::GetObjectW(bitmap, sizeof info, &info);
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    auto pixels = ReadDib(memory, 0, 0, info.bmWidth, info.bmHeight);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

int CountColour(const std::vector<COLORREF>& pixels, COLORREF colour) {
    int count = 0;
    for (COLORREF p : pixels) count += p == colour;
    return count;
}

int CountChildren(HWND parent) {
    int count = 0;
    ::EnumChildWindows(parent, &CountOne, reinterpret_cast<LPARAM>(&count));
    return count;
}

}  // namespace gui_test
