// Alt+Return on an open window: full screen at once and back (under a window manager, as on a desktop: the
// real window covers the display and comes back to its size and place), the Return press kept from the game,
// and a window that opened full screen finding a place on the desktop at its size.
#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/core/vorta_window.h"
#include "engine/input/input_system.h"
#include "support/private_display.h"
#include "support/requirements.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
class FullScreenTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        if (!display.Ready() || !test_support::Have_Program("openbox") ||
            !test_support::Have_Program("xwininfo") || !test_support::Have_Program("xprop"))
            VORTA5_SKIP() << "needs Xvfb, openbox, xwininfo and xprop";
        display.Use();
        ASSERT_TRUE(Start_Window_Manager());
        g_vorta_log.Set_Flags(LOG_DEBUGGER);
        engine = new Vorta_Engine();
        ASSERT_TRUE(engine->Init("", "config.txt"));
        ASSERT_TRUE(engine->Get_Window_Class().Registered()) << platform::Last_Window_Error();
        engine->Create_Device(0);
    }
    void TearDown() override
    {
        delete engine;
        if (window_manager > 0)
        {
            kill(window_manager, SIGTERM);
            waitpid(window_manager, nullptr, 0);
        }
    }
    // A window manager on the test's display, as every desktop has: it is the one that makes a shown
    // window full screen. False when it did not start.
    bool Start_Window_Manager()
    {
        window_manager = fork();
        if (window_manager == 0)
        {
            execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
            _exit(127);
        }
        // Up once the root window carries its check property.
        for (int i = 0; i < 1000; ++i)
        {
            if (X_Says("xprop -root _NET_SUPPORTING_WM_CHECK").find("window id") != std::string::npos)
                return true;
            SDL_Delay(10);
        }
        return false;
    }
    static std::string X_Says(const std::string& command)
    {
        std::string text;
        if (std::FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r"))
        {
            char buffer[512];
            while (std::fgets(buffer, sizeof(buffer), pipe))
                text += buffer;
            pclose(pipe);
        }
        return text;
    }
    // The real window's size on the X display, "WIDTHxHEIGHT", after the desktop has had a moment.
    std::string X_Size()
    {
        std::string geometry;
        for (int i = 0; i < 500; ++i)
        {
            Pass();
            std::string info = X_Says("xwininfo -name 'full screen test'");
            int width = 0, height = 0;
            size_t w = info.find("Width: "), h = info.find("Height: ");
            if (w != std::string::npos && h != std::string::npos)
            {
                width = std::stoi(info.substr(w + 7));
                height = std::stoi(info.substr(h + 8));
            }
            geometry = std::to_string(width) + "x" + std::to_string(height);
            if (geometry == expected_size)
                break;
            SDL_Delay(10);
        }
        return geometry;
    }

    void Open(bool full_screen)
    {
        window = engine->Create_Window(0, 0, 640, 400, full_screen, 60, false, false, "full screen test");
        ASSERT_NE(window, nullptr);
        window->Set_Lock(false);
        Pass();
    }
    void Pass()
    {
        engine->Pump_Messages();
        window->Frame();
    }
    // Alt held, Return pressed and let go, Alt let go: one pass for each.
    void Alt_Return(Uint16 alt = KMOD_LALT)
    {
        Key(SDL_SCANCODE_LALT, true, alt);
        Key(SDL_SCANCODE_RETURN, true, alt);
        Key(SDL_SCANCODE_RETURN, false, alt);
        Key(SDL_SCANCODE_LALT, false, KMOD_NONE);
    }
    void Key(SDL_Scancode scancode, bool down, Uint16 mod)
    {
        SDL_Event event = {};
        event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.windowID = window->Get_Os_Window().Id();
        event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.scancode = scancode;
        event.key.keysym.mod = mod;
        SDL_PushEvent(&event);
        Pass();
        if (scancode == SDL_SCANCODE_RETURN && down)
            return_seen = return_seen || window->Get_Input()->Get_Keyboard()->Key_Held(28) > 0;
    }
    // The desktop answers a size change with events: a few passes, until the window has the size.
    void Client_Size_After_Passes(int& width, int& height)
    {
        for (int i = 0; i < 1000; ++i)
        {
            window->Get_Os_Window().Client_Size(width, height);
            if (width == 640 && height == 400)
                return;
            SDL_Delay(5);
            Pass();
        }
    }
    Uint32 Sdl_Flags() const
    {
        return SDL_GetWindowFlags(SDL_GetWindowFromID(window->Get_Os_Window().Id())) & SDL_WINDOW_FULLSCREEN;
    }

    test_support::Private_Display display{1280, 800};
    pid_t window_manager = -1;
    std::string expected_size; // what X_Size waits for
    Vorta_Engine* engine = nullptr;
    Vorta_Window* window = nullptr;
    bool return_seen = false;
};

TEST_F(FullScreenTest, AltReturnSwitchesAtOnceBothWaysAndTheReturnPressStaysOutOfTheGame)
{
    Open(false);
    ASSERT_FALSE(window->Is_Full_Screen());
    expected_size = "640x400";
    ASSERT_EQ(X_Size(), "640x400");
    int x = 0, y = 0;
    SDL_GetWindowPosition(SDL_GetWindowFromID(window->Get_Os_Window().Id()), &x, &y);
    Alt_Return();
    EXPECT_TRUE(window->Is_Full_Screen());
    EXPECT_NE(Sdl_Flags(), 0u);
    expected_size = "1280x800";
    EXPECT_EQ(X_Size(), "1280x800"); // the whole display
    Alt_Return(KMOD_RALT);
    EXPECT_FALSE(window->Is_Full_Screen());
    EXPECT_EQ(Sdl_Flags(), 0u);
    expected_size = "640x400";
    EXPECT_EQ(X_Size(), "640x400");
    int width = 0, height = 0;
    Client_Size_After_Passes(width, height);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 400);
    int back_x = 0, back_y = 0;
    SDL_GetWindowPosition(SDL_GetWindowFromID(window->Get_Os_Window().Id()), &back_x, &back_y);
    EXPECT_EQ(back_x, x);
    EXPECT_EQ(back_y, y);
    EXPECT_FALSE(return_seen);

    // Return alone, and Return with Control and Alt, are the game's keys.
    Key(SDL_SCANCODE_RETURN, true, KMOD_NONE);
    EXPECT_TRUE(return_seen);
    Key(SDL_SCANCODE_RETURN, false, KMOD_NONE);
    return_seen = false;
    Key(SDL_SCANCODE_RETURN, true, KMOD_LALT | KMOD_LCTRL);
    EXPECT_TRUE(return_seen);
    EXPECT_FALSE(window->Is_Full_Screen());
}

TEST_F(FullScreenTest, AWindowThatOpenedFullScreenLeavesItCentredAtItsSize)
{
    Open(true);
    ASSERT_TRUE(window->Is_Full_Screen());
    Alt_Return();
    ASSERT_FALSE(window->Is_Full_Screen());
    EXPECT_EQ(Sdl_Flags(), 0u);
    int width = 0, height = 0, x = 0, y = 0;
    Client_Size_After_Passes(width, height);
    SDL_GetWindowPosition(SDL_GetWindowFromID(window->Get_Os_Window().Id()), &x, &y);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 400);
    EXPECT_NEAR(x, (1280 - 640) / 2, 2);
    EXPECT_NEAR(y, (800 - 400) / 2, 40); // the window manager's title bar may push the client area down
    int render_width = 0, render_height = 0;
    window->Get_Render_Size(render_width, render_height);
    EXPECT_EQ(render_width, 640);
    EXPECT_EQ(render_height, 400);
}
} // namespace
