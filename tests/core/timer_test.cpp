// Vorta_Timer over a clock that the tests set by hand.
#include "engine/core/vorta_timer.h"

#include <gtest/gtest.h>

namespace
{
class TimerTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        saved = g_vorta_clock;
        g_vorta_clock = {1000, 5000}; // 1000 ticks a second
    }
    void TearDown() override { g_vorta_clock = saved; }
    void At(int64_t now) { g_vorta_clock.now = now; }

    Vorta_Clock saved{};
};

TEST_F(TimerTest, ClearedTimerIsExpiredWithNothingElapsedOrRemaining)
{
    Vorta_Timer timer;
    timer.Start(5.0f);
    timer.Clear();
    At(0);
    EXPECT_TRUE(timer.Expired());
    EXPECT_EQ(timer.Elapsed_Ms(), 0);
    EXPECT_FLOAT_EQ(timer.Fraction_Remaining(), 0.0f);
    EXPECT_FALSE(timer.Paused());
}

TEST_F(TimerTest, CountdownRunsDownToItsDeadline)
{
    Vorta_Timer timer;
    timer.Start(2.0f); // deadline 7000
    struct Case
    {
        int64_t now;
        bool expired;
        float remaining;
        int64_t elapsed_ms;
    } cases[] = {{5000, false, 1.0f, 0},
                 {5500, false, 0.75f, 500},
                 {6999, false, 0.0005f, 1999},
                 {7000, true, 0.0f, 2000},
                 {9000, true, 0.0f, 4000}};
    for (const Case& c : cases)
    {
        At(c.now);
        EXPECT_EQ(timer.Expired(), c.expired) << c.now;
        EXPECT_NEAR(timer.Fraction_Remaining(), c.remaining, 1e-6) << c.now;
        EXPECT_NEAR(timer.Progress(), 1.0f - c.remaining, 1e-6) << c.now;
        EXPECT_EQ(timer.Elapsed_Ms(), c.elapsed_ms) << c.now;
    }
    At(9000);
    timer.Restart();
    EXPECT_FALSE(timer.Expired());
    At(11000);
    EXPECT_TRUE(timer.Expired());
}

TEST_F(TimerTest, StopwatchIsAlwaysExpiredAndMeasuresSeconds)
{
    Vorta_Timer watch;
    watch.Reset();
    At(5250);
    EXPECT_TRUE(watch.Expired());
    EXPECT_FLOAT_EQ(watch.Elapsed_Seconds(), 0.25f);
    EXPECT_FLOAT_EQ(watch.Fraction_Remaining(), 0.0f);
}

TEST_F(TimerTest, PauseFreezesAndResumeContinues)
{
    Vorta_Timer timer;
    timer.Start(1.0f); // deadline 6000
    At(5400);
    timer.Pause();
    EXPECT_TRUE(timer.Paused());
    At(8000); // long after the deadline while paused
    EXPECT_FALSE(timer.Expired());
    EXPECT_NEAR(timer.Fraction_Remaining(), 0.6f, 1e-6);
    EXPECT_EQ(timer.Elapsed_Ms(), 400);
    timer.Resume();
    EXPECT_FALSE(timer.Paused());
    EXPECT_EQ(timer.Elapsed_Ms(), 400);
    At(8599);
    EXPECT_FALSE(timer.Expired());
    At(8600);
    EXPECT_TRUE(timer.Expired());
}

TEST_F(TimerTest, PausedAtItsStartIsStillRecognisablyPaused)
{
    Vorta_Timer timer;
    timer.Start(1.0f);
    timer.Pause(); // nothing elapsed yet
    EXPECT_TRUE(timer.Paused());
    At(7000);
    EXPECT_FALSE(timer.Expired());
    timer.Resume();
    EXPECT_FALSE(timer.Paused());
}

TEST_F(TimerTest, CountdownPausedAfterItsDeadlineStaysExpiredAfterResume)
{
    Vorta_Timer timer;
    timer.Start(1.0f);
    At(6500);
    timer.Pause();
    EXPECT_TRUE(timer.Expired());
    EXPECT_FLOAT_EQ(timer.Fraction_Remaining(), 0.0f);
    At(9000);
    timer.Resume();
    EXPECT_TRUE(timer.Expired());
    // Resuming a running timer changes nothing.
    timer.Resume();
    EXPECT_EQ(timer.Elapsed_Ms(), 1500);
}

TEST_F(TimerTest, WithoutAClockFrequencyNothingDividesByZero)
{
    g_vorta_clock.frequency = 0;
    Vorta_Timer timer;
    timer.Start(1.0f);
    At(9000);
    EXPECT_EQ(timer.Elapsed_Ms(), 0);
    EXPECT_FLOAT_EQ(timer.Elapsed_Seconds(), 0.0f);
    EXPECT_FLOAT_EQ(timer.Fraction_Remaining(), 0.0f);
    EXPECT_TRUE(timer.Expired());
}

TEST(ClockTest, SampleClockMovesForwardAtNanosecondResolution)
{
    int64_t first = Sample_Clock();
    int64_t second = Sample_Clock();
    EXPECT_GE(second, first);
    EXPECT_EQ(g_vorta_clock.now, second);
    EXPECT_EQ(g_vorta_clock.frequency, 1000000000);
}
} // namespace
