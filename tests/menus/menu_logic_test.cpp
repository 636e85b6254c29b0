// The menu pages' logic on an App without a window: cursor movement, wrap and key repeat, every item of
// the main, options, keyboard and joypad pages, the axis and button capture with a pad the test moves, and
// the return to the attract loop after 10 seconds without input.
#include "game/app/app.h"
#include "menu_support.h"

#include <gtest/gtest.h>

#include <string>

using menu_test::Fake_Pad;

namespace
{
class MenuLogicTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        app.game_state = STATE_MENU;
        app.state_timer.Start(10.0f);
    }
    // The clock moves on as a timer counts it.
    static void Advance(float seconds)
    {
        g_vorta_clock.now += static_cast<int64_t>(static_cast<double>(g_vorta_clock.frequency) * seconds);
    }
    // One menu frame with the stick at y and fire pressed (or held for a second frame), then 1/60 s.
    void Frame(float y = 0.0f, int32_t fire_frames = 0)
    {
        app.controls.y = y;
        app.controls.fire_frames = fire_frames;
        app.Menu_Update();
        Advance(1.0f / 60.0f);
    }
    void Choose() { Frame(0.0f, 1); }
    void Open(int page, int cursor)
    {
        app.menu_page = page;
        app.menu_cursor = cursor;
    }

    menu_test::Working_Folder folder; // the App saves its files there
    App app;
};

TEST_F(MenuLogicTest, CursorMovesAtOnceRepeatsEveryFifthOfASecondAndWraps)
{
    Open(MENU_MAIN, 4); // "EXIT"
    Frame(-1.0f);
    EXPECT_EQ(app.menu_cursor, 0); // down from the last item: the first
    Frame(-1.0f);
    EXPECT_EQ(app.menu_cursor, 0); // held: the repeat waits
    Advance(0.2f);
    Frame(-1.0f);
    EXPECT_EQ(app.menu_cursor, 1);
    Advance(0.2f);
    Frame(0.5f); // not pushed far enough
    EXPECT_EQ(app.menu_cursor, 1);
    Frame(0.9f);
    Advance(0.2f);
    Frame(0.9f);
    EXPECT_EQ(app.menu_cursor, 4); // up twice: past the top to the last item

    struct Case
    {
        int page, count;
    };
    for (const Case& c : {Case{MENU_OPTIONS, 6}, Case{MENU_KEYBOARD, 7}, Case{MENU_JOYPAD, 6}})
    {
        Open(c.page, c.count - 1);
        Advance(0.2f);
        Frame(-1.0f);
        EXPECT_EQ(app.menu_cursor, 0) << c.page;
        Advance(0.2f);
        Frame(1.0f);
        EXPECT_EQ(app.menu_cursor, c.count - 1) << c.page;
    }
}

TEST_F(MenuLogicTest, MainMenuItems)
{
    Open(MENU_MAIN, 3);
    Choose();
    EXPECT_EQ(app.difficulty, DIFFICULTY_EASY);
    EXPECT_EQ(app.hiscore_table, &app.hiscores[DIFFICULTY_EASY]);
    EXPECT_STREQ(g_difficulty_text, "EASY");
    Frame(0.0f, 2); // still held: nothing more
    EXPECT_EQ(app.difficulty, DIFFICULTY_EASY);
    Choose();
    EXPECT_EQ(app.difficulty, DIFFICULTY_NORMAL);
    EXPECT_EQ(app.hiscore_table, &app.hiscores[DIFFICULTY_NORMAL]);
    EXPECT_STREQ(g_difficulty_text, "NORMAL");

    Open(MENU_MAIN, 2);
    Choose();
    EXPECT_EQ(app.menu_page, MENU_OPTIONS);
    EXPECT_EQ(app.menu_cursor, 0);

    for (int item : {0, 1})
    {
        app.game_state = STATE_MENU;
        Open(MENU_MAIN, item);
        Advance(10.0f); // the attract timer runs out in the same frame: the game still starts
        Choose();
        EXPECT_EQ(app.game_state, STATE_ON_FOOT) << item;
        EXPECT_EQ(app.menu_page, MENU_MAIN);
        EXPECT_EQ(app.menu_cursor, item); // the menu shows it again after the game
    }
}

TEST_F(MenuLogicTest, OptionsMenuItems)
{
    const int sizes[3][2] = {{1280, 720}, {1600, 900}, {1920, 1080}};
    Resolution_Entry** end = &app.display.list;
    for (const auto& size : sizes)
    {
        *end = new Resolution_Entry{0, size[0], size[1], nullptr};
        end = &(*end)->next;
    }
    app.display.selected = app.display.list->next;

    Open(MENU_OPTIONS, 2);
    Choose();
    EXPECT_EQ(app.display.selected->width, 1920);
    EXPECT_STREQ(g_resolution_text, "1920 x 1080 pixels");
    Choose();
    EXPECT_EQ(app.display.selected, app.display.list); // after the last, the first
    EXPECT_STREQ(g_resolution_text, "1280 x 720 pixels");

    Open(MENU_OPTIONS, 3);
    app.display.full_screen = false;
    Choose();
    EXPECT_TRUE(app.display.full_screen);
    EXPECT_STREQ(g_display_mode_text, "Full Screen");
    Choose();
    EXPECT_FALSE(app.display.full_screen);
    EXPECT_STREQ(g_display_mode_text, "Windowed");

    Open(MENU_OPTIONS, 4);
    Choose();
    EXPECT_FALSE(app.controls.touch_visible);
    Choose();
    EXPECT_TRUE(app.controls.touch_visible);

    Open(MENU_OPTIONS, 1); // "JOYPAD" with no pad connected does nothing
    Choose();
    EXPECT_EQ(app.menu_page, MENU_OPTIONS);
    EXPECT_EQ(app.menu_cursor, 1);

    Open(MENU_OPTIONS, 5);
    Choose();
    EXPECT_EQ(app.menu_page, MENU_MAIN);
    EXPECT_EQ(app.menu_cursor, 0);
    Open(MENU_OPTIONS, 0);
    Choose();
    EXPECT_EQ(app.menu_page, MENU_KEYBOARD);
    EXPECT_EQ(app.menu_cursor, 0);
}

TEST_F(MenuLogicTest, KeyboardPageOpensTheCaptureOnTheRowsBinding)
{
    Open(MENU_KEYBOARD, 3);
    Choose();
    EXPECT_EQ(app.menu_page, MENU_SELECT_KEY);
    EXPECT_EQ(app.menu_cursor, 3);
    // Capturing keeps the attract loop away however long it waits (here: no keyboard at all).
    for (int second = 0; second < 30; ++second)
    {
        Advance(1.0f);
        Frame(-1.0f, 1);
    }
    EXPECT_EQ(app.game_state, STATE_MENU);
    EXPECT_EQ(app.menu_page, MENU_SELECT_KEY);
    EXPECT_EQ(app.menu_cursor, 3);

    Open(MENU_KEYBOARD, 6);
    Choose();
    EXPECT_EQ(app.menu_page, MENU_OPTIONS);
    EXPECT_EQ(app.menu_cursor, 0);
}

TEST_F(MenuLogicTest, AxisCaptureTakesTheFirstAxisMovedHalfWay)
{
    Fake_Pad pad;
    app.controls.pad = &pad;
    struct Case
    {
        const char* what;
        int item; // 1 "LEFT / RIGHT" (binding 6), 2 "UP / DOWN" (binding 7)
        int axis;
        float from, to;
        int32_t binding; // 99: no capture
    };
    const Case cases[] = {
        {"axis 0 to the negative side is stored as 0, not inverted", 1, 0, 0.0f, -0.8f, 0},
        {"axis 1 to the negative side is inverted", 2, 1, 0.0f, -0.6f, -1},
        {"axis 3 to the positive side", 2, 3, 0.2f, 0.8f, 3},
        {"axis 7 from full one way to centre", 1, 7, 1.0f, 0.3f, -7},
        {"a move of less than half", 1, 2, 0.0f, 0.45f, 99},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        for (int i = 0; i < 8; ++i)
            pad.Set_Axis(i, 0.0f);
        pad.Set_Axis(c.axis, c.from);
        const int binding = c.item == 1 ? BIND_PAD_X : BIND_PAD_Y;
        app.controls.bindings[binding] = 99;
        Open(MENU_JOYPAD, c.item);
        Choose();
        ASSERT_EQ(app.menu_page, MENU_SELECT_AXIS);
        pad.Set_Axis(c.axis, c.to);
        Frame();
        EXPECT_EQ(app.controls.bindings[binding], c.binding);
        EXPECT_EQ(app.menu_page, c.binding == 99 ? MENU_SELECT_AXIS : MENU_JOYPAD);
        EXPECT_EQ(app.menu_cursor, c.item);
    }

    // An unplugged pad gives nothing to capture.
    Open(MENU_JOYPAD, 1);
    Choose();
    pad.attached = false;
    pad.Set_Axis(4, 1.0f);
    Frame();
    EXPECT_EQ(app.menu_page, MENU_SELECT_AXIS);
}

TEST_F(MenuLogicTest, ButtonCaptureTakesAButtonThatGoesDown)
{
    Fake_Pad pad;
    app.controls.pad = &pad;
    pad.Set_Button(2, 5, 0); // held since before the page opened
    Open(MENU_JOYPAD, 3);    // "FIRE"
    Choose();
    ASSERT_EQ(app.menu_page, MENU_SELECT_BUTTON);
    pad.Set_Button(2, 6, 0);
    Frame();
    EXPECT_EQ(app.menu_page, MENU_SELECT_BUTTON);
    pad.Set_Button(9, 1, 0);
    Frame();
    EXPECT_EQ(app.controls.bindings[BIND_PAD_FIRE], 9);
    EXPECT_EQ(app.controls.bindings[BIND_PAD_USE], 1);
    EXPECT_EQ(app.menu_page, MENU_JOYPAD);

    Open(MENU_JOYPAD, 4); // "USE"
    Choose();
    pad.Set_Button(9, 2, 0);
    pad.Set_Button(15, 1, 0);
    Frame();
    EXPECT_EQ(app.controls.bindings[BIND_PAD_USE], 15);
    EXPECT_EQ(app.menu_page, MENU_JOYPAD);

    Open(MENU_JOYPAD, 5);
    Choose();
    EXPECT_EQ(app.menu_page, MENU_OPTIONS);
    EXPECT_EQ(app.menu_cursor, 0);
    Open(MENU_JOYPAD, 0); // no input system: the pad name item has no pads to step through
    Choose();
    EXPECT_EQ(app.controls.pad, &pad);
    EXPECT_STREQ(app.joypad_name, "JOYPAD");
}

TEST_F(MenuLogicTest, TenSecondsWithoutInputShowTheHiscoresAndKeepThePage)
{
    for (int page : {MENU_MAIN, MENU_OPTIONS, MENU_KEYBOARD, MENU_JOYPAD})
    {
        SCOPED_TRACE(page);
        app.game_state = STATE_MENU;
        app.state_timer.Start(10.0f);
        Open(page, 2);
        Advance(9.9f);
        Frame();
        EXPECT_EQ(app.game_state, STATE_MENU);
        Advance(0.2f);
        Frame();
        EXPECT_EQ(app.game_state, STATE_HISCORES);
        EXPECT_EQ(app.menu_page, page);
        EXPECT_EQ(app.menu_cursor, 2);
        EXPECT_FALSE(app.state_timer.Expired()); // ten more seconds of hiscores
        Advance(9.9f);
        EXPECT_FALSE(app.state_timer.Expired());
    }

    // A cursor movement starts the ten seconds again.
    app.game_state = STATE_MENU;
    app.state_timer.Start(10.0f);
    Open(MENU_MAIN, 0);
    Advance(9.0f);
    Frame(-1.0f);
    Advance(9.0f);
    Frame();
    EXPECT_EQ(app.game_state, STATE_MENU);
    Advance(1.0f);
    Frame();
    EXPECT_EQ(app.game_state, STATE_HISCORES);
}
} // namespace
