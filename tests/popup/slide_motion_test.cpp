#include "popup/slide_motion.hpp"

#include <gtest/gtest.h>

namespace korvanel {
namespace {

const WorkArea kScreen{0, 0, 1920, 1040};

// Ticks IDT_SLIDE_IN until it hands over to the hide delay.
int RiseFully(SlideMotion& motion, const WorkArea& area, WindowPlacement* last = nullptr) {
    int moves = 0;
    for (;;) {
        const SlideStep step = motion.OnTimer(IDT_SLIDE_IN, area);
        if (!step.move) {
            EXPECT_EQ(step.killTimer, IDT_SLIDE_IN);
            EXPECT_EQ(step.setTimer, IDT_HIDE_DELAY);
            EXPECT_EQ(step.setTimerMs, 300000u);
            return moves;
        }
        EXPECT_TRUE(step.invalidate);
        if (last) *last = *step.move;
        ++moves;
    }
}

TEST(SlideMotion, RisesOutOfTheBottomRightCorner) {
    SlideMotion motion(330, 228);
    const SlideStep first = motion.OnTimer(IDT_SLIDE_IN, kScreen);
    ASSERT_TRUE(first.move);
    EXPECT_EQ(first.move->x, 1585);
    EXPECT_EQ(first.move->y, 1035);
    EXPECT_EQ(first.move->height, 228);

    WindowPlacement top{};
    EXPECT_EQ(RiseFully(motion, kScreen, &top) + 1, 47);
    EXPECT_EQ(motion.Rise(), 235);
    EXPECT_EQ(top.y, 805);
    EXPECT_EQ(top.y + top.height, 1033);
}

TEST(SlideMotion, PlacementUsesTheWorkAreasSizeNotItsEdges) {
    struct row {
        WorkArea area;
        int x;
        int firstY;
    };
    const row rows[] = {
        {{60, 0, 1920, 1040}, 1525, 1035},   // task bar on the left
        {{0, 40, 1920, 1080}, 1585, 1035},   // task bar at the top
        {{0, 0, 1920, 1080}, 1585, 1075},
    };
    for (const auto& r : rows) {
        SlideMotion motion(330, 228);
        const SlideStep step = motion.OnTimer(IDT_SLIDE_IN, r.area);
        ASSERT_TRUE(step.move);
        EXPECT_EQ(step.move->x, r.x);
        EXPECT_EQ(step.move->y, r.firstY);
    }
}

TEST(SlideMotion, HoldsThenSinksAndShrinksToNothing) {
    SlideMotion motion(330, 228);
    RiseFully(motion, kScreen);

    const SlideStep hide = motion.OnTimer(IDT_HIDE_DELAY, kScreen);
    EXPECT_EQ(hide.killTimer, IDT_HIDE_DELAY);
    EXPECT_EQ(hide.setTimer, IDT_SLIDE_OUT);
    EXPECT_EQ(hide.setTimerMs, 20u);
    EXPECT_FALSE(hide.move);

    int expectedRise = 235;
    for (;;) {
        const SlideStep step = motion.OnTimer(IDT_SLIDE_OUT, kScreen);
        if (!step.move) {
            EXPECT_EQ(step.killTimer, IDT_SLIDE_OUT);
            EXPECT_TRUE(step.clearAlerts);
            break;
        }
        expectedRise -= 5;
        EXPECT_EQ(step.move->height, expectedRise);
        EXPECT_EQ(step.move->y + step.move->height, 1040);  // bottom stays on the base line
        EXPECT_FALSE(step.clearAlerts);
    }
    EXPECT_EQ(motion.Rise(), -5);
}

TEST(SlideMotion, AlertWhileHoldingRestartsTheHoldAtOnce) {
    SlideMotion motion(330, 228);
    RiseFully(motion, kScreen);
    // The new alert sets IDT_SLIDE_IN again; its first tick finds the window
    // risen and starts the five minutes over.
    EXPECT_EQ(RiseFully(motion, kScreen), 0);
    EXPECT_EQ(motion.Rise(), 235);
}

TEST(SlideMotion, AlertDuringSlideOutRisesFromWhereItWas) {
    SlideMotion motion(330, 228);
    RiseFully(motion, kScreen);
    motion.OnTimer(IDT_HIDE_DELAY, kScreen);
    for (int i = 0; i < 10; ++i) motion.OnTimer(IDT_SLIDE_OUT, kScreen);
    ASSERT_EQ(motion.Rise(), 185);

    const SlideStep step = motion.OnTimer(IDT_SLIDE_IN, kScreen);
    ASSERT_TRUE(step.move);
    EXPECT_EQ(motion.Rise(), 190);
    EXPECT_EQ(step.move->height, 228);  // full size again while rising
    EXPECT_EQ(RiseFully(motion, kScreen), 9);
}

TEST(SlideMotion, EmptiedWindowRisesFromTheBottomAgain) {
    SlideMotion motion(330, 228);
    RiseFully(motion, kScreen);
    motion.OnTimer(IDT_HIDE_DELAY, kScreen);
    while (!motion.OnTimer(IDT_SLIDE_OUT, kScreen).clearAlerts) {
    }
    const SlideStep step = motion.OnTimer(IDT_SLIDE_IN, kScreen);
    ASSERT_TRUE(step.move);
    EXPECT_EQ(motion.Rise(), 0);
    EXPECT_EQ(step.move->y, 1040);
}

TEST(SlideMotion, OtherTimersDoNothing) {
    SlideMotion motion(330, 228);
    const SlideStep step = motion.OnTimer(1, kScreen);
    EXPECT_FALSE(step.move || step.killTimer || step.setTimer || step.clearAlerts);
    EXPECT_EQ(motion.Rise(), 0);
}

}  // namespace
}  // namespace korvanel
