#pragma once

#include <optional>

namespace korvanel {

// The popup's timers. Setting a timer that already runs restarts it.
enum PopupTimer : unsigned {
    IDT_SLIDE_IN = 10,
    IDT_SLIDE_OUT = 11,
    IDT_HIDE_DELAY = 12,
};
constexpr unsigned kSlideStepMs = 20;
constexpr unsigned kHideDelayMs = 300000;
constexpr int kSlideStepPixels = 5;

struct WorkArea {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct WindowPlacement {
    int x = 0, y = 0, width = 0, height = 0;
};

// What one timer tick asks of the window; the window glue carries it out.
struct SlideStep {
    std::optional<unsigned> killTimer;
    std::optional<unsigned> setTimer;
    unsigned setTimerMs = 0;
    std::optional<WindowPlacement> move;
    bool invalidate = false;    // the whole window, without erase
    bool clearAlerts = false;   // the slide-out has ended
};

// The popup rises out of the work area's bottom-right corner 5 pixels every
// 20 ms, holds, then sinks and shrinks back below the base line.
//
// Placement uses the work area's width and height, not its right and bottom
// edges: a work area that does not start at 0,0 shifts the window by its
// offsets. Kept as the notifier has always placed it.
class SlideMotion {
public:
    SlideMotion(int width, int height) : m_nWidth(width), m_nHeight(height) {}

    SlideStep OnTimer(unsigned timerId, const WorkArea& area);

    int Rise() const { return m_nRise; }
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }

private:
    int m_nWidth;
    int m_nHeight;
    int m_nRise = 0;  // how far the window's top stands above the base line
};

}  // namespace korvanel
