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

// A one-second countdown started at 5000 (deadline 6000), paused and later resumed: while paused it stands
// still however long the pause, and after the resume it runs on from where it stood. (A pause at the very
// start keeps one clock tick, so that the timer still reads as paused: its times hold to that tick.)
TEST_F(TimerTest, PauseFreezesAndResumeContinues)
{
    const struct
    {
        const char* what;
        int64_t pause_at, resume_at;
        bool expired;    // while paused
        float remaining; // while paused
        int64_t elapsed_ms;
        int64_t expires_at; // after the resume
        int slack;          // clock ticks (ms here) the times may be off by
    } cases[] = {
        {"before its deadline", 5400, 8000, false, 0.6f, 400, 8600, 0},
        {"at its start: still recognisably paused", 5000, 7000, false, 1.0f, 0, 8000, 1},
        {"after its deadline: stays expired", 6500, 9000, true, 0.0f, 1500, 9000, 0},
    };
    for (const auto& c : cases)
    {
        At(5000);
        Vorta_Timer timer;
        timer.Start(1.0f);
        At(c.pause_at);
        timer.Pause();
        EXPECT_TRUE(timer.Paused()) << c.what;
        At(c.resume_at); // long after the pause, and after the deadline
        EXPECT_EQ(timer.Expired(), c.expired) << c.what;
        EXPECT_NEAR(timer.Fraction_Remaining(), c.remaining, 1e-6 + c.slack / 1000.0) << c.what;
        EXPECT_NEAR(timer.Elapsed_Ms(), c.elapsed_ms, c.slack) << c.what;
        timer.Resume();
        EXPECT_FALSE(timer.Paused()) << c.what;
        EXPECT_NEAR(timer.Elapsed_Ms(), c.elapsed_ms, c.slack) << c.what;
        timer.Resume(); // resuming a running timer changes nothing
        EXPECT_NEAR(timer.Elapsed_Ms(), c.elapsed_ms, c.slack) << c.what;
        EXPECT_EQ(timer.Expired(), c.expired) << c.what;
        if (!c.expired)
        {
            At(c.expires_at - 1 - c.slack);
            EXPECT_FALSE(timer.Expired()) << c.what;
        }
        At(c.expires_at);
        EXPECT_TRUE(timer.Expired()) << c.what;
    }
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
