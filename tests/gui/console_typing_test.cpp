// Typing into the console: characters come out in the order the keys went down, however many go down
// in one frame; on a recording host, and in a real window fed with key events.
#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/core/vorta_window.h"
#include "engine/gui/console.h"
#include "engine/gui/gdt_edit.h"
#include "engine/gui/intuition.h"
#include "fake_host.h"
#include "support/private_display.h"
#include "support/sdl_events.h"
#include "support/test_files.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace
{
namespace fs = std::filesystem;

// Scan codes of the letters used.
constexpr int KEY_H = 35, KEY_E = 18, KEY_L = 38, KEY_P = 25;

TEST(ConsoleTypingTest, KeysDownInOneFrameTypeInTheOrderTheyWentDown)
{
    struct Case
    {
        const char* what;
        std::initializer_list<int> keys; // in the order they went down
        bool shift;
        const char* text;
    } cases[] = {
        {"help, typed fast", {KEY_H, KEY_E, KEY_L, KEY_P}, false, "help"},
        {"the same keys the other way round", {KEY_P, KEY_L, KEY_E, KEY_H}, false, "pleh"},
        {"with shift held", {KEY_H, KEY_E, KEY_L, KEY_P}, true, "HELP"},
    };
    for (const Case& c : cases)
    {
        Fake_Host host;
        Intuition gui(&host);
        Console* console = new Console(&gui); // owned by the manager
        host.Hold({console->Get_Toggle_Key()});
        gui.Update();
        host.Hold({});
        gui.Update();
        ASSERT_FALSE(console->Is_Hidden());
        host.shift = c.shift;
        host.Hold(c.keys); // all four go down within one frame
        gui.Update();
        host.Hold({});
        gui.Update();
        EXPECT_STREQ(console->Get_CLI()->Get_Text(), c.text) << c.what;
    }
}

class ConsoleTypingWindowTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        if (!display.Ready())
            GTEST_SKIP() << "needs Xvfb";
        display.Use();
        fs::create_directories(folder.Path() / "data" / "textures");
        fs::copy(fs::path(VORTA5_RUNTIME_DIR) / "data" / "shaders", folder.Path() / "data" / "shaders",
                 fs::copy_options::recursive);
        fs::copy(fs::path(VORTA5_RUNTIME_DIR) / "data" / "textures" / "resource",
                 folder.Path() / "data" / "textures" / "resource", fs::copy_options::recursive);
        previous = fs::current_path();
        fs::current_path(folder.Path());
        g_vorta_log.Set_Flags(LOG_FILE);
        engine = new Vorta_Engine();
        ASSERT_TRUE(engine->Init("", "config.txt"));
        if (!engine->Get_Window_Class().Registered())
            GTEST_SKIP() << "no display to open windows on";
        engine->Create_Device(0);
        window = engine->Create_Window(0, 0, 320, 180, false, 60, false, false, "console typing test");
        ASSERT_NE(window, nullptr);
        window->Set_Lock(false);
        Pass();
    }
    void TearDown() override
    {
        delete engine;
        if (!previous.empty())
            fs::current_path(previous);
    }
    void Pass()
    {
        engine->Pump_Messages();
        window->Frame();
    }
    void Key(SDL_Scancode scancode, bool down)
    {
        test_support::Push_Key(window->Get_Os_Window().Id(), scancode, down);
    }

    test_support::Private_Display display;
    test_support::Scratch_Folder folder;
    fs::path previous;
    Vorta_Engine* engine = nullptr;
    Vorta_Window* window = nullptr;
};

TEST_F(ConsoleTypingWindowTest, KeyEventsOfOneFrameTypeInTheirOrder)
{
    Console* console = window->Get_Console();
    ASSERT_NE(console, nullptr);
    Key(SDL_SCANCODE_F1, true);
    Key(SDL_SCANCODE_F1, false);
    Pass();
    Pass();
    ASSERT_FALSE(console->Is_Hidden());

    // Four keys go down one after the other before the frame reads the keyboard, and come up in the next.
    for (SDL_Scancode key : {SDL_SCANCODE_H, SDL_SCANCODE_E, SDL_SCANCODE_L, SDL_SCANCODE_P})
        Key(key, true);
    Pass();
    for (SDL_Scancode key : {SDL_SCANCODE_H, SDL_SCANCODE_E, SDL_SCANCODE_L, SDL_SCANCODE_P})
        Key(key, false);
    Pass();
    EXPECT_STREQ(console->Get_CLI()->Get_Text(), "help");

    // Quicker still: each key down and up again within one frame, one of them twice.
    console->Get_CLI()->Clear();
    for (SDL_Scancode key :
         {SDL_SCANCODE_SPACE, SDL_SCANCODE_H, SDL_SCANCODE_E, SDL_SCANCODE_L, SDL_SCANCODE_L, SDL_SCANCODE_O})
    {
        Key(key, true);
        Key(key, false);
    }
    Pass();
    Pass();
    EXPECT_STREQ(console->Get_CLI()->Get_Text(), " hello");
}
} // namespace
