// Joypads plugged in, used and pulled out while a window's input is recorded (SDL's virtual joysticks), and
// the recording played back into an input system of its own: poll for poll the same controllers in the
// same places, attached or not, with the same buttons, axes and count of changes.
#include "engine/core/run_settings.h"
#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/core/vorta_window.h"
#include "engine/input/input_recording.h"
#include "engine/input/input_system.h"
#include "support/private_display.h"
#include "support/requirements.h"
#include "support/test_files.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
// What the game can see of the controller list after a poll.
std::string Snapshot(const Input_System& input)
{
    std::string text = "changes " + std::to_string(input.Get_Controller_Changes());
    for (int i = 0; i < input.Get_Controller_Count(); ++i)
    {
        const Controller* pad = input.Get_Controller(i);
        text += " | " + std::string(pad->Get_Name()) + (pad->Is_Attached() ? " in" : " out");
        text += " buttons " + std::to_string(pad->Get_Button_Count());
        for (int b = 0; b < pad->Get_Button_Count(); ++b)
            if (pad->Button_Held(b) || pad->Button_Released(b))
                text += " b" + std::to_string(b) + ":" + std::to_string(pad->Button_Held(b)) + "/" +
                        std::to_string(pad->Button_Released(b));
        for (int a = 0; a < pad->Get_Axis_Count(); ++a)
            if (pad->Get_Axis(a) != 0.0f)
                text += " a" + std::to_string(a) + ":" + std::to_string(pad->Get_Axis(a));
        text += " pov " + std::to_string(pad->Get_POV());
    }
    return text;
}

TEST(RecordedPadsTest, PadsPluggedInAndPulledOutReplayInTheirPlaces)
{
    test_support::Private_Display display;
    if (!display.Ready())
        VORTA5_SKIP() << "needs Xvfb";
    display.Use();
    test_support::Scratch_Folder folder;
    const std::string file = folder.File("pads.txt");
    std::vector<std::string> recorded;
    {
        Input_Recorder recorder;
        ASSERT_TRUE(recorder.Open(file.c_str()));
        const Vorta_Run_Settings saved = g_vorta_run;
        g_vorta_run.input_tap = &recorder;
        g_vorta_log.Set_Flags(LOG_FILE);
        Vorta_Engine* engine = new Vorta_Engine();
        ASSERT_TRUE(engine->Init("", "config.txt"));
        ASSERT_TRUE(engine->Get_Window_Class().Registered()) << platform::Last_Window_Error();
        engine->Create_Device(0);
        Vorta_Window* window =
            engine->Create_Window(0, 0, 320, 200, false, 60, false, false, "recorded pads");
        g_vorta_run = saved;
        ASSERT_NE(window, nullptr);
        window->Set_Lock(false);
        Input_System* input = window->Get_Input();
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
        auto pass = [&]
        {
            engine->Pump_Messages();
            window->Frame();
            recorded.push_back(Snapshot(*input));
        };
        pass();
        // Plugged in, moved, a button held.
        const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 3, 6, 1);
        ASSERT_GE(index, 0) << SDL_GetError();
        SDL_Joystick* joystick = SDL_JoystickOpen(index);
        ASSERT_NE(joystick, nullptr);
        pass();
        SDL_JoystickSetVirtualAxis(joystick, 0, -32768);
        SDL_JoystickSetVirtualButton(joystick, 2, SDL_PRESSED);
        SDL_JoystickSetVirtualHat(joystick, 0, SDL_HAT_RIGHT);
        pass();
        pass();
        // Pulled out with the button held, then plugged in again.
        const SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
        SDL_JoystickClose(joystick);
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id)
                SDL_JoystickDetachVirtual(i);
        pass();
        pass();
        const int again = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 3, 6, 1);
        ASSERT_GE(again, 0) << SDL_GetError();
        joystick = SDL_JoystickOpen(again);
        pass();
        SDL_JoystickSetVirtualButton(joystick, 5, SDL_PRESSED);
        pass();
        pass();
        SDL_JoystickClose(joystick);
        for (int i = SDL_NumJoysticks() - 1; i >= 0; --i)
            if (SDL_JoystickIsVirtual(i))
                SDL_JoystickDetachVirtual(i);
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
        delete engine;
        ASSERT_TRUE(recorder.Finish());
    }
    const std::string text = test_support::Read_File(file);
    EXPECT_NE(text.find(".in=6,"), std::string::npos) << text;
    EXPECT_NE(text.find(".out"), std::string::npos) << text;
    ASSERT_NE(recorded.back().find(" in buttons 6 b5:"), std::string::npos) << recorded.back();

    Input_Playback playback;
    std::string error;
    ASSERT_TRUE(playback.Load(file.c_str(), error)) << error << "\n" << text;
    ASSERT_EQ(playback.Frame_Count(), recorded.size());
    Input_System replay;
    replay.Attach(&playback, nullptr);
    ASSERT_TRUE(replay.Create(0));
    for (size_t poll = 0; poll < recorded.size(); ++poll)
    {
        replay.Poll();
        EXPECT_EQ(Snapshot(replay), recorded[poll]) << "poll " << poll << "\n" << text;
    }
}
} // namespace
