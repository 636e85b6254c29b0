// The console: scroll-back and scrolling, the toggle key, completion and recall, and the five commands.
#include "fake_host.h"

#include "engine/core/config_list.h"
#include "engine/gui/con_cmd.h"
#include "engine/gui/console.h"
#include "engine/gui/intuition.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
class ConsoleTest : public ::testing::Test
{
  protected:
    ConsoleTest() : gui(&host), console(new Console(&gui)) {}

    // One frame with these keys held (each one frame longer than before).
    void Frame(std::initializer_list<int> keys)
    {
        host.Hold(keys);
        gui.Update();
        gui.Draw();
    }
    void Press(int code)
    {
        Frame({code});
        Frame({});
    }
    void Show()
    {
        if (console->Is_Hidden())
            Press(console->Get_Toggle_Key());
    }
    // True when some line among the newest `lines` equals the text.
    bool Has_Line(const std::string& text, int lines = 40) const
    {
        for (int i = 0; i < lines; ++i)
            if (text == console->Get_Line(i))
                return true;
        return false;
    }

    Fake_Host host;
    Intuition gui;
    Console* console; // owned by the manager
};

TEST_F(ConsoleTest, StartsHiddenWithTheBannerAndItsCommands)
{
    EXPECT_TRUE(console->Is_Hidden());
    EXPECT_EQ(gui.Get_Root().Get_Child(0), console);
    const char* banner[] = {"|c255255000DirectX 11, Release mode, 64 bit",
                            "|c255255255------------------------------------------------------------",
                            "|c255255000Comand list:",
                            "|t|c000255255help",
                            "|t|c000255255pads",
                            "|t|c000255255slowdown",
                            "|t|c000255255exec",
                            "|t|c000255255vars"};
    for (int i = 0; i < 8; ++i)
        EXPECT_STREQ(console->Get_Line(7 - i), banner[i]);
    EXPECT_EQ(std::string(console->Get_Line(8)).rfind("|c255255000Vorta5", 0), 0u);
    EXPECT_STREQ(console->Get_Title()->Get_Line(0), "Console v1.2");
    EXPECT_STREQ(console->Get_CLI()->Get_Name(), "Console - CLI");
    EXPECT_NEAR(console->Get_Size().x, 1.25f * host.aspect, 1e-6);
    // With offset 0 the newest line is at the bottom of the display.
    EXPECT_STREQ(console->Get_Display()->Get_Line(29), "|t|c000255255vars");
}

TEST_F(ConsoleTest, ToggleKeyShowsRaisesAndFocusesThenHides)
{
    Gdt_Window* other = new Gdt_Window(&gui);
    other->Set_Depth(50);
    gui.Add(other);
    Press(59);
    EXPECT_FALSE(console->Is_Hidden());
    EXPECT_FALSE(console->Get_CLI()->Is_Hidden());
    EXPECT_EQ(console->Get_Depth(), 51);
    EXPECT_EQ(gui.Get_Focus(), console->Get_CLI());
    Press(59);
    EXPECT_TRUE(console->Is_Hidden());
    EXPECT_EQ(gui.Get_Focus(), nullptr);

    // The close button hides it as well.
    Press(59);
    Gui_Rect close = console->Get_Close()->Get_Rect();
    Gui_Vec2 at{close.x + 0.001f, close.y + 0.001f};
    host.Mouse_Down(at);
    Frame({});
    host.Mouse_Up(at);
    Frame({});
    EXPECT_TRUE(console->Is_Hidden());
}

TEST_F(ConsoleTest, AnotherToggleKeyCanBeGiven)
{
    Console second(&gui, 41);
    EXPECT_EQ(second.Get_Toggle_Key(), 41);
    EXPECT_EQ(Console(nullptr, 0).Get_Toggle_Key(), 59);

    // The "console" setting names the key; a name that is no key leaves F1.
    const struct
    {
        const char* name;
        int key;
    } cases[] = {{"grave", 41}, {"F2", 60}, {"np7", 71}, {"nokey", 59}};
    test_support::Scratch_Folder folder;
    for (const auto& c : cases)
    {
        g_vorta_config.Clear();
        test_support::Write_File(folder.File("config.txt"), std::string("console ") + c.name + "\n");
        ASSERT_TRUE(Load_Config(g_vorta_config, folder.File("config.txt").c_str()));
        EXPECT_EQ(Console(nullptr, 0).Get_Toggle_Key(), c.key) << c.name;
    }
    g_vorta_config.Clear();
}

TEST_F(ConsoleTest, TypedLineRunsOnReturnAndClears)
{
    Show();
    for (int code : {35, 18, 38, 25}) // h e l p
        Press(code);
    EXPECT_STREQ(console->Get_CLI()->Get_Text(), "help");
    Press(28);
    EXPECT_STREQ(console->Get_CLI()->Get_Text(), "");
    EXPECT_STREQ(console->Get_Line(0), "|t|c000255255vars");
    EXPECT_STREQ(console->Get_Line(7), "|c255255000DirectX 11, Release mode, 64 bit");
    EXPECT_STREQ(console->Get_Line(9), "help"); // the echo, before the banner
    EXPECT_STREQ(console->Get_Last_Command(), "help");

    // An unknown name only echoes, and is not remembered.
    console->Run_Line("nonsense 1 2");
    EXPECT_STREQ(console->Get_Line(0), "nonsense 1 2");
    EXPECT_STREQ(console->Get_Last_Command(), "help");
}

TEST_F(ConsoleTest, ScrollBackKeepsTheNewest1024LinesCutTo160Characters)
{
    for (int i = 1; i <= 1025; ++i)
        console->Print("line %d", i);
    EXPECT_STREQ(console->Get_Line(0), "line 1025");
    EXPECT_STREQ(console->Get_Line(1023), "line 2"); // line 1 was overwritten
    std::string longest(200, 'x');
    console->Add_Line(longest.c_str());
    EXPECT_EQ(std::string(console->Get_Line(0)), std::string(160, 'x'));
    console->Add_Line(std::string(160, 'y').c_str());
    EXPECT_EQ(std::string(console->Get_Line(0)), std::string(160, 'y'));
    EXPECT_STREQ(console->Get_Line(2), "line 1025");
}

TEST_F(ConsoleTest, ScrollingStaysBetweenZeroAnd994)
{
    for (int i = 0; i < 1024; ++i)
        console->Print("%d", i);
    Show();
    Press(200); // up
    EXPECT_EQ(console->Get_Scroll(), 1);
    EXPECT_STREQ(console->Get_Display()->Get_Line(29), "1022");
    for (int i = 0; i < 40; ++i)
        Press(201); // page up
    EXPECT_EQ(console->Get_Scroll(), Console::MAX_SCROLL);
    EXPECT_STREQ(console->Get_Display()->Get_Line(0), "0"); // the oldest line at the top
    Press(209);                                             // page down
    EXPECT_EQ(console->Get_Scroll(), 964);
    for (int i = 0; i < 40; ++i)
        Press(209);
    Press(208); // down
    EXPECT_EQ(console->Get_Scroll(), 0);
    EXPECT_STREQ(console->Get_Display()->Get_Line(29), "1023");
}

TEST_F(ConsoleTest, TabRecallsTheLastCommandAndCompletesNames)
{
    Show();
    Press(15);
    EXPECT_STREQ(console->Get_CLI()->Get_Text(), ""); // nothing ran yet
    for (int code : {31, 38})                         // s l
        Press(code);
    Press(15);
    EXPECT_STREQ(console->Get_CLI()->Get_Text(), "slowdown");
    EXPECT_EQ(console->Get_CLI()->Get_Cursor(), 8);

    const struct
    {
        const char* line;
        int cursor;
        const char* completed;
    } cases[] = {
        {"EX", 2, "exec"},            // any case
        {"x he", 4, "x help"},        // the word at the cursor, after the last space
        {"he tail", 2, "help tail"},  // the text after the cursor stays
        {"zz", 2, "zz"},              // no command starts so
        {"vars ", 5, "vars "},        // an empty word completes nothing
        {"slowdownx", 9, "slowdownx"} // longer than every name
    };
    for (const auto& c : cases)
    {
        console->Get_CLI()->Set_Text(c.line);
        console->Get_CLI()->Set_Cursor(c.cursor);
        console->Complete();
        EXPECT_STREQ(console->Get_CLI()->Get_Text(), c.completed) << c.line;
    }

    console->Run_Line("slowdown 45");
    console->Get_CLI()->Clear();
    Press(15);
    EXPECT_STREQ(console->Get_CLI()->Get_Text(), "slowdown 45");
}

TEST_F(ConsoleTest, SlowdownSetsTheFramePeriodAndTheLock)
{
    host.lock = false;
    console->Run_Line("SLOWDOWN 30 true");
    EXPECT_FLOAT_EQ(host.target_fps, 30.0f);
    EXPECT_TRUE(host.lock);
    console->Run_Line("slowdown 0");
    EXPECT_FLOAT_EQ(host.target_fps, 30.0f);
    EXPECT_FALSE(host.lock);
    console->Run_Line("slowdown 20 1");
    EXPECT_FLOAT_EQ(host.target_fps, 20.0f);
    EXPECT_TRUE(host.lock);
    console->Run_Line("slowdown 25 yes");
    EXPECT_FALSE(host.lock);
    console->Run_Line("slowdown");
    EXPECT_STREQ(console->Get_Line(1), "|c255255000Usage:");
    EXPECT_STREQ(console->Get_Line(0), "|t|c000255255slowdown <fps> <lock>");
}

TEST_F(ConsoleTest, VarsListsWritesAndRejectsBadIndices)
{
    uint8_t small = 7;
    int16_t shortish = -3;
    float speed = 1.5f;
    double precise = 2.0;
    float point[3] = {1.0f, 2.0f, 3.0f};
    ASSERT_TRUE(console->Add_Var("small", CON_U8, &small));
    ASSERT_TRUE(console->Add_Var("short", CON_S16, &shortish));
    ASSERT_TRUE(console->Add_Var("speed", CON_FLOAT, &speed));
    ASSERT_TRUE(console->Add_Var("precise", CON_DOUBLE, &precise));
    ASSERT_TRUE(console->Add_Var("point", CON_FLOAT3, point));
    EXPECT_EQ(console->Get_Var(5).type, CON_EMPTY);

    console->Run_Line("vars");
    EXPECT_STREQ(console->Get_Line(4), "0|tsmall|t|t7");
    EXPECT_STREQ(console->Get_Line(3), "1|tshort|t|t-3");
    EXPECT_STREQ(console->Get_Line(2), "2|tspeed|t|t1.5000");
    EXPECT_STREQ(console->Get_Line(0), "4|tpoint|t|t1.0000,  2.0000,  3.0000");

    console->Run_Line("vars 0 300"); // stored in eight bits
    EXPECT_EQ(small, 44);
    console->Run_Line("vars 1 -32000");
    EXPECT_EQ(shortish, -32000);
    console->Run_Line("vars 2 0.25");
    EXPECT_FLOAT_EQ(speed, 0.25f);
    console->Run_Line("vars 3 1e3");
    EXPECT_DOUBLE_EQ(precise, 1000.0);
    console->Run_Line("vars 4 \"7 8\""); // the third float has no word and stays
    EXPECT_FLOAT_EQ(point[0], 7.0f);
    EXPECT_FLOAT_EQ(point[1], 8.0f);
    EXPECT_FLOAT_EQ(point[2], 3.0f);

    console->Run_Line("vars 2"); // a valid index alone lists everything
    EXPECT_STREQ(console->Get_Line(2), "2|tspeed|t|t0.2500");

    for (const char* bad : {"vars 64", "vars 5 1", "vars -1 1", "vars two 1"})
    {
        console->Run_Line(bad);
        EXPECT_STREQ(console->Get_Line(0), "|t|c255000000Invalid index") << bad;
    }
}

TEST_F(ConsoleTest, VariableTableHoldsSixtyFourEntries)
{
    int values[65] = {};
    for (int i = 0; i < 64; ++i)
        ASSERT_TRUE(console->Add_Var("v", CON_S32, &values[i]));
    EXPECT_FALSE(console->Add_Var("one too many", CON_S32, &values[64]));
    EXPECT_FALSE(console->Add_Var("no value", CON_S32, nullptr));
}

TEST_F(ConsoleTest, ExecPutsTheOutputInTheScrollBackAndTheExitCodeOnStandardOutput)
{
    testing::internal::CaptureStdout();
    console->Run_Line("exec echo first; echo a/b/c; exit 3");
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_STREQ(console->Get_Line(0), "a/b/c"); // slashes stay as they are
    EXPECT_STREQ(console->Get_Line(1), "first");
    EXPECT_STREQ(console->Get_Line(2), "exec echo first; echo a/b/c; exit 3");
    EXPECT_NE(out.find("\nProcess returned 3\n"), std::string::npos) << out;

    // Output lines longer than 127 characters come in pieces.
    testing::internal::CaptureStdout();
    console->Run_Line("exec printf '%0200d\\n' 0");
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::string(console->Get_Line(1)), std::string(127, '0'));
    EXPECT_EQ(std::string(console->Get_Line(0)), std::string(73, '0'));

    console->Run_Line("exec");
    EXPECT_STREQ(console->Get_Line(0), "|t|c000255255exec <DOS command and paramters>");
}

TEST_F(ConsoleTest, ExecOfACommandThatNeverStopsEndsAfterAFullScrollBack)
{
    testing::internal::CaptureStdout();
    console->Run_Line("exec yes");
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_STREQ(console->Get_Line(0), "y");
    EXPECT_STREQ(console->Get_Line(Console::LINES - 1), "y");
    EXPECT_NE(out.find("Error: Failed to read the pipe to the end.\n"), std::string::npos) << out;
}

TEST_F(ConsoleTest, PadsShowsEachControllerOrSaysThereIsNone)
{
    console->Run_Line("pads");
    EXPECT_STREQ(console->Get_Line(0), "No controllers detected");
    console->Run_Line("pads 0");
    EXPECT_STREQ(console->Get_Line(0), "No controllers detected");

    Fake_Pad pad;
    pad.name = "Gamepad";
    pad.buttons = {true, false, true};
    pad.axes = {0.5f, -1.0f};
    host.pads = {&pad};
    console->Run_Line("pads");
    EXPECT_STREQ(console->Get_Line(0),
                 "|tC 0|t XOXOOOOOOO|t0.5,|t-1.0,|t0.0,|t0.0,|t0.0,|t0.0,|t0.0,|t0.0|t Gamepad");
    console->Run_Line("pads 0");
    EXPECT_STREQ(console->Get_Line(2), "|t Device |tGamepad");
    EXPECT_STREQ(console->Get_Line(1), "|t Buttons |tXOX");
    EXPECT_STREQ(console->Get_Line(0), "|t Axis |t0.5,|t-1.0");
}

TEST_F(ConsoleTest, ReadOutsShowFrameRateCpuAndCamera)
{
    host.fps = 57;
    host.cpu = 33;
    Show();
    EXPECT_STREQ(console->Get_FPS()->Get_Line(0), "FPS: 57");
    EXPECT_STREQ(console->Get_CPU()->Get_Line(0), "CPU: 33");
    EXPECT_STREQ(console->Get_Info()->Get_Line(0), "");
    host.has_camera = true;
    host.camera_position[1] = -2.5f;
    host.camera_rotation[2] = 3.14159265f;
    Frame({});
    EXPECT_STREQ(console->Get_Info()->Get_Line(1), "-2.50");
    EXPECT_STREQ(console->Get_Info()->Get_Line(5), "180.00");
}

TEST_F(ConsoleTest, HiddenConsoleDrawsOnlyTheFrameRateBadgeWhileTabIsHeld)
{
    Fake_Sprite* display = Fake(console->Get_Display()->Get_Font_Sprite());
    auto all_draws = [&]
    {
        size_t draws = 0;
        for (const Fake_Sprite* sprite : host.made)
            draws += sprite->draws.size();
        return draws;
    };
    Frame({});
    EXPECT_EQ(all_draws(), 0u);
    // Tab held: the badge alone, a white panel in the top-left corner and the rate printed on it.
    for (uint32_t fps : {42u, 7u})
    {
        host.fps = fps;
        size_t before = all_draws();
        Frame({15});
        EXPECT_EQ(all_draws(), before + 2) << fps;
        const Fake_Sprite* text = nullptr;
        const Fake_Sprite* panel = nullptr;
        for (const Fake_Sprite* sprite : host.made)
        {
            if (sprite->printed.size() == 2 && sprite->printed[0].text == "FPS: ")
                text = sprite;
            if (sprite->boxes.size() == 1 && sprite->printed.empty() && !sprite->draws.empty())
                panel = sprite;
        }
        ASSERT_NE(text, nullptr) << fps;
        EXPECT_EQ(text->printed[1].text, std::to_string(fps));
        EXPECT_FLOAT_EQ(text->draws.back().x, 0.0f);
        EXPECT_FLOAT_EQ(text->draws.back().y, 0.0f);
        ASSERT_NE(panel, nullptr) << fps;
        EXPECT_FLOAT_EQ(panel->boxes[0].size.x, 0.1f);
        EXPECT_FLOAT_EQ(panel->boxes[0].size.y, 0.025f);
        // Let go, nothing more is drawn.
        before = all_draws();
        Frame({});
        EXPECT_EQ(all_draws(), before) << fps;
    }
    EXPECT_TRUE(display->draws.empty());
    // Shown: the display is drawn every frame.
    Show();
    size_t before = display->draws.size();
    Frame({});
    EXPECT_EQ(display->draws.size(), before + 1);
}

TEST(ConsoleWordsTest, WordsSplitOnBlanksAndQuotes)
{
    const struct
    {
        const char* line;
        int n;
        bool found;
        const char* word;
    } cases[] = {
        {"vars 3 4", 0, true, "vars"},
        {"  vars\t3\r\n4", 2, true, "4"},
        {"vars 4 \"1 2 3\" tail", 2, true, "1 2 3"},
        {"vars 4 \"1 2 3\" tail", 3, true, "tail"},
        {"vars", 1, false, ""},
        {"", 0, false, ""},
    };
    for (const auto& c : cases)
    {
        char word[CON_WORD_SIZE];
        EXPECT_EQ(Con_Get_Word(c.line, c.n, word, sizeof(word)), c.found) << c.line;
        EXPECT_STREQ(word, c.word) << c.line;
    }
    char small[4];
    EXPECT_TRUE(Con_Get_Word("slowdown", 0, small, sizeof(small)));
    EXPECT_STREQ(small, "slo");
}
} // namespace
