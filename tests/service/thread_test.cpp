#include <atomic>

#include <gtest/gtest.h>

#include "service/thread.hpp"

namespace korvanel {
namespace {

// A derived thread whose construction takes a while after the base part is
// done: exactly the window in which a thread started by the base would run
// the empty base Run.
class SlowToBuild final : public CThread {
public:
    explicit SlowToBuild(std::atomic<int>* runs) : CThread(runs) {
        Sleep(50);
        Start();
    }
    void Run() override { static_cast<std::atomic<int>*>(m_pContext)->fetch_add(1); }
};

// Mend: the thread never enters Run before the derived object is complete.
TEST(CThread, RunsTheDerivedRunExactlyOnce) {
    for (int i = 0; i < 5; ++i) {
        std::atomic<int> runs{0};
        SlowToBuild thread(&runs);
        ASSERT_TRUE(thread.WaitFinished(5000));
        EXPECT_EQ(runs.load(), 1);
        EXPECT_TRUE(thread.IsFinished());
    }
}

TEST(CThread, FlagsStartPausedBehindSpinningLocks) {
    std::atomic<int> runs{0};
    SlowToBuild thread(&runs);
    EXPECT_EQ(thread.StopLockSpinCount(), 4000u);
    EXPECT_EQ(thread.PauseLockSpinCount(), 4000u);
    EXPECT_TRUE(thread.IsPauseRequested());
    EXPECT_FALSE(thread.IsPaused());
    thread.SetPause(false);
    EXPECT_FALSE(thread.IsPauseRequested());
    EXPECT_FALSE(thread.IsStopRequested());
    thread.RequestStop();
    EXPECT_TRUE(thread.IsStopRequested());
}

}  // namespace
}  // namespace korvanel
