// The random driver of soak runs on the main menu, against a model of the menu's rules (cursor steps with
// a repeat time, fire on an entry chooses it): it starts games mostly, wanders to the other entries, and
// never chooses "EXIT", also when bindings make one key do two things. And the same seed gives the same
// input.
#include "engine/input/controller.h"
#include "game/app/app.h"
#include "game/app/random_input.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
struct Quiet_App : App
{
    Quiet_App() { save_files = false; }
};

struct Menu_Model
{
    int chosen[5] = {};
    int repeat = 0; // frames until the cursor may step again (0.2 s)
    int away = 0;   // frames the game spends off the main menu after a choice
    int fire = 0;   // the fire counter
    int frames_on_main = 0;
};

// One frame of the main menu as the game plays it, from the input the driver gave.
void Play_Frame(App& app, const Input_Frame& input, Menu_Model& model)
{
    if (model.away > 0 && --model.away == 0)
    {
        app.game_state = STATE_MENU;
        app.menu_page = MENU_MAIN;
    }
    if (app.game_state != STATE_MENU || app.menu_page != MENU_MAIN)
        return;
    ++model.frames_on_main;
    const int32_t* bindings = app.controls.bindings;
    float y = 0.0f;
    int fire_sources = 0;
    if (input.keys[bindings[BIND_UP]] & 0x80)
        y = 1.0f;
    if (input.keys[bindings[BIND_DOWN]] & 0x80)
        y = -1.0f;
    fire_sources += (input.keys[bindings[BIND_FIRE]] & 0x80) != 0;
    if (app.controls.pad && input.pad_count > 0)
    {
        const int32_t* axes[8] = {&input.pad_reading[0].x,         &input.pad_reading[0].y,
                                  &input.pad_reading[0].z,         &input.pad_reading[0].rz,
                                  &input.pad_reading[0].slider[0], &input.pad_reading[0].slider[1],
                                  &input.pad_reading[0].rx,        &input.pad_reading[0].ry};
        const int b = bindings[BIND_PAD_Y];
        if (y == 0.0f && std::abs(b) < 8)
        {
            const float v =
                Apply_Dead_Zone((static_cast<float>(*axes[std::abs(b)]) - 32768.0f) / 32768.0f, 0.15f);
            y = b < 0 ? -v : v;
        }
        fire_sources += input.pad_reading[0].buttons[bindings[BIND_PAD_FIRE]] != 0;
    }
    model.fire = fire_sources ? model.fire + fire_sources : 0;
    if (model.repeat > 0)
        --model.repeat;
    else if (y < -0.8f || y > 0.8f)
    {
        app.menu_cursor += y < 0.0f ? 1 : -1;
        model.repeat = 12;
    }
    app.menu_cursor = (app.menu_cursor + 5) % 5;
    if (model.fire != 1)
        return;
    ++model.chosen[app.menu_cursor];
    if (app.menu_cursor <= 1)
    {
        app.game_state = STATE_ON_FOOT; // a game, then back to the menu
        model.away = 300;
    }
    else if (app.menu_cursor == 2)
    {
        app.menu_page = MENU_OPTIONS;
        model.away = 60;
    }
}

class RandomInputTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        previous = g_app;
        g_app = &app;
        app.game_state = STATE_MENU;
        app.menu_page = MENU_MAIN;
    }
    void TearDown() override { g_app = previous; }

    Menu_Model Run(uint32_t seed, int frames)
    {
        Random_Input input(seed);
        Menu_Model model;
        Input_Frame frame;
        for (int i = 0; i < frames; ++i)
        {
            input.Next_Frame(frame);
            Play_Frame(app, frame, model);
        }
        return model;
    }

    Quiet_App app;
    App* previous = nullptr;
    DX_Controller pad{nullptr};
};

TEST_F(RandomInputTest, OnTheMainMenuItStartsGamesMostlyAndNeverChoosesExit)
{
    const Menu_Model model = Run(7, 100000);
    EXPECT_EQ(model.chosen[4], 0) << "EXIT was chosen";
    EXPECT_GT(model.chosen[0], 100);
    EXPECT_GT(model.chosen[0], model.chosen[1]);
    EXPECT_GT(model.chosen[1], 0);
    EXPECT_GT(model.chosen[2], 0);
    EXPECT_GT(model.chosen[3], 0);
}

TEST_F(RandomInputTest, KeysBoundTwiceLeaveTheMenuToThePadOrToNothing)
{
    struct Case
    {
        int up, down, fire;
        bool pad;
        bool chooses;
    } cases[] = {
        {17, 31, 31, true, true},   // fire on the down key: the pad steers and chooses
        {17, 31, 17, true, true},   // fire on the up key
        {31, 31, 28, true, true},   // up and down on one key
        {17, 31, 31, false, false}, // and no pad: nothing is pressed, the attract loop goes on
        {17, 31, 28, false, true},  // the keys alone, when they are three
    };
    for (const Case& c : cases)
    {
        app.controls.bindings[BIND_UP] = c.up;
        app.controls.bindings[BIND_DOWN] = c.down;
        app.controls.bindings[BIND_FIRE] = c.fire;
        app.controls.pad = c.pad ? &pad : nullptr;
        app.game_state = STATE_MENU;
        app.menu_page = MENU_MAIN;
        app.menu_cursor = 4; // left on "EXIT"
        const Menu_Model model = Run(11, 20000);
        SCOPED_TRACE(testing::Message()
                     << "up " << c.up << " down " << c.down << " fire " << c.fire << " pad " << c.pad);
        EXPECT_EQ(model.chosen[4], 0);
        if (c.chooses)
            EXPECT_GT(model.chosen[0] + model.chosen[1], 10);
        else
            EXPECT_EQ(model.chosen[0] + model.chosen[1] + model.chosen[2] + model.chosen[3], 0);
    }
}

TEST_F(RandomInputTest, TheSameSeedGivesTheSameInputAndNeverPrintScreenOrTheConsoleKey)
{
    app.game_state = STATE_ON_FOOT; // play: every key may be pressed
    Random_Input a(99), b(99), c(100);
    Input_Frame fa, fb, fc;
    int differences = 0, presses = 0;
    for (int i = 0; i < 20000; ++i)
    {
        a.Next_Frame(fa);
        b.Next_Frame(fb);
        c.Next_Frame(fc);
        ASSERT_EQ(0, std::memcmp(fa.keys, fb.keys, sizeof fa.keys)) << i;
        ASSERT_EQ(fa.pad_reading[0].x, fb.pad_reading[0].x) << i;
        ASSERT_EQ(fa.touch_count, fb.touch_count) << i;
        differences += std::memcmp(fa.keys, fc.keys, sizeof fa.keys) != 0;
        for (int code = 0; code < 256; ++code)
            presses += fa.keys[code] != 0;
        ASSERT_FALSE(fa.keys[183]) << "Print Screen saves a picture each time";
        ASSERT_FALSE(fa.keys[59]) << "F1 opens the console";
    }
    EXPECT_GT(differences, 1000);
    EXPECT_GT(presses, 5000);
    EXPECT_EQ(a.Pad_Count(), 1);
}
} // namespace
