// Whole games around the missile base: the gun fetched through the teleporters, mounted on the buggy and
// turned on the homing missile, which wins the level; and the buggy driven over two bridges into the reach of
// a Defence, which ends the game.
#include "demo_builder.h"
#include "game/app/app.h"
#include "support/playtest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using test_support::Demo_Builder;
using test_support::Playtest;
using test_support::Trace_Frame;

namespace
{
// Bursts of thrust, 15 frames in every 35, from `from` up to `to`.
void Hops(Demo_Builder& demo, int from, int to)
{
    for (int frame = from; frame < to; frame += 35)
        demo.Hold("w", frame, std::min(frame + 15, to));
}

TEST(MissionPlaytest, TheGunMountedOnTheBuggyShootsTheHomingMissileDownAndWinsTheLevel)
{
    // The gun waits beside the far teleporter (30.04 in the shipped level script).
    Playtest game;
    Demo_Builder demo;
    demo.Start_Game()
        .Hold("d", 200, 310)        // fly right,
        .Hold("d", 380, 555)        // walk into the teleporter at 2.2
        .Hold("return", 570, 572)   // and fire: off to 30
        .Hold("rshift", 670, 672)   // take the gun
        .Hold("return", 690, 692)   // and back to 2.2 with it
        .Hold("a", 820, 980)        // fly back over the buggy
        .Hold("rshift", 1034, 1036) // let the gun fall onto its mount
        .Hold("d", 1060, 1084)      // walk to the buggy
        .Hold("rshift", 1090, 1092) // board
        .Hold("d", 1100, 1104)      // a touch to the right turns the buggy and the gun round
        .At(1110, "+return");       // and fire the gun from then on
    Hops(demo, 200, 310);
    Hops(demo, 820, 975);
    // When the missile comes, up for one frame in five keeps the barrel a degree or two above level.
    for (int frame = 5200; frame < 5930; frame += 5)
        demo.Hold("w", frame, frame + 1);
    ASSERT_EQ(game.Run(demo.Text(6100)), 0) << game.Output();
    const std::vector<Trace_Frame>& trace = game.Trace();
    ASSERT_EQ(trace.size(), 6100u);

    EXPECT_EQ(trace[660].pilot_x, 30.0f);
    EXPECT_EQ(trace[780].pilot_x, 2.2f) << "carrying the gun does not stop the teleporters";
    EXPECT_EQ(trace[1095].state, STATE_DRIVING);
    // The mounted gun fires while the buggy stands: friendly plasma balls fill the air.
    EXPECT_GE(trace[1200].plasma, 5) << trace[1200].line;

    // The two teleports held the countdown for 1.5 s each: the launch comes 3 s later than 80 s.
    const int launch = game.First_Frame_In_State(STATE_PAUSED_MESSAGE);
    EXPECT_EQ(launch, 30 + 83 * 60);

    // The homing missile takes 12 hits (level + 10 hit points, 2 a plasma ball): 200 points a hit, 500 for
    // the missile, and the next level.
    const int won = game.First_Frame([](const Trace_Frame& f) { return f.level[0] == 1; }, launch);
    ASSERT_GT(won, launch) << "the missile was never shot down";
    int hits = 0;
    for (int frame = launch + 1; frame < won; ++frame)
        hits += (trace[frame].score[0] - trace[frame - 1].score[0]) % 100 == 0 &&
                trace[frame].score[0] - trace[frame - 1].score[0] >= 200;
    EXPECT_GE(hits, 4) << "plasma hits on the missile, 200 points each";
    EXPECT_GE(trace[won].score[0] - trace[won - 1].score[0], 700) << trace[won].line;
    // A new base stands at once (its launcher and Defences), and the buggy survived.
    EXPECT_GT(trace[won].objects, trace[won - 1].objects) << trace[won].line;
    for (int frame = 30; frame < static_cast<int>(trace.size()); ++frame)
        ASSERT_EQ(trace[frame].lives[0], 3) << trace[frame].line;
    EXPECT_EQ(trace.back().state, STATE_DRIVING);
}

TEST(MissionPlaytest, TheBuggyDrivenIntoTheReachOfADefenceIsDestroyedAndTheGameEnds)
{
    // Level 1's first Defence stands 0.2 short of the launcher at 4. Two obstacles lie on the way; each is
    // bridged the same way: out, back to the buggy's rear for a bridge, over the obstacle, drop it, back, in.
    Playtest game;
    Demo_Builder demo;
    demo.Start_Game().Hold("rshift", 100, 102).Hold("d", 150, 556);
    const auto bridge = [&demo](int t0)
    {
        demo.Hold("rshift", t0, t0 + 2)
            .Hold("a", t0 + 10, t0 + 50)
            .Hold("rshift", t0 + 60, t0 + 62)
            .Hold("d", t0 + 70, t0 + 150)
            .Hold("rshift", t0 + 155, t0 + 157)
            .Hold("a", t0 + 180, t0 + 245)
            .Hold("rshift", t0 + 260, t0 + 262);
    };
    bridge(558);
    demo.Hold("d", 838, 2158);
    bridge(2360);
    demo.At(2640, "+d");
    ASSERT_EQ(game.Run(demo.Text(3300)), 0) << game.Output();
    const std::vector<Trace_Frame>& trace = game.Trace();
    ASSERT_EQ(trace.size(), 3300u);

    // Stopped twice, bridged twice, driven on.
    EXPECT_EQ(trace[557].state, STATE_DRIVING);
    EXPECT_LT(trace[557].buggy_x, 1.0f);
    EXPECT_EQ(trace[2359].state, STATE_DRIVING);
    EXPECT_GT(trace[2359].buggy_x, 2.5f);
    EXPECT_LT(trace[2359].buggy_x, 3.5f);
    EXPECT_EQ(trace[2650].state, STATE_DRIVING);

    const int destroyed = game.First_Frame([](const Trace_Frame& f) { return f.lives[0] == 0; }, 2640);
    ASSERT_GT(destroyed, 2640) << "the buggy was never destroyed";
    EXPECT_EQ(trace[destroyed - 1].lives[0], 3) << "all lives go with the buggy";
    EXPECT_EQ(trace[destroyed - 1].state, STATE_DRIVING);
    EXPECT_EQ(trace[destroyed].state, STATE_FALLING);
    // Within one and a half pilot widths of the Defence at 3.8.
    EXPECT_NEAR(trace[destroyed].buggy_x, 3.8f - 1.5f * 0.055f, 0.01f) << trace[destroyed].line;
    // The game is over; no name entry for a score that does not make the table.
    EXPECT_GT(game.First_Frame_In_State(STATE_HISCORES, destroyed), destroyed);
}
} // namespace
