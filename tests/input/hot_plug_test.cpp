// Joypads plugged in and pulled out while the window polls them (SDL's virtual joysticks): a pad that
// SDL's game-controller database knows reads in the one layout whatever its make, a pulled pad reads as
// released and keeps its place for when it comes back, another pad joins the end of the list.
#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/core/vorta_window.h"
#include "engine/input/input_system.h"
#include "game/app/app.h"
#include "support/private_display.h"
#include "support/requirements.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

namespace
{
class HotPlugTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        if (!display.Ready())
            VORTA5_SKIP() << "needs Xvfb";
        display.Use();
        g_vorta_log.Set_Flags(LOG_DEBUGGER);
        engine = new Vorta_Engine();
        ASSERT_TRUE(engine->Init("", "config.txt"));
        ASSERT_TRUE(engine->Get_Window_Class().Registered()) << platform::Last_Window_Error();
        engine->Create_Device(0);
        window = engine->Create_Window(0, 0, 320, 200, false, 60, false, false, "hot-plug test");
        ASSERT_NE(window, nullptr);
        window->Set_Lock(false);
        input = window->Get_Input();
        ASSERT_NE(input, nullptr);
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
        Pass();
        // Pads of the machine itself come first; the test's own join after them.
        base = input->Get_Controller_Count();
    }
    void TearDown() override
    {
        for (int i = SDL_NumJoysticks() - 1; i >= 0; --i)
            if (SDL_JoystickIsVirtual(i))
                SDL_JoystickDetachVirtual(i);
        if (SDL_WasInit(SDL_INIT_JOYSTICK))
            SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
        delete engine;
    }
    // One pass of the main loop, with the log's lines of it.
    std::string Pass()
    {
        testing::internal::CaptureStderr();
        engine->Pump_Messages();
        window->Frame();
        return testing::internal::GetCapturedStderr();
    }
    // A virtual pad plugged in; its device index, and the joystick opened for setting its state.
    int Plug(SDL_JoystickType type, int axes, int buttons, int hats, SDL_Joystick** joystick)
    {
        int index = SDL_JoystickAttachVirtual(type, axes, buttons, hats);
        *joystick = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
        return index;
    }
    void Pull(SDL_Joystick* joystick)
    {
        const SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
        SDL_JoystickClose(joystick);
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id)
                SDL_JoystickDetachVirtual(i);
    }

    test_support::Private_Display display;
    Vorta_Engine* engine = nullptr;
    Vorta_Window* window = nullptr;
    Input_System* input = nullptr;
    int base = 0;
};

TEST_F(HotPlugTest, AKnownPadJoinsInTheStandardLayoutReadsReleasedWhenPulledAndTakesItsPlaceAgain)
{
    const uint32_t changes = input->Get_Controller_Changes();
    SDL_Joystick* joystick = nullptr;
    // Six axes and fifteen buttons: the database's layout up to the d-pad.
    const int index = Plug(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 15, 0, &joystick);
    ASSERT_GE(index, 0) << SDL_GetError();
    ASSERT_TRUE(SDL_IsGameController(index));
    std::string log = Pass();
    EXPECT_NE(log.find("  Joypad plugged in\n    Device: "), std::string::npos) << log;
    ASSERT_EQ(input->Get_Controller_Count(), base + 1);
    Controller* pad = input->Get_Controller(base);
    ASSERT_NE(pad, nullptr);
    EXPECT_TRUE(pad->Is_Attached());
    EXPECT_STREQ(pad->Get_Name(), SDL_GameControllerNameForIndex(index));
    EXPECT_EQ(pad->Get_Button_Count(), 15);
    EXPECT_GT(input->Get_Controller_Changes(), changes);

    // Sticks on axes 0 to 3, the triggers on 4 and 5 reading 0 at rest; A is button 0; the d-pad is the hat.
    const Sint16 values[6] = {18841, -18842, 32767, -32768, -32768, 32767};
    for (int i = 0; i < 6; ++i)
        SDL_JoystickSetVirtualAxis(joystick, i, values[i]);
    SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_A, SDL_PRESSED);
    SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_PRESSED);
    SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, SDL_PRESSED);
    Pass();
    EXPECT_NEAR(pad->Get_Axis(0), 0.5f, 1e-4f); // 0.575 through the 0.15 dead zone
    EXPECT_NEAR(pad->Get_Axis(1), -0.5f, 1e-4f);
    EXPECT_NEAR(pad->Get_Axis(2), 1.0f, 1e-4f);
    EXPECT_EQ(pad->Get_Axis(3), -1.0f);
    EXPECT_EQ(pad->Get_Axis(4), 0.0f); // the left trigger at rest
    EXPECT_NEAR(pad->Get_Axis(5), 1.0f, 1e-4f);
    EXPECT_EQ(pad->Get_Axis(6), 0.0f);
    EXPECT_EQ(pad->Get_Axis(7), 0.0f);
    EXPECT_TRUE(pad->Button_Pressed(SDL_CONTROLLER_BUTTON_A));
    EXPECT_TRUE(pad->Button_Pressed(SDL_CONTROLLER_BUTTON_DPAD_UP));
    EXPECT_EQ(pad->Get_POV(), 4500);
    Pass();
    ASSERT_EQ(pad->Button_Held(SDL_CONTROLLER_BUTTON_A), 2u);

    // Pulled out with A held: A comes up in that poll and stays up, the sticks centre, the hat centres.
    Pull(joystick);
    log = Pass();
    EXPECT_NE(log.find("  Joypad pulled out: "), std::string::npos) << log;
    ASSERT_EQ(input->Get_Controller(base), pad);
    EXPECT_FALSE(pad->Is_Attached());
    EXPECT_EQ(pad->Button_Held(SDL_CONTROLLER_BUTTON_A), 0u);
    EXPECT_TRUE(pad->Button_Released(SDL_CONTROLLER_BUTTON_A));
    for (int axis = 0; axis < pad->Get_Axis_Count(); ++axis)
        EXPECT_EQ(pad->Get_Axis(axis), 0.0f) << axis;
    EXPECT_EQ(pad->Get_POV(), -1);
    Pass();
    EXPECT_FALSE(pad->Button_Released(SDL_CONTROLLER_BUTTON_A));
    EXPECT_EQ(pad->Button_Held(SDL_CONTROLLER_BUTTON_A), 0u);

    // Plugged in again: the same controller, read afresh.
    const int again = Plug(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 15, 0, &joystick);
    ASSERT_GE(again, 0) << SDL_GetError();
    SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_B, SDL_PRESSED);
    Pass();
    ASSERT_EQ(input->Get_Controller_Count(), base + 1);
    EXPECT_EQ(input->Get_Controller(base), pad);
    EXPECT_TRUE(pad->Is_Attached());
    Pass();
    EXPECT_TRUE(pad->Button_Held(SDL_CONTROLLER_BUTTON_B) > 0);
    EXPECT_EQ(pad->Button_Held(SDL_CONTROLLER_BUTTON_A), 0u);
    Pull(joystick);
}

TEST_F(HotPlugTest, AnUnknownPadOfAnotherModelJoinsTheEndInItsOwnOrder)
{
    SDL_Joystick* known = nullptr;
    ASSERT_GE(Plug(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 15, 0, &known), 0) << SDL_GetError();
    Pass();
    Controller* first = input->Get_Controller(base);
    ASSERT_NE(first, nullptr);
    Pull(known);
    Pass();
    ASSERT_FALSE(first->Is_Attached());

    SDL_Joystick* raw = nullptr;
    const int index = Plug(SDL_JOYSTICK_TYPE_UNKNOWN, 6, 4, 1, &raw);
    ASSERT_GE(index, 0) << SDL_GetError();
    ASSERT_FALSE(SDL_IsGameController(index));
    std::string log = Pass();
    EXPECT_NE(log.find("      Number of axis:    6\n      Number of buttons: 4\n"), std::string::npos) << log;
    ASSERT_EQ(input->Get_Controller_Count(), base + 2);
    EXPECT_FALSE(first->Is_Attached()); // the pulled pad's place waits for a pad of its own model
    Controller* pad = input->Get_Controller(base + 1);
    ASSERT_NE(pad, nullptr);
    EXPECT_STREQ(pad->Get_Name(), SDL_JoystickNameForIndex(index));
    // The device's axes X, Y, Z, Rx, Ry, Rz on the controller's 0, 1, 2, 6, 7, 3.
    SDL_JoystickSetVirtualAxis(raw, 3, 32767);
    SDL_JoystickSetVirtualAxis(raw, 5, -32768);
    SDL_JoystickSetVirtualButton(raw, 3, SDL_PRESSED);
    SDL_JoystickSetVirtualHat(raw, 0, SDL_HAT_LEFT);
    Pass();
    EXPECT_NEAR(pad->Get_Axis(6), 1.0f, 1e-4f);
    EXPECT_EQ(pad->Get_Axis(3), -1.0f);
    EXPECT_TRUE(pad->Button_Pressed(3));
    EXPECT_EQ(pad->Get_POV(), 27000);
    Pull(raw);
    Pass();
    EXPECT_FALSE(pad->Is_Attached());
    EXPECT_EQ(pad->Get_Axis(6), 0.0f);
}

TEST_F(HotPlugTest, TheListStopsGrowingAtItsLimit)
{
    SDL_Joystick* joysticks[Input_System::MAX_CONTROLLERS + 2] = {};
    int plugged = 0;
    for (int i = base; i < Input_System::MAX_CONTROLLERS + 2; ++i)
    {
        // Each of its own model (a different button count), so that none takes another's place.
        ASSERT_GE(Plug(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 1 + i, 0, &joysticks[plugged]), 0) << SDL_GetError();
        ++plugged;
        Pass();
    }
    EXPECT_EQ(input->Get_Controller_Count(), Input_System::MAX_CONTROLLERS);
    for (int i = 0; i < plugged; ++i)
        Pull(joysticks[i]);
    Pass();
    for (int i = base; i < input->Get_Controller_Count(); ++i)
        EXPECT_FALSE(input->Get_Controller(i)->Is_Attached()) << i;
}
TEST_F(HotPlugTest, TheGamesSelectedPadAndTheJoypadMenusNameFollow)
{
    App app; // not initialised: only its window, as the game's Update uses it
    app.window = window;
    app.controls.pad_index = base; // saved in controls.txt for a pad that is not plugged in at the start
    app.Follow_Pads();
    EXPECT_EQ(app.controls.pad, input->Get_Controller(0));

    SDL_Joystick* joystick = nullptr;
    const int index = Plug(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 15, 0, &joystick);
    ASSERT_GE(index, 0) << SDL_GetError();
    const std::string name = SDL_GameControllerNameForIndex(index);
    Pass();
    app.Follow_Pads();
    Controller* pad = input->Get_Controller(base);
    ASSERT_NE(pad, nullptr);
    EXPECT_EQ(app.controls.pad, pad);
    EXPECT_EQ(app.controls.pad_index, base);
    EXPECT_EQ(app.joypad_name, name);

    // Pulled out: still the selected pad (its place waits for it), reading as released.
    Pull(joystick);
    Pass();
    app.Follow_Pads();
    EXPECT_EQ(app.controls.pad, pad);
    EXPECT_FALSE(app.controls.pad->Is_Attached());
    app.window = nullptr;
}
} // namespace
