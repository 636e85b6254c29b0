// The replayer on rendered output: note frequencies, volume and panning per tick, envelopes, row timing
// of breaks, jumps, loops and delays, and click removal.
#include "xm_test_support.h"

#include <cmath>

namespace
{
constexpr int TICK = 880; // frames per tick at 44000 Hz and tempo 125
constexpr int ROW = 6 * TICK;

// Output of a constant sample of value 64 (0.5) at full volume, centre panning, master 64.
constexpr double FULL = 0.5 * (46341.0 / 65536.0) * 10922.667;

// A one-channel song with a constant-value instrument.
Xm_Writer Constant_Song(int rows = 16)
{
    Xm_Writer w;
    w.channels = 1;
    w.Add_Pattern(rows);
    w.Add_Constant_Instrument(64);
    return w;
}

int Left_At(const std::vector<int16_t>& out, int frame)
{
    return out[2 * static_cast<size_t>(frame)];
}

TEST_F(Xm_Test, Notes_Play_At_Their_Frequencies)
{
    struct Case
    {
        bool linear;
        int note;
        int8_t finetune;
        int8_t relative;
        double hz;
    } cases[] = {
        {true, 49, 0, 0, 8363},                                     // C-4
        {true, 61, 0, 0, 16726},                                    // C-5
        {true, 49, 0, 12, 16726},                                   // C-4 a relative octave up
        {true, 58, 0, 0, 14064},
        {true, 49, 127, 0, 8363 * std::pow(2.0, 127.0 / 128 / 12)}, // finetune in 1/128 semitones
        {true, 49, -100, 0, 8363 * std::pow(2.0, -100.0 / 128 / 12)},
        {false, 49, 0, 0, 8363}, // Amiga periods: C-4 is period 1712
        {false, 37, 0, 0, 4181.5},
    };
    for (const Case& c : cases)
    {
        Xm_Writer w = Constant_Song();
        w.linear = c.linear;
        w.instruments[0].samples[0].finetune = c.finetune;
        w.instruments[0].samples[0].relative_note = c.relative;
        w.Cell(0, 0, 0) = {static_cast<uint8_t>(c.note), 1, 0, 0, 0};
        ASSERT_TRUE(Load(w));
        Render(TICK);
        double hz = g_xm_player.Replayer().Channel(0).voices[0].step * 44000.0;
        EXPECT_NEAR(c.hz, hz, c.hz * 0.002) << "note " << c.note << (c.linear ? " linear" : " Amiga");
    }
}

TEST_F(Xm_Test, Volume_Changes_Reach_Their_Level_Within_The_Tick)
{
    struct Case
    {
        const char* what;
        Xm_Cell cell;
        int levels[6]; // channel volume at the end of ticks 0 to 5
    } cases[] = {
        {"volume slide down A04", {49, 1, 0x50, 0x0A, 0x04}, {64, 60, 56, 52, 48, 44}},
        {"volume slide up A20 from 16", {49, 1, 0x20, 0x0A, 0x20}, {16, 18, 20, 22, 24, 26}},
        {"set volume C20", {49, 1, 0, 0x0C, 0x20}, {32, 32, 32, 32, 32, 32}},
        {"fine slide down EB8", {49, 1, 0, 0x0E, 0xB8}, {56, 56, 56, 56, 56, 56}},
        {"volume column slide down 0x62", {49, 1, 0x62, 0, 0}, {64, 62, 60, 58, 56, 54}},
        {"note cut EC2", {49, 1, 0, 0x0E, 0xC2}, {64, 64, 0, 0, 0, 0}},
        {"tremor T11 (on 2, off 2)", {49, 1, 0, 29, 0x11}, {64, 64, 0, 0, 64, 64}},
    };
    for (const Case& c : cases)
    {
        Xm_Writer w = Constant_Song();
        w.Cell(0, 0, 0) = c.cell;
        ASSERT_TRUE(Load(w));
        std::vector<int16_t> out = Render(ROW);
        for (int t = 0; t < 6; ++t)
            EXPECT_NEAR(FULL * c.levels[t] / 64.0, Left_At(out, (t + 1) * TICK - 1), 6.0)
                << c.what << ", tick " << t;
    }
}

TEST_F(Xm_Test, Master_Volume_Is_Play_Volume_Times_64)
{
    Xm_Writer w = Constant_Song();
    w.Cell(0, 0, 0) = {49, 1, 0, 0, 0};
    ASSERT_TRUE(Load(w));
    std::vector<int16_t> out = Render(TICK, 0.5f);
    EXPECT_EQ(32, g_xm_player.Replayer().Master_Volume());
    EXPECT_NEAR(FULL / 2, Left_At(out, TICK - 1), 2.0);
}

TEST_F(Xm_Test, Panning_Follows_The_Square_Root_Law)
{
    for (int pan : {0, 64, 128, 255})
    {
        Xm_Writer w = Constant_Song();
        w.Cell(0, 0, 0) = {49, 1, 0, 0x08, static_cast<uint8_t>(pan)};
        ASSERT_TRUE(Load(w));
        std::vector<int16_t> out = Render(TICK);
        double scale = 0.5 * 10922.667;
        EXPECT_NEAR(scale * std::sqrt((256 - pan) / 256.0), out[2 * (TICK - 1)], 2.0) << pan;
        EXPECT_NEAR(scale * std::sqrt(pan / 256.0), out[2 * (TICK - 1) + 1], 2.0) << pan;
    }
}

TEST_F(Xm_Test, Envelopes_Sustain_Until_Key_Off_Then_Fade)
{
    Xm_Writer w = Constant_Song();
    Xm_Writer_Instrument& ins = w.instruments[0];
    ins.volume_points = {{0, 64}, {2, 32}, {4, 0}};
    ins.volume_type = 1 | 2; // on, sustain at point 1
    ins.volume_sustain = 1;
    ins.fadeout = 8192; // a quarter of full volume per tick
    w.Cell(0, 0, 0) = {49, 1, 0, 0, 0};
    w.Cell(0, 1, 0) = {97, 0, 0, 0, 0};
    ASSERT_TRUE(Load(w));
    std::vector<int16_t> out = Render(2 * ROW);
    // Tick 0: 64, tick 1: 48, ticks 2-5: held at the sustain level 32.
    const int held[] = {64, 48, 32, 32, 32, 32};
    for (int t = 0; t < 6; ++t)
        EXPECT_NEAR(FULL * held[t] / 64.0, Left_At(out, (t + 1) * TICK - 1), 2.0) << "tick " << t;
    // After key off the envelope runs on (16, then 0) and fade-out scales it (3/4, 2/4).
    EXPECT_NEAR(FULL * 16 / 64.0 * 0.75, Left_At(out, ROW + TICK - 1), 2.0);
    EXPECT_NEAR(0.0, Left_At(out, ROW + 2 * TICK - 1), 2.0);
}

TEST_F(Xm_Test, Breaks_Jumps_Loops_And_Delays_Move_The_Row)
{
    struct Case
    {
        const char* what;
        void (*write)(Xm_Writer&);
        int first_sound; // frame at which the note marking the target row starts
    } cases[] = {
        {"break D01 on row 2 to row 1 of the next pattern",
         [](Xm_Writer& w)
         {
             w.Cell(0, 2, 0) = {0, 0, 0, 0x0D, 0x01};
             w.Cell(1, 1, 0) = {49, 1, 0, 0, 0};
         },
         3 * ROW},
        {"jump B02 on row 1 to position 2",
         [](Xm_Writer& w)
         {
             w.Cell(0, 1, 0) = {0, 0, 0, 0x0B, 0x02};
             w.Cell(1, 0, 0) = {49, 1, 0, 0, 0}; // skipped
             w.Cell(0, 0, 0) = {0, 0, 0x10, 0, 0};
             w.Cell(2, 0, 0) = {49, 1, 0, 0, 0};
         },
         2 * ROW},
        {"pattern delay EE2 holds row 0 for three rows",
         [](Xm_Writer& w)
         {
             w.Cell(0, 0, 0) = {0, 0, 0, 0x0E, 0xE2};
             w.Cell(0, 1, 0) = {49, 1, 0, 0, 0};
         },
         3 * ROW},
        {"note delay ED3",
         [](Xm_Writer& w) {
             w.Cell(0, 1, 0) = {49, 1, 0, 0x0E, 0xD3};
         },
         ROW + 3 * TICK},
        {"speed F03 shortens the rows",
         [](Xm_Writer& w)
         {
             w.Cell(0, 0, 0) = {0, 0, 0, 0x0F, 0x03};
             w.Cell(0, 2, 0) = {49, 1, 0, 0, 0};
         },
         2 * 3 * TICK},
        {"pattern loop E60/E62 plays rows 1-2 three times, then row 3",
         [](Xm_Writer& w)
         {
             w.Cell(0, 1, 0) = {0, 0, 0, 0x0E, 0x60};
             w.Cell(0, 2, 0) = {0, 0, 0, 0x0E, 0x62};
             w.Cell(0, 3, 0) = {49, 1, 0, 0, 0};
         },
         (1 + 3 * 2) * ROW},
    };
    for (const Case& c : cases)
    {
        Xm_Writer w = Constant_Song(4);
        w.Add_Pattern(4);
        w.Add_Pattern(4);
        w.orders = {0, 1, 2};
        c.write(w);
        ASSERT_TRUE(Load(w));
        std::vector<int16_t> out = Render(10 * ROW);
        EXPECT_EQ(c.first_sound, First_Sound(out)) << c.what;
    }
}

TEST_F(Xm_Test, The_Song_Loops_From_The_Restart_Position)
{
    Xm_Writer w = Constant_Song(2);
    w.Add_Pattern(2);
    w.Cell(0, 0, 0).volume = 0x10;
    w.Cell(1, 0, 0).volume = 0x10;
    w.orders = {0, 1};
    w.restart = 1;
    ASSERT_TRUE(Load(w));
    Render(5 * ROW + TICK);
    const XM_Replayer& r = g_xm_player.Replayer();
    EXPECT_EQ(4 * ROW, r.First_Wrap_Frame());
    EXPECT_EQ(1, r.Song_Position()); // rows 0.0 0.1 1.0 1.1, then 1.0 1.1 again
    EXPECT_EQ(1, r.Wrap_Count());
}

TEST_F(Xm_Test, A_New_Note_Ramps_The_Old_One_Out_On_The_Second_Voice)
{
    Xm_Writer w = Constant_Song();
    w.Cell(0, 0, 0) = {49, 1, 0, 0, 0};
    w.Cell(0, 1, 0) = {49, 1, 0, 0, 0};
    ASSERT_TRUE(Load(w));
    Render(ROW);
    const XM_Channel& ch = g_xm_player.Replayer().Channel(0);
    EXPECT_FALSE(ch.voices[1].active);
    std::vector<int16_t> out = Continue(100); // the second note starts at the first frame
    EXPECT_TRUE(ch.voices[1].active);
    EXPECT_TRUE(ch.voices[0].active);
    // Both voices together keep the level steady through the cross-fade.
    EXPECT_NEAR(FULL, out[2 * 99], 2.0);
    Continue(200); // 300 frames: past the 220-frame ramp
    EXPECT_FALSE(ch.voices[1].active);
}

TEST_F(Xm_Test, Stop_Silences_And_Play_Starts_Again)
{
    Xm_Writer w = Constant_Song();
    w.Cell(0, 0, 0) = {49, 1, 0, 0, 0};
    ASSERT_TRUE(Load(w));
    std::vector<int16_t> first = Render(2000);
    g_xm_player.Stop();
    EXPECT_TRUE(g_xm_player.Is_Silent());
    EXPECT_EQ(-1, First_Sound(Continue(2000)));
    EXPECT_EQ(first, Render(2000));
}
} // namespace
