// Whole games on hand-written demos, judged by their traces: the jet pack's flight and fuel, a rock that
// stops the buggy and the bridge that takes it over, the teleporters, the bomb carried to the missile base,
// and two players taking turns.
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
constexpr float GROUND_Y = 0.88f;   // the pilot's y standing on the floor (wide screen)
constexpr float CEILING_Y = 0.175f; // and the highest he flies, under the HUD

// Plays the demo to its end and hands back the trace, one frame per line.
std::vector<Trace_Frame> Play(Playtest& game, const Demo_Builder& demo, int end_frame)
{
    EXPECT_EQ(game.Run(demo.Text(end_frame)), 0) << game.Output();
    EXPECT_EQ(game.Trace().size(), static_cast<size_t>(end_frame)) << game.Output();
    return game.Trace();
}

TEST(PlayPlaytest, TheJetPackLiftsThePilotToTheCeilingOnFuelAndLandingAtTheBuggyRefuels)
{
    Playtest game;
    Demo_Builder demo;
    demo.Start_Game().Hold("w", 200, 320);
    const std::vector<Trace_Frame> trace = Play(game, demo, 700);
    ASSERT_EQ(trace.size(), 700u);

    EXPECT_EQ(trace[199].pilot_y, GROUND_Y);
    EXPECT_EQ(trace[199].fuel, 1.0f);
    const int top = game.First_Frame([](const Trace_Frame& f) { return f.pilot_y == CEILING_Y; }, 200);
    ASSERT_GT(top, 200) << "the pilot never reached the ceiling";
    EXPECT_LT(top, 320);
    for (int frame = 201; frame < top; ++frame)
        EXPECT_LT(trace[frame].pilot_y, trace[frame - 1].pilot_y) << trace[frame].line;
    // Thrust burns fuel the whole time it is held, at the ceiling too, once he is clear of the buggy (whose
    // tank fills the jet pack's while he is near it).
    for (int frame = 230; frame < 320; ++frame)
        EXPECT_LT(trace[frame].fuel, trace[frame - 1].fuel) << trace[frame].line;
    EXPECT_LT(trace[319].fuel, 0.85f);
    EXPECT_GT(trace[319].fuel, 0.6f);

    // Let go, he falls back beside the buggy, stands on the floor and the tank is full again.
    const int landed = game.First_Frame([](const Trace_Frame& f) { return f.pilot_y == GROUND_Y; }, 320);
    ASSERT_GT(landed, 320) << "the pilot never came down";
    EXPECT_EQ(trace[landed].fuel, 1.0f) << trace[landed].line;
    for (size_t frame = landed; frame < trace.size(); ++frame)
    {
        EXPECT_EQ(trace[frame].state, STATE_ON_FOOT) << trace[frame].line;
        EXPECT_EQ(trace[frame].pilot_y, GROUND_Y) << trace[frame].line;
    }
    EXPECT_EQ(trace.back().lives[0], 3);
}

TEST(PlayPlaytest, ARockStopsTheBuggyUntilABridgeIsLaidOverIt)
{
    Playtest game;
    Demo_Builder demo;
    demo.Start_Game()
        .Hold("rshift", 100, 102) // board
        .Hold("d", 150, 620)      // drive right into the first rock
        .Hold("rshift", 650, 652) // get out
        .Hold("a", 660, 700)      // walk back to the buggy's rear
        .Hold("rshift", 710, 712) // take a bridge
        .Hold("d", 720, 800)      // carry it over the rock
        .Hold("rshift", 805, 807) // and put it down
        .Hold("a", 830, 895)      // back to the buggy
        .Hold("rshift", 910, 912) // board again
        .Hold("d", 930, 1300);    // and drive over
    const std::vector<Trace_Frame> trace = Play(game, demo, 1350);
    ASSERT_EQ(trace.size(), 1350u);

    EXPECT_EQ(trace[105].state, STATE_DRIVING);
    // Held against the rock for the last 60 frames of the drive, the buggy stands still.
    const float rock = trace[619].buggy_x;
    EXPECT_GT(rock, 0.3f);
    EXPECT_LT(rock, 2.0f);
    for (int frame = 560; frame < 620; ++frame)
        EXPECT_NEAR(trace[frame].buggy_x, rock, 1e-4f) << trace[frame].line;

    EXPECT_EQ(trace[655].state, STATE_ON_FOOT);
    // The bridge taken from the buggy is one more object; laid on the floor it becomes part of it. (Aliens
    // come and go meanwhile, so the counts are read where the demo knows there are none on the way.)
    EXPECT_EQ(trace[712].objects, trace[708].objects + 1) << trace[712].line;
    EXPECT_GT(trace[805].pilot_x, rock) << "the pilot carried the bridge past the rock";
    EXPECT_EQ(trace[915].state, STATE_DRIVING);
    EXPECT_EQ(trace[915].objects, trace[708].objects) << trace[915].line;

    // Over the bridge the buggy drives on well past the rock; nobody was hurt on the way.
    EXPECT_GT(trace.back().buggy_x, rock + 0.5f) << trace.back().line;
    for (const Trace_Frame& frame : trace)
        ASSERT_NE(frame.state, STATE_FALLING) << frame.line;
    EXPECT_EQ(trace.back().lives[0], 3);
}

TEST(PlayPlaytest, FireInsideATeleporterSendsThePilotToTheOtherAndBack)
{
    // The shipped level script puts the teleporters at 2.2 and 30. The pilot flies right on bursts of
    // thrust, lands short of the first, walks into it and fires; at the other end he fires again.
    Playtest game;
    Demo_Builder demo;
    demo.Start_Game()
        .Hold("d", 200, 310)
        .Hold("d", 380, 555)
        .Hold("return", 570, 572)
        .Hold("return", 720, 722);
    for (int frame = 200; frame < 310; frame += 35)
        demo.Hold("w", frame, std::min(frame + 15, 310));
    const std::vector<Trace_Frame> trace = Play(game, demo, 900);
    ASSERT_EQ(trace.size(), 900u);

    EXPECT_NEAR(trace[569].pilot_x, 2.2f, 0.01f);
    EXPECT_EQ(trace[569].state, STATE_ON_FOOT);
    // A second and a half in the teleport, the jump to the other teleporter half way through.
    const int there =
        game.First_Frame([](const Trace_Frame& f) { return f.state != STATE_TELEPORTING; }, 570);
    EXPECT_EQ(trace[570].state, STATE_TELEPORTING);
    EXPECT_EQ(there, 570 + 90);
    EXPECT_EQ(trace[there].pilot_x, 30.0f) << trace[there].line;
    EXPECT_EQ(trace[there].state, STATE_ON_FOOT);

    const int back = game.First_Frame([](const Trace_Frame& f) { return f.state != STATE_TELEPORTING; }, 720);
    EXPECT_EQ(trace[720].state, STATE_TELEPORTING);
    EXPECT_EQ(back, 720 + 90);
    EXPECT_EQ(trace[back].pilot_x, 2.2f) << trace[back].line;
    for (const Trace_Frame& frame : trace)
        ASSERT_NE(frame.state, STATE_FALLING) << frame.line;
    EXPECT_EQ(trace.back().pilot_x, 2.2f);
}

TEST(PlayPlaytest, TheBombDroppedOnTheLauncherWinsTheLevelAndANewBaseStands)
{
    // Level 1's launcher lies 4 to the right of the buggy (the shipped level script) and the bomb waits
    // 0.1 on the other side. The pilot takes the bomb, hops to the right on short bursts of thrust, firing
    // at what comes, and lets it go high enough above the launcher for it to go off when it lands.
    Playtest game;
    Demo_Builder demo;
    demo.Start_Game()
        .Hold("a", 100, 180)
        .Hold("rshift", 190, 192) // take the bomb
        .Hold("d", 200, 690)
        .Hold("return", 200, 690);
    for (int frame = 200; frame < 680; frame += 35)
        demo.Hold("w", frame, frame + 15);
    demo.Hold("rshift", 640, 642); // drop it
    const std::vector<Trace_Frame> trace = Play(game, demo, 900);
    ASSERT_EQ(trace.size(), 900u);

    EXPECT_GT(trace[185].pilot_x, 99.8f) << "left of the buggy the floor wraps round to the end of the moon";
    EXPECT_LT(trace[640].pilot_x, 4.0f);
    const int won = game.First_Frame([](const Trace_Frame& f) { return f.level[0] == 1; });
    ASSERT_GT(won, 640) << "the level was never won";
    EXPECT_LT(won, 750);
    EXPECT_GE(trace[won].score[0] - trace[won - 1].score[0], 3000) << trace[won].line;
    EXPECT_EQ(trace[won - 1].level[0], 0);
    // The old base is cleared and a new one, further on, is built at once: a launcher and its Defences.
    EXPECT_GT(trace[won + 5].objects, trace[won - 5].objects) << trace[won + 5].line;
    for (int frame = 30; frame < won; ++frame)
        ASSERT_EQ(trace[frame].lives[0], 3) << trace[frame].line;
    EXPECT_EQ(trace.back().level[0], 1);
    EXPECT_EQ(trace.back().state, STATE_ON_FOOT);
}

TEST(PlayPlaytest, TwoPlayersTakeTurnsEachWithTheirOwnLivesAndScore)
{
    Playtest game;
    Demo_Builder demo;
    demo.Start_Game(2)
        // The first player flies right into a green block and loses a life.
        .Hold("d", 200, 290)
        .Hold("w", 200, 230)
        .Hold("w", 260, 290)
        // The second player flies right, firing, and scores; then ends his game with Escape.
        .Hold("d", 480, 700)
        .Hold("return", 480, 700)
        .Hold("escape", 760, 762)
        // The first player plays on alone, until Escape ends the game.
        .Hold("escape", 1000, 1002);
    for (int frame = 480; frame < 650; frame += 35)
        demo.Hold("w", frame, frame + 15);
    const std::vector<Trace_Frame> trace = Play(game, demo, 1300);
    ASSERT_EQ(trace.size(), 1300u);

    EXPECT_EQ(trace[45].lives[0], 3);
    EXPECT_EQ(trace[45].lives[1], 3) << "a two-player game gives both players their lives";
    const int crash = game.First_Frame([](const Trace_Frame& f) { return f.state == STATE_FALLING; });
    ASSERT_GT(crash, 200);
    EXPECT_EQ(trace[crash].player, 0);
    EXPECT_EQ(trace[crash].lives[0], 2);

    // The turn passes once the crash has been shown, and the second player starts at his own buggy.
    const int second = game.First_Frame([](const Trace_Frame& f) { return f.player == 1; });
    ASSERT_GT(second, crash);
    EXPECT_EQ(trace[second - 1].state, STATE_LIFE_LOST);
    EXPECT_EQ(trace[second].state, STATE_ON_FOOT);
    EXPECT_EQ(trace[second].pilot_x, 0.0f);
    EXPECT_EQ(trace[second].lives[1], 3);
    EXPECT_EQ(trace[second + 1].fuel, 1.0f) << "standing at the buggy fills the tank";
    EXPECT_LT(second, 480) << "the demo's second turn starts too late";
    EXPECT_GT(trace[755].score[1], 0) << trace[755].line;
    EXPECT_EQ(trace[755].score[0], 0) << "points go to the player in turn";

    // Escape ends the second player's game; the first player, the only one left, takes over.
    EXPECT_EQ(trace[765].lives[1], 0);
    const int back = game.First_Frame([](const Trace_Frame& f) { return f.player == 0; }, 765);
    ASSERT_GT(back, 765);
    EXPECT_LT(back, 1000);
    EXPECT_EQ(trace[back].lives[0], 2);
    EXPECT_EQ(trace[back].score[1], trace[755].score[1]);
    for (int frame = back; frame < 1000; ++frame)
        ASSERT_EQ(trace[frame].player, 0) << trace[frame].line;

    // With both out the game is over; neither score makes the default table, so the hiscores show.
    const int over = game.First_Frame([](const Trace_Frame& f) { return f.state == STATE_HISCORES; }, 1000);
    ASSERT_GT(over, 1000);
    EXPECT_EQ(trace[over].lives[0], 0);
}
} // namespace
