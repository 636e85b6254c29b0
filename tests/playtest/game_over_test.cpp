// The end of a game: the launcher's countdown runs out (the launch message, the missiles, the buggy they
// destroy, game over and the name entry) in a replay; and in a real game played with key presses under X, a
// name entered in the hiscore table is in its file at once, after the program has ended, and when it starts
// again.
#include "demo_builder.h"
#include "game/app/app.h"
#include "game/hiscores/hiscore_table.h"
#include "support/playtest.h"
#include "support/private_display.h"
#include "support/program_runner.h"
#include "support/requirements.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

using test_support::Demo_Builder;
using test_support::Playtest;
using test_support::Read_File;
using test_support::Trace_Frame;
using test_support::Write_File;

namespace
{
TEST(GameOverPlaytest, TheCountdownRunsOutTheMissilesDestroyTheBuggyAndTheScoreTakesARow)
{
    // A table low enough for the points of a player who stands by the buggy firing at what flies past.
    Demo_Builder demo;
    for (int row = 0; row < 16; ++row)
        demo.Header("hiscore normal " + std::to_string(row) + " " + std::to_string(2000 - 100 * row) + " " +
                    std::to_string(20 - row) + " \"ROW" + std::to_string(row) + "\"");
    demo.Start_Game()
        .Hold("return", 60, 5700)
        // The name entry: right adds a letter, up turns it to the next one; every 0.1 s the stick is read, so
        // each move is held that long. Then fire.
        .Hold("d", 5900, 5904)
        .Hold("w", 5910, 5914)
        .Hold("return", 5920, 5922);
    Playtest game;
    ASSERT_EQ(game.Run(demo.Text(6300)), 0) << game.Output();
    const std::vector<Trace_Frame>& trace = game.Trace();
    ASSERT_EQ(trace.size(), 6300u);

    // 80 seconds after the start the launch message holds the game for 3 seconds; then the two missiles fly.
    const int launch = game.First_Frame_In_State(STATE_PAUSED_MESSAGE);
    EXPECT_EQ(launch, 30 + 80 * 60) << "the countdown is 80 s of 60 fixed frames";
    const int launched = game.First_Frame_In_State(STATE_ON_FOOT, launch);
    EXPECT_EQ(launched - launch, 3 * 60);
    EXPECT_EQ(trace[launched].objects, trace[launched - 1].objects + 2) << trace[launched].line;

    // The homing missile reaches the buggy, which has not moved: all lives go at once.
    const int destroyed = game.First_Frame([](const Trace_Frame& f) { return f.lives[0] == 0; }, launched);
    ASSERT_GT(destroyed, launched) << "the buggy was never destroyed";
    EXPECT_GE(trace[destroyed - 1].lives[0], 1);
    EXPECT_EQ(trace[destroyed].state, STATE_FALLING);
    for (int frame = 30; frame <= destroyed; ++frame)
        ASSERT_EQ(trace[frame].buggy_x, 0.0f) << trace[frame].line;

    // Game over: the score takes a row of the table, the name is entered and the table shown.
    const int entry = game.First_Frame_In_State(STATE_HISCORE_ENTRY, destroyed);
    ASSERT_GT(entry, destroyed);
    EXPECT_EQ(trace[entry - 1].state, STATE_LIFE_LOST);
    EXPECT_GT(trace[entry].score[0], 0);
    EXPECT_LT(entry, 5900) << "the demo types the name too late";
    EXPECT_EQ(game.First_Frame_In_State(STATE_HISCORES, entry), 5920);
    for (int frame = entry; frame < 5920; ++frame)
        ASSERT_EQ(trace[frame].state, STATE_HISCORE_ENTRY) << trace[frame].line;
}

using test_support::Run_Command;

// What the last whole line of a trace being written says of `item` ("state", "score"): the text after
// "item=" up to the next blank, or "" while there is no line yet.
std::string Last_Traced(const std::string& trace_file, const std::string& item)
{
    const std::string text = Read_File(trace_file);
    const size_t end = text.rfind('\n');
    if (end == std::string::npos)
        return "";
    const size_t begin = text.rfind('\n', end - 1);
    const std::string line = text.substr(begin == std::string::npos ? 0 : begin + 1, end - begin);
    const size_t at = line.find(" " + item + "=");
    if (at == std::string::npos)
        return "";
    const size_t value = at + item.size() + 2;
    return line.substr(value, line.find(' ', value) - value);
}

bool Wait_For_Trace(const std::string& trace_file, const std::string& item, const std::string& value,
                    double seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end)
    {
        if (Last_Traced(trace_file, item) == value)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

TEST(GameOverPlaytest, ANameEnteredInARealGameIsInTheTableFileAfterExitAndAtTheNextStart)
{
    if (!test_support::Have_Program("Xvfb") || !test_support::Have_Program("xdotool"))
        VORTA5_SKIP() << "needs Xvfb and xdotool";
    test_support::Private_Display display(1024, 768);
    ASSERT_TRUE(display.Ready());
    Playtest game;
    test_support::Program_Run player(game.Folder());
    Write_File(game.Folder().File("config.txt"), "device 0\ndisplay 0\nscreen_width 640\nscreen_height 480\n"
                                                 "full_screen false\nvsync false\nMSAA false\n");
    // The lowest row holds 0 points, so that any score at all takes a row.
    const std::string table_file = game.Folder().File("hiscores normal.dat");
    Hiscore_Table table;
    Default_Hiscores(table, 1500, 100);
    ASSERT_TRUE(Save_Hiscores(table, table_file.c_str()));

    const std::string trace = game.Folder().File("played.txt");
    player.Capture_Output(game.Folder().File("player.txt"));
    ASSERT_TRUE(player.Start({"DISPLAY=" + display.Name()},
                             {"--record", game.Folder().File("recording.txt"), "--trace", trace}));
    const std::string xdotool = "DISPLAY=" + display.Name() + " xdotool ";
    ASSERT_TRUE(Run_Command(xdotool + "search --sync --name '^Kestrova Reboot$' windowfocus --sync"));
    ASSERT_TRUE(Wait_For_Trace(trace, "state", "0", 30.0)) << Read_File(game.Folder().File("player.txt"));

    // A one-player game; fly to the right on bursts of thrust, firing, until something is shot.
    EXPECT_TRUE(Run_Command(xdotool + "keydown Return sleep 0.1 keyup Return"));
    ASSERT_TRUE(Wait_For_Trace(trace, "state", "4", 10.0));
    EXPECT_TRUE(Run_Command(xdotool + "keydown d keydown Return"));
    bool scored = false;
    for (int burst = 0; burst < 200 && !scored; ++burst)
    {
        Run_Command(xdotool + "keydown w sleep 0.25 keyup w sleep 0.3");
        const std::string score = Last_Traced(trace, "score");
        scored = !score.empty() && score != "0,0";
    }
    EXPECT_TRUE(Run_Command(xdotool + "keyup d keyup Return keyup w"));
    ASSERT_TRUE(scored) << "nothing was shot in 200 bursts";

    // Escape blows the buggy up: game over, and the score takes a row. Up, held half a second, turns the
    // first letter on a few times; fire keeps the name.
    EXPECT_TRUE(Run_Command(xdotool + "keydown Escape sleep 0.1 keyup Escape"));
    ASSERT_TRUE(Wait_For_Trace(trace, "state", "2", 30.0)) << Read_File(trace).substr(0, 2000);
    const std::string score = Last_Traced(trace, "score");
    EXPECT_TRUE(Run_Command(xdotool + "keydown w sleep 0.5 keyup w sleep 0.2"));
    EXPECT_TRUE(Run_Command(xdotool + "keydown Return sleep 0.1 keyup Return"));
    ASSERT_TRUE(Wait_For_Trace(trace, "state", "1", 10.0));
    // Kept on disk as soon as the name stands, while the game still runs.
    const int32_t points = std::atoi(score.c_str()); // "N,0"
    Hiscore_Table on_disk;
    Load_Hiscores(on_disk, table_file.c_str(), 1, 1);
    EXPECT_TRUE(std::any_of(std::begin(on_disk.rows), std::end(on_disk.rows),
                            [points](const Hiscore_Entry& row) { return row.score == points; }))
        << "the new row is not in the file before the program ends";

    // Fire leaves the table for the menu, whose cursor is still on "1 PLAYER": one up is "EXIT".
    EXPECT_TRUE(Run_Command(xdotool + "sleep 0.2 keydown Return sleep 0.1 keyup Return"));
    ASSERT_TRUE(Wait_For_Trace(trace, "state", "0", 10.0));
    EXPECT_TRUE(Run_Command(xdotool + "sleep 0.3 keydown w sleep 0.1 keyup w sleep 0.3"));
    EXPECT_TRUE(Run_Command(xdotool + "keydown Return sleep 0.1 keyup Return"));
    ASSERT_EQ(player.Wait(60.0), 0) << Read_File(game.Folder().File("player.txt"));

    // The file: the new row, above the one with 0 points, with the score of the game and a typed name.
    Load_Hiscores(table, table_file.c_str(), 1, 1);
    int row = 0;
    while (row < HISCORE_ROWS && table.rows[row].score != points)
        ++row;
    ASSERT_LT(row, HISCORE_ROWS) << "no row holds " << points << " points";
    EXPECT_EQ(table.rows[row].level, 0);
    const std::string name = table.rows[row].name;
    ASSERT_FALSE(name.empty());
    EXPECT_NE(name, "A") << "up did not turn the first letter";
    EXPECT_EQ(name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos) << name;
    EXPECT_EQ(table.rows[HISCORE_ROWS - 1].score, 100) << "the row of 0 points fell off the end";

    // Started again, the game reads the table back: the recording's header lists the rows it holds.
    test_support::Program_Run again(game.Folder());
    Write_File(game.Folder().File("config.txt"), "device 0\ndisplay 0\nscreen_width 640\nscreen_height 480\n"
                                                 "full_screen false\nvsync false\nMSAA false\n");
    again.Capture_Output(game.Folder().File("again.txt"));
    ASSERT_TRUE(again.Start({"DISPLAY=" + display.Name()},
                            {"--record", game.Folder().File("header.txt"), "--frames", "5"}));
    ASSERT_EQ(again.Wait(60.0), 0) << Read_File(game.Folder().File("again.txt"));
    const std::string expected =
        "hiscore normal " + std::to_string(row) + " " + std::to_string(points) + " 0 \"" + name + "\"";
    EXPECT_NE(Read_File(game.Folder().File("header.txt")).find(expected), std::string::npos)
        << expected << " is not in\n"
        << Read_File(game.Folder().File("header.txt"));
}
} // namespace
