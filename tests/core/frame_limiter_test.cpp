// The frame limiter: frames per second, time scale and frame factor, over a clock set by hand.
#include "engine/core/vorta_window.h"

#include <gtest/gtest.h>

namespace
{
class FrameLimiterTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        saved = g_vorta_clock;
        g_vorta_clock = {6000, 60000}; // 6000 ticks a second: 100 ticks a frame at 60 fps
    }
    void TearDown() override { g_vorta_clock = saved; }
    void Advance(int64_t ticks) { g_vorta_clock.now += ticks; }

    Vorta_Clock saved{};
};

TEST_F(FrameLimiterTest, TimeScaleIsExactlyOneWhenTheSecondTimerExpiresAndInTheNextFrame)
{
    Vorta_Window window(nullptr, 0);
    window.Set_Lock(false);
    window.Limit_Frame(); // first frame: the second timer starts
    EXPECT_FLOAT_EQ(window.Get_Time_Scale(), 1.0f);

    for (int frame = 1; frame < 30; ++frame)
    {
        Advance(200); // frames of 1/30 s
        window.Limit_Frame();
        // The frame after the timer restarted counts as the first of its second.
        EXPECT_NEAR(window.Get_Time_Scale(), frame == 1 ? 1.0f : 2.0f, 1e-4) << frame;
    }
    Advance(200); // exactly the second timer's deadline
    window.Limit_Frame();
    EXPECT_EQ(window.Get_Time_Scale(), 1.0f);
    EXPECT_EQ(window.Get_Fps(), 30u);
    Advance(200);
    window.Limit_Frame();
    EXPECT_EQ(window.Get_Time_Scale(), 1.0f);
    Advance(200);
    window.Limit_Frame();
    EXPECT_NEAR(window.Get_Time_Scale(), 2.0f, 1e-4);
}

// The target rate against the frames' real length, unlocked: the time scale is the frame's length over the
// target's, and the frame factor counts the 1/60 s ticks the frame stands for.
TEST_F(FrameLimiterTest, TimeScaleAndFrameFactorFollowTheFramesRealLength)
{
    const struct
    {
        const char* what;
        float target_fps;
        int64_t frame_ticks; // 100 ticks are 1/60 s
        float time_scale, frame_factor;
    } cases[] = {
        {"steady sixty", 60.0f, 100, 1.0f, 1.0f},
        {"sixty wanted, thirty made", 60.0f, 200, 2.0f, 2.0f},
        {"\"slowdown 30\": thirty wanted and made", 30.0f, 200, 1.0f, 2.0f},
        {"thirty wanted, sixty made", 30.0f, 100, 0.5f, 1.0f},
        {"twenty wanted and made", 20.0f, 300, 1.0f, 3.0f},
    };
    for (const auto& c : cases)
    {
        Vorta_Window window(nullptr, 0);
        window.Set_Target_Fps(c.target_fps);
        window.Set_Lock(false);
        EXPECT_FLOAT_EQ(window.Get_Target_Frame_Time(), 1.0f / c.target_fps) << c.what;
        window.Limit_Frame();
        // Past the first frames of the second, which count a time scale of 1 whatever they took.
        for (int frame = 0; frame < 5; ++frame)
        {
            Advance(c.frame_ticks);
            window.Limit_Frame();
        }
        EXPECT_NEAR(window.Get_Time_Scale(), c.time_scale, 1e-4) << c.what;
        EXPECT_NEAR(window.Get_Frame_Factor(), c.frame_factor, 1e-4) << c.what;
    }
}

TEST_F(FrameLimiterTest, TargetOfZeroOrLessKeepsTimeScaleOneAndNeverWaits)
{
    for (float fps : {0.0f, -5.0f})
    {
        Vorta_Window window(nullptr, 0);
        window.Set_Target_Fps(fps);
        EXPECT_EQ(window.Get_Target_Frame_Time(), 0.0f);
        EXPECT_TRUE(window.Get_Lock()); // locked, yet a frame returns at once: the clock is not sampled
        int64_t before = g_vorta_clock.now;
        for (int frame = 0; frame < 3; ++frame)
        {
            Advance(1000);
            window.Limit_Frame();
            EXPECT_EQ(window.Get_Time_Scale(), 1.0f);
        }
        EXPECT_EQ(g_vorta_clock.now, before + 3000);
    }
}

TEST(FrameLimiterRealClockTest, LockHoldsEachFrameToTheTargetPeriod)
{
    Sample_Clock();
    Vorta_Window window(nullptr, 0);
    window.Set_Target_Fps(200.0f);
    window.Limit_Frame();
    Vorta_Timer watch;
    watch.Reset();
    for (int frame = 0; frame < 4; ++frame)
        window.Limit_Frame();
    Sample_Clock();
    // Four frames of 5 ms each, busy-waited: never shorter than the period.
    EXPECT_GE(watch.Elapsed_Seconds(), 4 * 0.005f * 0.999f);
    EXPECT_GE(window.Get_Time_Scale(), 0.999f);
}
} // namespace
