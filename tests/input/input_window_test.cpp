// Input through a real window: events through the desktop's pump into the frame counters, real key presses
// and mouse clicks under X, touch points, focus loss, and joypads (SDL's virtual joysticks).
#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/core/vorta_window.h"
#include "engine/input/input_system.h"
#include "engine/input/key_names.h"
#include "support/log_lines.h"
#include "support/private_display.h"
#include "support/program_runner.h"
#include "support/requirements.h"
#include "support/sdl_events.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{
// Each test has an X display of its own: on the shared one, other tests' windows take the keyboard focus,
// and a focus loss reads every key as released.
class InputWindowTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        if (display.Ready())
            display.Use();
        if (!test_support::Have_Display())
            VORTA5_SKIP() << "no display to open windows on";
        Start();
    }
    void Start()
    {
        g_vorta_log.Set_Flags(
            LOG_DEBUGGER); // the log's lines go to standard error, where a test can read them
        engine = new Vorta_Engine();
        ASSERT_TRUE(engine->Init("", "config.txt"));
        ASSERT_TRUE(engine->Get_Window_Class().Registered()) << platform::Last_Window_Error();
        engine->Create_Device(0);
    }
    void TearDown() override { delete engine; }

    test_support::Private_Display display;

    void Open(const char* title = "input test")
    {
        window = engine->Create_Window(0, 0, 320, 200, false, 60, false, false, title);
        ASSERT_NE(window, nullptr);
        window->Set_Lock(false);
        input = window->Get_Input();
        ASSERT_NE(input, nullptr);
        keyboard = input->Get_Keyboard();
        ASSERT_NE(keyboard, nullptr);
        ASSERT_TRUE(keyboard->Has_Device());
        Pass(); // whatever the window's opening put on the queue
    }
    // One pass of the main loop.
    void Pass()
    {
        engine->Pump_Messages();
        window->Frame();
    }
    void Push_Key(SDL_Scancode scancode, bool down)
    {
        test_support::Push_Key(window->Get_Os_Window().Id(), scancode, down);
    }
    void Push_Finger(Uint32 type, SDL_FingerID finger, float x, float y)
    {
        SDL_Event event = {};
        event.type = type;
        event.tfinger.touchId = 1;
        event.tfinger.fingerId = finger;
        event.tfinger.x = x;
        event.tfinger.y = y;
        event.tfinger.windowID = window->Get_Os_Window().Id();
        SDL_PushEvent(&event);
    }

    Vorta_Engine* engine = nullptr;
    Vorta_Window* window = nullptr;
    Input_System* input = nullptr;
    Keyboard* keyboard = nullptr;
};

TEST_F(InputWindowTest, KeyEventsBecomeFrameCounters)
{
    Open();
    const int a = Key_From_Name("a");
    Push_Key(SDL_SCANCODE_A, true);
    for (uint32_t frame = 1; frame <= 3; ++frame)
    {
        Pass();
        EXPECT_EQ(keyboard->Key_Held(a), frame);
        EXPECT_EQ(keyboard->Key_Pressed(a), frame == 1);
        EXPECT_FALSE(keyboard->Key_Released(a));
    }
    Push_Key(SDL_SCANCODE_A, false);
    Pass();
    EXPECT_EQ(keyboard->Key_Held(a), 0u);
    EXPECT_EQ(keyboard->Get_Key(a).released, 3u);
    Pass();
    EXPECT_EQ(keyboard->Get_Key(a).released, 0u);

    // A tap that begins and ends between two frames still counts as one frame down.
    Push_Key(SDL_SCANCODE_RSHIFT, true);
    Push_Key(SDL_SCANCODE_RSHIFT, false);
    Pass();
    EXPECT_TRUE(keyboard->Key_Pressed(54));
    EXPECT_TRUE(input->Shift_Down(keyboard));
    Pass();
    EXPECT_EQ(keyboard->Get_Key(54).released, 1u);
    EXPECT_FALSE(input->Shift_Down(keyboard));

    // Two keys that share a scan code: the code is down while either is.
    Push_Key(SDL_SCANCODE_PRINTSCREEN, true);
    Push_Key(SDL_SCANCODE_SYSREQ, true);
    Push_Key(SDL_SCANCODE_PRINTSCREEN, false);
    Pass();
    Pass();
    EXPECT_EQ(keyboard->Key_Held(Keyboard::SYSRQ), 2u);
    Push_Key(SDL_SCANCODE_SYSREQ, false);
    Pass();
    EXPECT_EQ(keyboard->Key_Held(Keyboard::SYSRQ), 0u);
}

TEST_F(InputWindowTest, FocusLossReleasesEverythingForOnePollThenReadsAgain)
{
    Open();
    Push_Key(SDL_SCANCODE_W, true);
    Pass();
    Pass();
    ASSERT_EQ(keyboard->Key_Held(17), 2u);

    SDL_Event event = {};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    event.window.windowID = window->Get_Os_Window().Id();
    SDL_PushEvent(&event);
    testing::internal::CaptureStderr();
    Pass();
    std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("Re-acquire keyboard\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Re-acquire mouse\n"), std::string::npos) << log;
    EXPECT_EQ(keyboard->Key_Held(17), 0u);
    EXPECT_EQ(keyboard->Get_Key(17).released, 0u);

    // The key the focus took away stays up; a new press is seen at once.
    Pass();
    EXPECT_EQ(keyboard->Key_Held(17), 0u);
    Push_Key(SDL_SCANCODE_W, true);
    Pass();
    EXPECT_EQ(keyboard->Key_Held(17), 1u);
}

TEST_F(InputWindowTest, MouseButtonsWheelAndMotion)
{
    Open();
    Mouse* mouse = input->Get_Mouse();
    ASSERT_TRUE(mouse->Has_Device());
    const Uint8 buttons[] = {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE, SDL_BUTTON_X1,
                             SDL_BUTTON_X2};
    for (int i = 0; i < 5; ++i)
    {
        SDL_Event event = {};
        event.type = SDL_MOUSEBUTTONDOWN;
        event.button.button = buttons[i];
        event.button.state = SDL_PRESSED;
        SDL_PushEvent(&event);
        Pass();
        EXPECT_TRUE(mouse->Button_Pressed(i)) << "button " << i;
        event.type = SDL_MOUSEBUTTONUP;
        event.button.state = SDL_RELEASED;
        SDL_PushEvent(&event);
        Pass();
        EXPECT_TRUE(mouse->Button_Released(i)) << "button " << i;
    }

    SDL_Event wheel = {};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.y = 2;
    SDL_PushEvent(&wheel);
    wheel.wheel.y = -1;
    SDL_PushEvent(&wheel);
    SDL_Event motion = {};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = window->Get_Os_Window().Id();
    motion.motion.x = 80;
    motion.motion.y = 150;
    motion.motion.xrel = 8;
    motion.motion.yrel = -4;
    SDL_PushEvent(&motion);
    Pass();
    EXPECT_FLOAT_EQ(mouse->Get_Position()[2], 120.0f);
    EXPECT_FLOAT_EQ(mouse->Get_Motion()[0], 4.0f);
    EXPECT_FLOAT_EQ(mouse->Get_Motion()[1], -2.0f);
    EXPECT_FLOAT_EQ(mouse->Get_Motion()[2], 60.0f);
    window->Get_Input();
    EXPECT_FLOAT_EQ(mouse->Get_Position()[0], 0.25f);
    EXPECT_FLOAT_EQ(mouse->Get_Position()[1], 0.75f);
    Pass();
    EXPECT_FLOAT_EQ(mouse->Get_Motion()[0], 2.0f);
    EXPECT_FLOAT_EQ(mouse->Get_Position()[2], 120.0f);
}

TEST_F(InputWindowTest, FingersBecomeTheWindowsTouchPoints)
{
    Open();
    Touch_State* touch = window->Get_Touch();
    EXPECT_EQ(touch->Get_Count(), 0);
    for (int finger = 0; finger < 11; ++finger)
        Push_Finger(SDL_FINGERDOWN, 100 + finger, 0.05f * finger, 1.0f - 0.05f * finger);
    Pass();
    ASSERT_EQ(touch->Get_Count(), 10); // the eleventh finger is ignored
    for (int i = 0; i < 10; ++i)
    {
        EXPECT_FLOAT_EQ(touch->Get_X(i), 0.05f * i);
        EXPECT_FLOAT_EQ(touch->Get_Y(i), 1.0f - 0.05f * i);
    }

    // Fingers that rest stay; a moved finger moves; a lifted one counts in its pump and then goes. The
    // ignored finger stays ignored while it is down.
    Pass();
    EXPECT_EQ(touch->Get_Count(), 10);
    Push_Finger(SDL_FINGERMOTION, 109, 0.5f, 0.6f);
    Push_Finger(SDL_FINGERMOTION, 110, 0.9f, 0.9f);
    for (int finger = 0; finger < 9; ++finger)
        Push_Finger(SDL_FINGERUP, 100 + finger, 0.05f * finger, 0.0f);
    Pass();
    EXPECT_EQ(touch->Get_Count(), 10);
    EXPECT_FLOAT_EQ(touch->Get_Y(0), 0.0f);
    EXPECT_FLOAT_EQ(touch->Get_X(9), 0.5f);
    Pass();
    ASSERT_EQ(touch->Get_Count(), 1);
    EXPECT_FLOAT_EQ(touch->Get_X(0), 0.5f);
    EXPECT_FLOAT_EQ(touch->Get_Y(0), 0.6f);
    Push_Finger(SDL_FINGERUP, 109, 0.3f, 0.4f);
    Pass();
    EXPECT_EQ(touch->Get_Count(), 1);
    EXPECT_FLOAT_EQ(touch->Get_X(0), 0.3f);
    Pass();
    EXPECT_EQ(touch->Get_Count(), 0);
}

using test_support::Run_Command;

// Real X events, on a display of its own so that no other test's window takes the focus.
class RealInputTest : public InputWindowTest
{
  protected:
    void SetUp() override
    {
        if (!test_support::Have_Program("xdotool") || !display.Ready())
            VORTA5_SKIP() << "needs Xvfb and xdotool";
        InputWindowTest::SetUp();
    }
};

TEST_F(RealInputTest, KeyPressesAndClicksReachTheCounters)
{
    Open("input test under X");
    ASSERT_TRUE(Run_Command(
        "xdotool search --sync --name '^input test under X$' windowfocus --sync mousemove --window %1 "
        "40 30"));
    for (int i = 0; i < 5; ++i)
        Pass();

    // Keys are named by where they sit: Print Screen is SysRq, the key left of 1 is 41.
    struct Press
    {
        const char* key;
        int code;
    };
    const Press presses[] = {{"Print", 183},    {"a", 30},   {"Control_L", 29}, {"grave", 41},
                             {"KP_Enter", 156}, {"Up", 200}, {"F12", 88},       {"Alt_R", 184}};
    for (const Press& press : presses)
    {
        ASSERT_TRUE(Run_Command(std::string("xdotool keydown ") + press.key));
        uint32_t held = 0;
        for (int frame = 0; frame < 200 && held < 2; ++frame)
        {
            SDL_Delay(5);
            Pass();
            held = keyboard->Key_Held(press.code);
            if (held == 1)
            {
                EXPECT_TRUE(keyboard->Key_Pressed(press.code));
            }
        }
        EXPECT_GE(held, 2u) << press.key;
        ASSERT_TRUE(Run_Command(std::string("xdotool keyup ") + press.key));
        bool released = false;
        for (int frame = 0; frame < 200 && !released; ++frame)
        {
            SDL_Delay(5);
            Pass();
            released = keyboard->Key_Released(press.code);
        }
        EXPECT_TRUE(released) << press.key;
    }

    Mouse* mouse = input->Get_Mouse();
    ASSERT_TRUE(Run_Command("xdotool click 3 click 4"));
    bool right = false;
    for (int frame = 0; frame < 200 && !(right && mouse->Get_Position()[2] == 120.0f); ++frame)
    {
        SDL_Delay(5);
        Pass();
        right = right || mouse->Button_Pressed(1);
    }
    EXPECT_TRUE(right);
    EXPECT_FLOAT_EQ(mouse->Get_Position()[2], 120.0f);
}

TEST_F(InputWindowTest, WithoutJoypadsTheLogSaysSo)
{
    testing::internal::CaptureStderr();
    Open();
    std::string log = testing::internal::GetCapturedStderr();
    // A machine with a joypad attached lists it instead of the line (the test command's machine has none).
    const bool pads = input->Get_Controller_Count() != 0;
    EXPECT_TRUE(test_support::In_Order(
        log, {"Creating DInput instance... Ok\n", "  Creating default keyboard... Ok\n",
              "  Creating default mouse... Ok\n", "  Creating pad/joystick controller pool\n",
              pads ? "\n" : "No joypads / joysticks found???\n"}));
    EXPECT_EQ(log.find("No joypads / joysticks found???\n") == std::string::npos, pads) << log;
    EXPECT_EQ(input->Get_Controller(0) != nullptr, pads);
}

TEST_F(InputWindowTest, VirtualJoypadAxesButtonsAndHat)
{
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
    // Joysticks that SDL's game-controller database does not know read in their own order (a known pad:
    // hot_plug_test.cpp).
    int first = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 6, 40, 1);
    int second = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 4, 0);
    ASSERT_GE(first, 0) << SDL_GetError();
    ASSERT_GE(second, 0) << SDL_GetError();
    testing::internal::CaptureStderr();
    Open();
    std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("    Device: "), std::string::npos) << log;
    EXPECT_NE(log.find("      Number of axis:    6\n      Number of buttons: 40\n"), std::string::npos)
        << log;
    EXPECT_EQ(log.find("No joypads"), std::string::npos) << log;
    ASSERT_EQ(input->Get_Controller_Count(), 2);
    Controller* pad = input->Get_Controller(0);
    EXPECT_EQ(pad->Get_Button_Count(), 32); // as many as a reading holds
    EXPECT_EQ(input->Get_Controller(1)->Get_Button_Count(), 4);
    EXPECT_EQ(input->Get_Controller(2), nullptr);
    EXPECT_STREQ(pad->Get_Name(), SDL_JoystickNameForIndex(first));

    SDL_Joystick* joystick = SDL_JoystickOpen(first);
    ASSERT_NE(joystick, nullptr);
    // Device axes X, Y, Z, Rx, Ry, Rz land on the controller's axes 0, 1, 2, 6, 7, 3.
    const Sint16 values[6] = {18841, -18842, 0, 32767, -32768, 100};
    for (int i = 0; i < 6; ++i)
        SDL_JoystickSetVirtualAxis(joystick, i, values[i]);
    SDL_JoystickSetVirtualButton(joystick, 5, SDL_PRESSED);
    SDL_JoystickSetVirtualHat(joystick, 0, SDL_HAT_LEFTDOWN);
    Pass();
    EXPECT_NEAR(pad->Get_Axis(0), 0.5f, 1e-4f); // 0.575 through the 0.15 zone
    EXPECT_NEAR(pad->Get_Axis(1), -0.5f, 1e-4f);
    EXPECT_EQ(pad->Get_Axis(2), 0.0f);
    EXPECT_NEAR(pad->Get_Axis(6), 1.0f, 1e-4f);
    EXPECT_EQ(pad->Get_Axis(7), -1.0f);
    EXPECT_EQ(pad->Get_Axis(3), 0.0f); // inside the zone
    EXPECT_EQ(pad->Get_Axis(4), 0.0f); // absent axes read centred
    EXPECT_TRUE(pad->Button_Pressed(5));
    EXPECT_EQ(pad->Get_POV(), 22500);
    Pass();
    EXPECT_EQ(pad->Button_Held(5), 2u);
    SDL_JoystickSetVirtualButton(joystick, 5, SDL_RELEASED);
    SDL_JoystickSetVirtualHat(joystick, 0, SDL_HAT_CENTERED);
    Pass();
    EXPECT_TRUE(pad->Button_Released(5));
    EXPECT_EQ(pad->Get_POV(), -1);

    // A pad that goes away reads as released: centred, its buttons up; it says that it is gone.
    EXPECT_TRUE(pad->Is_Attached());
    SDL_JoystickSetVirtualAxis(joystick, 0, 32767);
    SDL_JoystickSetVirtualButton(joystick, 5, SDL_PRESSED);
    Pass();
    ASSERT_EQ(pad->Button_Held(5), 1u);
    SDL_JoystickClose(joystick);
    SDL_JoystickDetachVirtual(first);
    Pass();
    EXPECT_FALSE(pad->Is_Attached());
    EXPECT_TRUE(input->Get_Controller(1)->Is_Attached());
    EXPECT_EQ(pad->Get_Axis(0), 0.0f);
    EXPECT_EQ(pad->Button_Held(5), 0u);
    EXPECT_TRUE(pad->Button_Released(5));
    SDL_JoystickDetachVirtual(second);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}
} // namespace
