#include "popup/slide_motion.hpp"

namespace korvanel {

SlideStep SlideMotion::OnTimer(unsigned timerId, const WorkArea& area) {
    const int x = area.right - area.left - m_nWidth - 5;
    const int baseLine = area.bottom - area.top;
    SlideStep step;
    switch (timerId) {
    case IDT_SLIDE_IN:
        if (m_nRise > m_nHeight + 5) {
            step.killTimer = IDT_SLIDE_IN;
            step.setTimer = IDT_HIDE_DELAY;
            step.setTimerMs = kHideDelayMs;
        } else {
            m_nRise += kSlideStepPixels;
            step.move = WindowPlacement{x, baseLine - m_nRise, m_nWidth, m_nHeight};
            step.invalidate = true;
        }
        break;
    case IDT_SLIDE_OUT:
        if (m_nRise < 0) {
            step.killTimer = IDT_SLIDE_OUT;
            step.clearAlerts = true;
        } else {
            m_nRise -= kSlideStepPixels;
            // Bottom edge stays on the base line; the last step asks for a
            // height of -5, which leaves no visible area.
            step.move = WindowPlacement{x, baseLine - m_nRise, m_nWidth, m_nRise};
        }
        break;
    case IDT_HIDE_DELAY:
        step.killTimer = IDT_HIDE_DELAY;
        step.setTimer = IDT_SLIDE_OUT;
        step.setTimerMs = kSlideStepMs;
        break;
    default:
        break;
    }
    return step;
}

}  // namespace korvanel
