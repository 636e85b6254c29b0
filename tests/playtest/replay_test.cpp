// Whole-game runs on recorded input: a hand-written demo through the menu, a game recorded under X with
// real key presses that replays headless to the same trace (at another window size too), random input
// that replays the same, grabs of a headless run, and a run cut short.
#include "game/app/app.h"
#include "platform/image_file.h"
#include "support/playtest.h"
#include "support/private_display.h"
#include "support/program_runner.h"
#include "support/requirements.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

using test_support::Playtest;
using test_support::Read_File;
using test_support::Write_File;

namespace
{
using test_support::Run_Command;

// Small and without multisampling: the recorded run draws every frame on the software renderer.
const char* const k_small_config = "device 0\ndisplay 0\nscreen_width 640\nscreen_height 480\n"
                                   "full_screen false\nvsync false\nMSAA false\n";
const char* const k_large_config = "device 0\ndisplay 0\nscreen_width 1920\nscreen_height 1080\n"
                                   "full_screen false\nvsync false\nMSAA false\n";

std::vector<std::string> Lines(const std::vector<test_support::Trace_Frame>& trace)
{
    std::vector<std::string> lines;
    for (const test_support::Trace_Frame& frame : trace)
        lines.push_back(frame.line);
    return lines;
}

TEST(PlaytestTest, ReturnOnTheMainMenuStartsAOnePlayerGame)
{
    Playtest game;
    ASSERT_EQ(game.Run("kestrova-demo 1\n"
                       "# Return on \"1 PLAYER\", where the menu's cursor starts\n"
                       "30 +return\n"
                       "32 -return\n"
                       "120 end\n"),
              0)
        << game.Output();
    ASSERT_EQ(game.Trace().size(), 120u);
    for (int frame = 0; frame < 30; ++frame)
        EXPECT_EQ(game.Trace()[frame].state, 0) << game.Trace()[frame].line;
    EXPECT_EQ(game.First_Frame_In_State(4), 30) << game.Trace()[30].line;
    const test_support::Trace_Frame& start = game.Trace()[30];
    EXPECT_EQ(start.player, 0);
    EXPECT_EQ(start.score[0], 0);
    EXPECT_EQ(start.lives[1], 0) << "a one-player game leaves the second player out";
    EXPECT_EQ(start.fuel, 1.0f);
}

TEST(PlaytestTest, AGameRecordedWithRealKeyPressesReplaysHeadlessToTheSameTrace)
{
    if (!test_support::Have_Program("Xvfb") || !test_support::Have_Program("xdotool"))
        VORTA5_SKIP() << "needs Xvfb and xdotool";
    test_support::Private_Display display(1024, 768);
    ASSERT_TRUE(display.Ready());
    Playtest game;
    const std::string config = game.Folder().File("config.txt");
    const std::string recording = game.Folder().File("recording.txt");
    Write_File(config, k_small_config);

    // Recorded on a visible window at 60 frames a second, with keys pressed on the X server.
    test_support::Program_Run player(game.Folder());
    Write_File(config, k_small_config); // the copy above brought the default settings back
    player.Capture_Output(game.Folder().File("player.txt"));
    ASSERT_TRUE(
        player.Start({"DISPLAY=" + display.Name()}, {"--record", recording, "--trace",
                                                     game.Folder().File("played.txt"), "--frames", "900"}));
    const std::string xdotool = "DISPLAY=" + display.Name() + " xdotool ";
    ASSERT_TRUE(Run_Command(xdotool + "search --sync --name '^Kestrova Reboot$' windowfocus --sync"));
    EXPECT_TRUE(Run_Command(xdotool + "key --delay 120 Return Down Up a"));
    EXPECT_TRUE(Run_Command(xdotool + "keydown d sleep 0.3 keyup d mousemove --window $(" + xdotool +
                            "search --name '^Kestrova Reboot$' | head -1) 320 240 click 1"));
    ASSERT_EQ(player.Wait(120.0), 0) << Read_File(game.Folder().File("player.txt"));

    const std::string recorded = Read_File(recording);
    for (const char* item :
         {"window 640 480", "wide_screen 0", "difficulty 1", "controls left=a right=d", "+return", "-return",
          "+down", "+up", "+a", "+d", "-d", "mouse=0.5,0.5", "+mouse0", "900 end"})
        EXPECT_NE(recorded.find(item), std::string::npos) << item << " is not in the recording:\n"
                                                          << recorded;
    const std::vector<std::string> played = Lines(test_support::Read_Trace(game.Folder().File("played.txt")));
    ASSERT_EQ(played.size(), 900u);

    // Headless, as fast as it goes: the same trace, frame for frame; recorded again, the same file.
    const std::string again = game.Folder().File("again.txt");
    ASSERT_EQ(game.Run_With({"--headless", "--replay", recording, "--trace", game.Folder().File("trace.txt"),
                             "--record", again},
                            game.Folder().File("trace.txt")),
              0)
        << game.Output();
    EXPECT_EQ(Lines(game.Trace()), played);
    EXPECT_EQ(Read_File(again), recorded);

    // At another window size (and wide screen at that): the header keeps the game as it was recorded.
    Write_File(config, k_large_config);
    ASSERT_EQ(game.Run_With({"--headless", "--replay", recording, "--trace", game.Folder().File("trace.txt")},
                            game.Folder().File("trace.txt")),
              0)
        << game.Output();
    EXPECT_EQ(Lines(game.Trace()), played);
}

TEST(PlaytestTest, RandomInputReplaysTheSameForItsSeed)
{
    Playtest game;
    Write_File(game.Folder().File("config.txt"), k_small_config);
    std::vector<std::string> runs[2];
    for (std::vector<std::string>& run : runs)
    {
        ASSERT_EQ(game.Run_With({"--headless", "--replay", "random:7", "--frames", "3000", "--trace",
                                 game.Folder().File("trace.txt")},
                                game.Folder().File("trace.txt")),
                  0)
            << game.Output();
        run = Lines(game.Trace());
    }
    ASSERT_EQ(runs[0].size(), 3000u);
    EXPECT_EQ(runs[0], runs[1]);
    EXPECT_GE(game.First_Frame_In_State(4), 0) << "the random input started no game in 3000 frames";
}

platform::Decoded_Image Decode(const std::string& file)
{
    const std::string bytes = Read_File(file);
    platform::Decoded_Image image;
    EXPECT_TRUE(platform::Decode_Image(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), image))
        << file;
    return image;
}

TEST(PlaytestTest, AHeadlessRunDrawsTheFramesItGrabsAsAFullyDrawnRunDoes)
{
    Playtest game;
    Write_File(game.Folder().File("config.txt"), k_small_config);
    // The console, opened and asked for its commands, is drawn whatever the game draws.
    const std::string demo = "kestrova-demo 1\n"
                             "5 +f1\n6 -f1\n"
                             "20 +h\n21 -h +e\n22 -e +l\n23 -l +p\n24 -p +return\n25 -return\n"
                             "90 end\n";
    ASSERT_EQ(game.Run(demo, {"--grab-at", "10,60,89"}), 0) << game.Output();
    ASSERT_EQ(game.Run(demo, {"--grab-at", "10,60,89", "--draw-all"}), 0) << game.Output();
    for (const std::string frame : {"000010", "000060", "000089"})
    {
        const platform::Decoded_Image skipping =
            Decode(game.Folder().File(("frame " + frame + " 0-000.jpg").c_str()));
        const platform::Decoded_Image drawing =
            Decode(game.Folder().File(("frame " + frame + " 0-001.jpg").c_str()));
        ASSERT_EQ(skipping.desc.width, 640u) << frame;
        ASSERT_EQ(skipping.desc.height, 480u) << frame;
        ASSERT_EQ(drawing.bytes.size(), skipping.bytes.size()) << frame;
        // The console's title bar shows the processor's real load, which no clock makes the same: the rest,
        // from the second row of the picture's 16-pixel blocks down, is the same to the byte.
        const size_t row = 640 * 4;
        EXPECT_TRUE(std::equal(skipping.bytes.begin() + 32 * row, skipping.bytes.end(),
                               drawing.bytes.begin() + 32 * row))
            << frame;
        if (frame == "000060")
        {
            int bright = 0;
            for (size_t i = 32 * row; i < skipping.bytes.size(); i += 4)
                bright +=
                    skipping.bytes[i] > 128 || skipping.bytes[i + 1] > 128 || skipping.bytes[i + 2] > 128;
            EXPECT_GT(bright, 200) << "the console's text is in the grab";
        }
    }
}

TEST(PlaytestTest, AReplayLeavesThePlayersFilesAsTheyWere)
{
    Playtest game;
    const std::string names[] = {"config.txt", "controls.txt", "hiscores easy.dat", "hiscores normal.dat"};
    const std::string contents[] = {std::string(k_small_config) + "// the player's own\n",
                                    "key_left    \"a\"\r\n// the player's own\r\n", std::string(384, '\x5A'),
                                    std::string(384, '\xA5')};
    for (int i = 0; i < 4; ++i)
        Write_File(game.Folder().File(names[i].c_str()), contents[i]);
    ASSERT_EQ(game.Run("kestrova-demo 1\n30 +return\n31 -return\n120 end\n"), 0) << game.Output();
    ASSERT_EQ(game.Run_With({"--headless", "--replay", "random:5", "--frames", "2000"}), 0) << game.Output();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Read_File(game.Folder().File(names[i].c_str())), contents[i]) << names[i];
}

TEST(PlaytestTest, NamesEnteredInAReplayAreNotSaved)
{
    test_support::Scratch_Folder folder;
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    {
        App app;
        app.save_files = false;
        app.game_state = STATE_HISCORE_ENTRY;
        app.new_entry_row = 0;
        app.current_player_index = 1;
        app.player = &app.players[1];
        app.controls.fire_frames = 1;
        app.Name_Entry_Update();
        EXPECT_EQ(app.game_state, STATE_HISCORES);
    }
    std::filesystem::current_path(previous);
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "hiscores normal.dat"));
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "hiscores easy.dat"));
}

TEST(PlaytestTest, ARunCutShortEndsWithItsOwnCode)
{
    Playtest game;
    Write_File(game.Folder().File("config.txt"), k_small_config);
    test_support::Program_Run program(game.Folder());
    Write_File(game.Folder().File("config.txt"), k_small_config);
    const std::string trace = game.Folder().File("trace.txt");
    program.Capture_Output(game.Folder().File("output.txt"));
    ASSERT_TRUE(
        program.Start({}, {"--headless", "--replay", "random:1", "--frames", "100000000", "--trace", trace}));
    for (int wait = 0; wait < 600 && Read_File(trace).size() < 1000; ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    program.Signal();
    EXPECT_EQ(program.Wait(60.0), 4);
    EXPECT_NE(game.Output().find("kestrova: the run ended after "), std::string::npos) << game.Output();
    EXPECT_NE(game.Output().find(" of its 100000000 frames"), std::string::npos) << game.Output();
}
} // namespace
