// The controls and menus of the App started in a real window (stand-in art, its own X display): keys
// pushed through the desktop's event queue, joypads as SDL's virtual joysticks, pages checked in the
// window's own grabs.
#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/core/vorta_window.h"
#include "engine/input/input_system.h"
#include "game/app/app.h"
#include "menu_support.h"
#include "support/private_display.h"
#include "support/requirements.h"
#include "support/sdl_events.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using menu_test::Fake_Pad;
using menu_test::Page_Layout;
using menu_test::Picture;

namespace
{
class MenuWindowTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        if (!display.Ready())
            VORTA5_SKIP() << "needs Xvfb";
        display.Use();
    }
    // Starts the App as the program does, with `pads` virtual joypads attached first. Call it through
    // ASSERT_NO_FATAL_FAILURE.
    void Start(int pads = 0, const std::string& controls_file = "")
    {
        fs::copy(fs::path(VORTA5_RUNTIME_DIR) / "data", folder.Path() / "data", fs::copy_options::recursive);
        fs::copy(fs::path(VORTA5_RUNTIME_DIR) / "config.txt", folder.Path() / "config.txt");
        std::string output;
        ASSERT_TRUE(menu_test::Build_Menu_Art(folder.Path() / "data", output)) << output;
        if (!controls_file.empty())
            test_support::Write_File(folder.File("controls.txt"), controls_file);

        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
        joystick_subsystem = true;
        for (int i = 0; i < pads; ++i)
        {
            const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 12, 0);
            ASSERT_GE(index, 0) << SDL_GetError();
            virtual_pads.push_back(index);
        }

        g_vorta_log.Set_Flags(LOG_FILE);
        engine = new Vorta_Engine();
        ASSERT_TRUE(engine->Init("", "config.txt"));
        ASSERT_TRUE(engine->Get_Window_Class().Registered());
        engine->Create_Device(0);
        app = new App();
        g_app = app;
        app->skip_splash_hold = true;
        app->Initialize();
        ASSERT_NE(app->window, nullptr);
        window = app->window;
        input = window->Get_Input();
        for (int index : virtual_pads)
            joysticks.push_back(SDL_JoystickOpen(index));
        Pass();
    }
    void TearDown() override
    {
        if (app)
            app->controls.pad = app->controls.pad == &fake_pad ? nullptr : app->controls.pad;
        delete app;
        g_app = nullptr;
        for (SDL_Joystick* joystick : joysticks)
            if (joystick)
                SDL_JoystickClose(joystick);
        delete engine;
        for (int index = SDL_NumJoysticks() - 1; index >= 0; --index)
            if (SDL_JoystickIsVirtual(index))
                SDL_JoystickDetachVirtual(index);
        if (joystick_subsystem)
            SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }

    // One pass of the main loop.
    void Pass()
    {
        engine->Pump_Messages();
        Sample_Clock();
        window->Frame();
    }
    void Key(SDL_Scancode key, bool down) { test_support::Push_Key(window->Get_Os_Window().Id(), key, down); }
    // Presses the keys together for one frame, then lets them go for one frame.
    void Tap(std::initializer_list<SDL_Scancode> keys)
    {
        for (SDL_Scancode key : keys)
            Key(key, true);
        Pass();
        for (SDL_Scancode key : keys)
            Key(key, false);
        Pass();
    }
    // Waits out the cursor's key repeat, then taps.
    void Menu_Key(SDL_Scancode key)
    {
        SDL_Delay(220);
        Tap({key});
    }
    // The finished frame, through Print Screen (the game grabs from its update and the engine the frame),
    // with the keys held in that frame.
    bool Grab(Picture& picture, std::initializer_list<SDL_Scancode> held = {})
    {
        for (SDL_Scancode key : held)
            Key(key, true);
        Tap({SDL_SCANCODE_PRINTSCREEN});
        for (SDL_Scancode key : held)
            Key(key, false);
        Pass();
        char name[64];
        grabs += 2;
        std::snprintf(name, sizeof name, "screen_grab 0-%03d.jpg", grabs - 1);
        return picture.Load(folder.File(name));
    }
    Page_Layout Grab()
    {
        Picture picture;
        EXPECT_TRUE(Grab(picture));
        return picture.width ? menu_test::Read_Page(picture) : Page_Layout();
    }
    void Finger(Uint32 type, float x, float y)
    {
        SDL_Event event = {};
        event.type = type;
        event.tfinger.touchId = 1;
        event.tfinger.fingerId = 1;
        event.tfinger.x = x;
        event.tfinger.y = y;
        event.tfinger.windowID = window->Get_Os_Window().Id();
        SDL_PushEvent(&event);
    }

    test_support::Private_Display display{1920, 1080};
    menu_test::Working_Folder folder;
    Vorta_Engine* engine = nullptr;
    App* app = nullptr;
    Vorta_Window* window = nullptr;
    Input_System* input = nullptr;
    Fake_Pad fake_pad;
    bool joystick_subsystem = false;
    std::vector<int> virtual_pads;
    std::vector<SDL_Joystick*> joysticks;
    int grabs = 0;
};

TEST_F(MenuWindowTest, KeysHeldTogetherAndKeysBeforeThePad)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    app->game_state = STATE_COMPLETED; // a state in which no key does anything
    app->state_timer.Start(1000.0f);
    app->controls.pad = &fake_pad;
    struct Case
    {
        const char* what;
        std::vector<SDL_Scancode> keys;
        float pad_x, pad_y; // axes 0 and 1 (y bound inverted)
        uint32_t pad_fire;  // button 0
        float x, y;
        int32_t fire, use;
    };
    const Case cases[] = {
        {"left and right together: left", {SDL_SCANCODE_A, SDL_SCANCODE_D}, 0, 0, 0, -1.0f, 0.0f, 0, 0},
        {"up and down together: down", {SDL_SCANCODE_W, SDL_SCANCODE_S}, 0, 0, 0, 0.0f, -1.0f, 0, 0},
        {"a key beats the pad on its axis only", {SDL_SCANCODE_D}, -0.7f, 0.5f, 0, 1.0f, -0.5f, 0, 0},
        {"the pad on both axes", {}, -0.7f, 0.5f, 0, -0.7f, -0.5f, 0, 0},
        {"fire and use keys", {SDL_SCANCODE_RETURN, SDL_SCANCODE_RSHIFT}, 0, 0, 0, 0.0f, 0.0f, 1, 1},
        {"fire on the keyboard and the pad: 2", {SDL_SCANCODE_RETURN}, 0, 0, 1, 0.0f, 0.0f, 2, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        fake_pad.Set_Axis(0, c.pad_x);
        fake_pad.Set_Axis(1, c.pad_y);
        fake_pad.Set_Button(0, c.pad_fire, 0);
        for (SDL_Scancode key : c.keys)
            Key(key, true);
        Pass();
        EXPECT_FLOAT_EQ(app->controls.x, c.x);
        EXPECT_FLOAT_EQ(app->controls.y, c.y);
        EXPECT_EQ(app->controls.fire_frames, c.fire);
        EXPECT_EQ(app->controls.use_frames, c.use);
        for (SDL_Scancode key : c.keys)
            Key(key, false);
        fake_pad.Set_Button(0, 0, 0);
        Pass();
        EXPECT_EQ(app->controls.fire_frames, 0);
    }
}

TEST_F(MenuWindowTest, CapturePagesSpaceBindsAKeyAndLeavesThePadPages)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    app->menu_page = MENU_SELECT_KEY;
    app->menu_cursor = BIND_FIRE;
    Tap({SDL_SCANCODE_ESCAPE}); // not a key of the list
    EXPECT_EQ(app->menu_page, MENU_SELECT_KEY);
    Tap({SDL_SCANCODE_SPACE});
    EXPECT_EQ(app->controls.bindings[BIND_FIRE], 57);
    EXPECT_EQ(app->menu_page, MENU_KEYBOARD);
    EXPECT_EQ(app->menu_cursor, BIND_FIRE);

    app->menu_page = MENU_SELECT_KEY;
    app->menu_cursor = BIND_LEFT;
    Tap({SDL_SCANCODE_PAGEUP});
    EXPECT_EQ(app->controls.bindings[BIND_LEFT], 201);

    for (int page : {MENU_SELECT_AXIS, MENU_SELECT_BUTTON})
    {
        SCOPED_TRACE(page);
        app->menu_page = page;
        app->menu_cursor = page == MENU_SELECT_AXIS ? 1 : 3;
        Tap({SDL_SCANCODE_J});
        EXPECT_EQ(app->menu_page, page);
        Tap({SDL_SCANCODE_SPACE});
        EXPECT_EQ(app->menu_page, MENU_JOYPAD);
        EXPECT_EQ(app->controls.bindings[BIND_PAD_X], 0);
        EXPECT_EQ(app->controls.bindings[BIND_PAD_FIRE], 0);
        EXPECT_EQ(app->game_state, STATE_MENU);
    }
}

TEST_F(MenuWindowTest, PagesShowTheirRowsAndTheCursorBar)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    struct Case
    {
        int page, cursor;
        const char* rows; // rows 0 to 6: T text, . none (row 6 also holds the main and options foot lines)
    };
    const Case cases[] = {
        {MENU_MAIN, 0, "TTTTT.T"},          {MENU_MAIN, 4, "TTTTT.T"},       {MENU_OPTIONS, 2, "TTTTTTT"},
        {MENU_KEYBOARD, 6, "TTTTTTT"},      {MENU_SELECT_KEY, 0, "......."}, {MENU_SELECT_AXIS, 1, "......T"},
        {MENU_SELECT_BUTTON, 3, "......T"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.page);
        app->game_state = STATE_MENU;
        app->state_timer.Start(60.0f);
        app->menu_page = c.page;
        app->menu_cursor = c.cursor;
        const Page_Layout page = Grab();
        std::string rows;
        for (bool row : page.text_rows)
            rows += row ? 'T' : '.';
        EXPECT_EQ(rows, c.rows) << page.Describe();
        const bool has_bar = c.page == MENU_MAIN || c.page == MENU_OPTIONS || c.page == MENU_KEYBOARD;
        EXPECT_EQ(page.cursor_row, has_bar ? c.cursor : -1) << page.Describe();
        EXPECT_TRUE(page.heading && page.title && page.panel && page.version && page.stars)
            << page.Describe();
    }
}

// The stand-in overlay: a grey stick base with a white knob, red buttons that turn yellow while pressed,
// all at half alpha.
TEST_F(MenuWindowTest, TouchOverlayShowsTheStickAndThePressedButtons)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NE(app->controls.touch_sprite, nullptr);
    app->game_state = STATE_COMPLETED; // nothing but the overlay reacts to the controls here
    app->state_timer.Start(1000.0f);
    auto red = [](const unsigned char* p) { return p[0] > 110 && p[1] < 70 && p[2] < 70; };
    auto yellow = [](const unsigned char* p) { return p[0] > 110 && p[1] > 110 && p[2] < 70; };
    auto knob = [](const unsigned char* p)
    { return p[0] > 150 && p[1] > 150 && p[2] > 150 && std::abs(p[0] - p[2]) < 40; };
    struct Box
    {
        float x0, y0, x1, y1;
    };
    const Box fire = {0.84f, 0.89f, 0.86f, 0.91f};
    const Box use = {0.915f, 0.89f, 0.935f, 0.91f};
    const Box knob_at_rest = {0.095f, 0.845f, 0.105f, 0.855f};
    const Box knob_right = {0.13f, 0.845f, 0.14f, 0.855f};
    auto count = [](const Picture& picture, const Box& box, auto test)
    { return picture.Count(box.x0, box.y0, box.x1, box.y1, test); };

    Picture idle, keys, finger, hidden;
    ASSERT_TRUE(Grab(idle));
    ASSERT_TRUE(Grab(keys, {SDL_SCANCODE_RETURN, SDL_SCANCODE_D}));
    EXPECT_GT(count(idle, fire, red), 20);
    EXPECT_GT(count(idle, use, red), 20);
    EXPECT_GT(count(idle, knob_at_rest, knob), 20);
    EXPECT_EQ(count(idle, knob_right, knob), 0);
    EXPECT_GT(count(keys, fire, yellow), 20); // fire held on the keyboard
    EXPECT_GT(count(keys, use, red), 20);
    EXPECT_GT(count(keys, knob_right, knob), 20); // pushed right: half a radius over
    EXPECT_EQ(count(keys, knob_at_rest, knob), 0);

    // A finger on the use button presses it through the touch points.
    Finger(SDL_FINGERDOWN, 0.925f, 0.9f);
    Pass();
    EXPECT_EQ(app->controls.use_frames, 1);
    ASSERT_TRUE(Grab(finger));
    EXPECT_GT(count(finger, use, yellow), 20);
    EXPECT_GE(app->controls.use_frames, 2);

    // Hidden, the overlay is not drawn, and the finger still presses.
    app->controls.touch_visible = false;
    ASSERT_TRUE(Grab(hidden));
    EXPECT_EQ(count(hidden, use, yellow) + count(hidden, use, red), 0);
    EXPECT_EQ(count(hidden, knob_at_rest, knob), 0);
    EXPECT_GE(app->controls.use_frames, 3);
    Finger(SDL_FINGERUP, 0.925f, 0.9f);
    Pass();
    Pass();
    EXPECT_EQ(app->controls.use_frames, 0);
}

TEST_F(MenuWindowTest, JoypadPageWithTwoPads)
{
    ASSERT_NO_FATAL_FAILURE(Start(2, "pad_index 1\r\n"));
    ASSERT_EQ(input->Get_Controller_Count(), 2);
    EXPECT_EQ(app->controls.pad, input->Get_Controller(1));
    EXPECT_EQ(app->controls.pad_index, 1);
    EXPECT_STREQ(app->joypad_name, input->Get_Controller(1)->Get_Name());

    app->game_state = STATE_MENU;
    app->state_timer.Start(1000.0f); // the attract loop is not what this test is about
    app->menu_page = MENU_OPTIONS;
    app->menu_cursor = 1;
    Tap({SDL_SCANCODE_RETURN});
    ASSERT_EQ(app->menu_page, MENU_JOYPAD);
    EXPECT_EQ(app->menu_cursor, 0);
    Page_Layout page = Grab();
    EXPECT_EQ(page.cursor_row, 0) << page.Describe();
    std::string rows;
    for (bool row : page.text_rows)
        rows += row ? 'T' : '.';
    EXPECT_EQ(rows, "TTTTTT.") << page.Describe();

    // The name item steps through the pads and back to the first.
    Menu_Key(SDL_SCANCODE_RETURN);
    EXPECT_EQ(app->controls.pad_index, 0);
    EXPECT_EQ(app->controls.pad, input->Get_Controller(0));
    Menu_Key(SDL_SCANCODE_RETURN);
    EXPECT_EQ(app->controls.pad_index, 1);
    Menu_Key(SDL_SCANCODE_RETURN);
    EXPECT_EQ(app->controls.pad_index, 0);
    SDL_Joystick* pad = joysticks[0];

    // "LEFT / RIGHT": axis 0 pushed to the negative side is stored as axis 0.
    app->controls.bindings[BIND_PAD_X] = 5;
    Menu_Key(SDL_SCANCODE_S);
    EXPECT_EQ(app->menu_cursor, 1);
    EXPECT_EQ(Grab().cursor_row, 1);
    Tap({SDL_SCANCODE_RETURN});
    ASSERT_EQ(app->menu_page, MENU_SELECT_AXIS);
    SDL_JoystickSetVirtualAxis(pad, 0, -32768);
    Pass();
    EXPECT_EQ(app->controls.bindings[BIND_PAD_X], 0);
    EXPECT_EQ(app->menu_page, MENU_JOYPAD);
    SDL_JoystickSetVirtualAxis(pad, 0, 0);

    // "UP / DOWN": axis 1 pushed up (negative) is stored inverted.
    Menu_Key(SDL_SCANCODE_S);
    Tap({SDL_SCANCODE_RETURN});
    ASSERT_EQ(app->menu_page, MENU_SELECT_AXIS);
    SDL_JoystickSetVirtualAxis(pad, 1, -32768);
    Pass();
    EXPECT_EQ(app->controls.bindings[BIND_PAD_Y], -1);
    SDL_JoystickSetVirtualAxis(pad, 1, 0);

    // "FIRE": the next button that goes down.
    Menu_Key(SDL_SCANCODE_S);
    Tap({SDL_SCANCODE_RETURN});
    ASSERT_EQ(app->menu_page, MENU_SELECT_BUTTON);
    SDL_JoystickSetVirtualButton(pad, 4, SDL_PRESSED);
    Pass();
    EXPECT_EQ(app->controls.bindings[BIND_PAD_FIRE], 4);
    EXPECT_EQ(app->menu_page, MENU_JOYPAD);

    // The bound button fires while held (in a state where fire does nothing else); unplugged while held,
    // the pad reads as let go.
    app->game_state = STATE_COMPLETED;
    app->state_timer.Start(1000.0f);
    Pass();
    Pass();
    EXPECT_EQ(app->controls.fire_frames, 2);
    SDL_JoystickClose(pad);
    joysticks[0] = nullptr;
    SDL_JoystickDetachVirtual(virtual_pads[0]);
    Pass();
    EXPECT_EQ(app->controls.fire_frames, 0);
    EXPECT_EQ(app->controls.x, 0.0f);
    Pass();
    EXPECT_EQ(app->controls.fire_frames, 0);
}

TEST_F(MenuWindowTest, APadIndexBeyondThePadsSelectsTheFirst)
{
    ASSERT_NO_FATAL_FAILURE(Start(1, "pad_index 7\r\n"));
    EXPECT_EQ(app->controls.pad_index, 0);
    EXPECT_EQ(app->controls.pad, input->Get_Controller(0));
    EXPECT_STREQ(app->joypad_name, input->Get_Controller(0)->Get_Name());
}
} // namespace
