// The fixed-step clock: the step that keeps the time scale at exactly 1, frames and timers that count whole
// periods, pacing in real time for a player, and the main loop on it with a frame hook.
#include "engine/core/run_settings.h"
#include "engine/core/vorta_callbacks.h"
#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/core/vorta_viewport.h"
#include "engine/core/vorta_window.h"
#include "engine/render/d3d_device.h"
#include "platform/clock.h"
#include "platform/os_window.h"
#include "support/requirements.h"

#include <gtest/gtest.h>

namespace
{
float Seconds(int64_t ticks, int64_t frequency)
{
    return static_cast<float>(static_cast<double>(ticks) / static_cast<double>(frequency));
}

TEST(FixedStepTest, AStepMeasuresExactlyThePeriodWhereAnyWholeNumberOfTicksDoes)
{
    struct Case
    {
        float period;
        int64_t frequency;
    } cases[] = {{1.0f / 60.0f, 1000000000},  {1.0f / 60.0f, 6000}, {1.0f / 30.0f, 1000000000},
                 {1.0f / 144.0f, 1000000000}, {1.0f / 60.0f, 1000}, {0.5f, 3}};
    for (const Case& c : cases)
    {
        const int64_t ticks = Fixed_Step_Ticks(c.period, c.frequency);
        const double exact = static_cast<double>(c.period) * static_cast<double>(c.frequency);
        SCOPED_TRACE(testing::Message() << c.period << " s at " << c.frequency << " Hz: " << ticks);
        EXPECT_LE(std::abs(static_cast<double>(ticks) - exact), 1.0);
        if (Seconds(ticks, c.frequency) != c.period)
        {
            // No whole number of ticks measures the period: the shortest one that is not below it, so that
            // a limiter waiting for the period never needs a second step.
            for (int64_t other = ticks - 2; other <= ticks + 2; ++other)
                EXPECT_NE(Seconds(other, c.frequency), c.period) << other;
            EXPECT_GT(Seconds(ticks, c.frequency), c.period);
            EXPECT_LT(Seconds(ticks - 1, c.frequency), c.period);
        }
    }
    EXPECT_EQ(Fixed_Step_Ticks(1.0f / 60.0f, 6000), 100);
    EXPECT_EQ(Fixed_Step_Ticks(0.0f, 1000000000), 0);
    EXPECT_EQ(Fixed_Step_Ticks(1.0f / 60.0f, 0), 0);
}

class FixedClockTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        saved_clock = g_vorta_clock;
        saved_run = g_vorta_run;
        g_vorta_run.real_time_pacing = false;
        platform::Start_Fixed_Clock(12345 * g_vorta_clock.frequency);
        Sample_Clock();
    }
    void TearDown() override
    {
        platform::Stop_Fixed_Clock();
        g_vorta_clock = saved_clock;
        g_vorta_run = saved_run;
    }

    Vorta_Clock saved_clock{};
    Vorta_Run_Settings saved_run;
};

TEST_F(FixedClockTest, EveryFrameIsOnePeriodSoTimersCountWholeFrames)
{
    Vorta_Window window(nullptr, 0); // locked at 60 frames a second, as the game's window is
    const int64_t step = Fixed_Step_Ticks(window.Get_Target_Frame_Time(), g_vorta_clock.frequency);
    const int64_t start = g_vorta_clock.now;
    Vorta_Timer countdown, stopwatch;
    countdown.Start(1.0f);
    stopwatch.Reset();
    for (int frame = 1; frame <= 180; ++frame)
    {
        Step_Clock(window.Get_Target_Frame_Time());
        // A limiter that waited for the clock here would never return: it stands still while it waits.
        window.Limit_Frame();
        ASSERT_EQ(g_vorta_clock.now, start + frame * step) << frame;
        ASSERT_EQ(window.Get_Time_Scale(), 1.0f) << frame;
        ASSERT_EQ(window.Get_Frame_Factor(), 1.0f) << frame;
        EXPECT_EQ(countdown.Expired(), frame >= 60) << frame;
    }
    EXPECT_EQ(stopwatch.Elapsed_Ms(), 3000);
    EXPECT_EQ(window.Get_Fps(), 60u);

    // The console's "slowdown 30": each pass is then a thirtieth, and a frame stands for two.
    window.Set_Target_Fps(30.0f);
    window.Set_Lock(false);
    for (int frame = 0; frame < 3; ++frame)
    {
        Step_Clock(window.Get_Target_Frame_Time());
        window.Limit_Frame();
    }
    EXPECT_EQ(window.Get_Time_Scale(), 1.0f);
    EXPECT_FLOAT_EQ(window.Get_Frame_Factor(), 2.0f);
}

TEST_F(FixedClockTest, APlayersFramesStillTakeTheirPeriodInRealTime)
{
    g_vorta_run.real_time_pacing = true;
    Vorta_Window window(nullptr, 0);
    window.Set_Target_Fps(200.0f);
    const int64_t game_start = g_vorta_clock.now;
    Step_Clock(window.Get_Target_Frame_Time());
    window.Limit_Frame();
    const int64_t real_start = platform::Clock_Ticks();
    for (int frame = 0; frame < 4; ++frame)
    {
        Step_Clock(window.Get_Target_Frame_Time());
        window.Limit_Frame();
        EXPECT_EQ(window.Get_Time_Scale(), 1.0f);
    }
    EXPECT_GE(Seconds(platform::Clock_Ticks() - real_start, platform::Clock_Frequency()),
              4 * 0.005f * 0.999f);
    // The game's clock moved by the five steps alone, however long they really took.
    EXPECT_EQ(g_vorta_clock.now - game_start, 5 * Fixed_Step_Ticks(0.005f, g_vorta_clock.frequency));
}

class FixedClockEngineTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        saved_clock = g_vorta_clock;
        saved_run = g_vorta_run;
        g_vorta_run = Vorta_Run_Settings();
        g_vorta_run.fixed_clock = true;
        g_vorta_log.Set_Flags(LOG_FILE);
    }
    void TearDown() override
    {
        g_vorta_run = saved_run;
        g_vorta_clock = saved_clock;
    }

    Vorta_Clock saved_clock{};
    Vorta_Run_Settings saved_run;
};

TEST_F(FixedClockEngineTest, TheEngineStartsTheClockAtOneReadingAndStopsItAgain)
{
    for (int run = 0; run < 2; ++run)
    {
        Vorta_Engine* engine = new Vorta_Engine();
        EXPECT_TRUE(platform::Fixed_Clock_On());
        EXPECT_EQ(g_vorta_clock.now, FIXED_CLOCK_START_SECONDS * g_vorta_clock.frequency);
        delete engine;
        EXPECT_FALSE(platform::Fixed_Clock_On());
    }
}

// Counts frames, checks each one's frame factor, and ends the loop after a number of frames; it asks for
// every other frame to be drawn.
class Counting_Game : public Vorta_Callbacks, public Vorta_Frame_Hook
{
  public:
    void Update(Vorta_Window* window) override
    {
        ++updates;
        if (window->Get_Frame_Factor() != 1.0f)
            ++uneven_frames;
        if (updates == 1)
            countdown.Start(0.5f);
        if (!countdown.Expired())
            last_frame_before_expiry = updates;
    }
    bool Draw_Frame(Vorta_Window* window) override
    {
        asked_frames += window->Get_Device() != nullptr;
        return updates % 2 == 1;
    }
    void Frame_Done(Vorta_Window* /*window*/) override
    {
        if (++done == 120)
            g_vorta_engine->Request_Quit();
    }

    int updates = 0, done = 0, asked_frames = 0, uneven_frames = 0, last_frame_before_expiry = 0;
    Vorta_Timer countdown;
};

TEST_F(FixedClockEngineTest, TheMainLoopRunsFrameExactWithTheHookEndingIt)
{
    Counting_Game game;
    g_vorta_run.real_time_pacing = false;
    g_vorta_run.frame_hook = &game;
    {
        Vorta_Engine engine;
        if (!engine.Init("", "config.txt") || !engine.Get_Window_Class().Registered() ||
            !engine.Create_Device(0))
            GTEST_SKIP() << "no display to open windows on: " << platform::Last_Window_Error();
        {
            Vorta_Window* window =
                engine.Create_Window(0, 0, 320, 180, false, 60, false, false, "fixed clock");
            ASSERT_NE(window, nullptr);
            window->Get_Viewport(0)->Set_Callbacks(&game);
            const int64_t start = g_vorta_clock.now;
            engine.Main_Loop();
            EXPECT_EQ(game.done, 120);
            EXPECT_EQ(game.updates, 120);
            EXPECT_EQ(game.asked_frames, 120);
            EXPECT_EQ(game.uneven_frames, 0);
            // Started in frame 1, a half-second countdown runs out at the start of frame 31.
            EXPECT_EQ(game.last_frame_before_expiry, 30);
            EXPECT_EQ(g_vorta_clock.now - start,
                      120 * Fixed_Step_Ticks(1.0f / 60.0f, g_vorta_clock.frequency));
            EXPECT_FALSE(window->Get_Device()->Gpu().Output_Discarded()); // never left on after a frame
        }
    }
}
} // namespace
