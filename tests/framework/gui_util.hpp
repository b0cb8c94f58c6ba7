#pragma once
// Helpers for tests that drive real windows under Wine.
#include <windows.h>

#include <vector>

namespace gui_test {

// Handles everything already queued for this thread.
void Pump();
// The client area as it is on screen, row by row, as COLORREF values.
std::vector<COLORREF> CaptureClient(HWND window);
// A bitmap's pixels in the same layout.
std::vector<COLORREF> BitmapPixels(HBITMAP bitmap);
// Pixels drawn with exactly this colour.
int CountColour(const std::vector<COLORREF>& pixels, COLORREF colour);
int CountChildren(HWND parent);

}  // namespace gui_test
