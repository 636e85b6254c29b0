// The console in a real window on the real device: the toggle key through the window's input, the console
// drawn into the off-screen buffer and composed over the game's frame, checked in the window's own grab;
// keys typed within one frame reach the command line in their order.
#include "engine/core/vorta_callbacks.h"
#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/core/vorta_viewport.h"
#include "engine/core/vorta_window.h"
#include "engine/gui/console.h"
#include "engine/gui/gdt_edit.h"
#include "engine/gui/intuition.h"
#include "engine/render/d3d_swap_chain.h"
#include "grab_image.h"
#include "platform/os_window.h"
#include "support/private_display.h"
#include "support/requirements.h"
#include "support/sdl_events.h"
#include "support/test_files.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace
{
namespace fs = std::filesystem;

// The game's frame: the whole back buffer in one dark red.
class Red_Frame : public Vorta_Callbacks
{
  public:
    void Render(Vorta_Window* window) override
    {
        static const float red[4] = {0.8f, 0.0f, 0.0f, 1.0f};
        window->Get_Swap_Chain()->Clear_Target(red);
    }
};

class ConsoleWindowTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        if (!display.Ready())
            VORTA5_SKIP() << "needs Xvfb";
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
        ASSERT_TRUE(engine->Get_Window_Class().Registered()) << platform::Last_Window_Error();
        engine->Create_Device(0);
        window = engine->Create_Window(0, 0, 640, 360, false, 60, false, false, "console window test");
        ASSERT_NE(window, nullptr);
        window->Set_Lock(false);
        Vorta_Viewport* viewport = window->Get_Viewport(0);
        viewport->Set_Position(0.0f, 0.0f);
        viewport->Set_Size(1.0f, 1.0f);
        viewport->Set_Callbacks(&frame);
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
    void Tap(SDL_Scancode scancode)
    {
        for (bool down : {true, false})
            test_support::Push_Key(window->Get_Os_Window().Id(), scancode, down);
    }
    // Taps the keys and SysRq in one frame, so that the grab shows that frame; then one frame with every
    // key up.
    bool Grab(std::initializer_list<SDL_Scancode> keys, Grab_Image& image)
    {
        for (SDL_Scancode key : keys)
            Tap(key);
        Tap(SDL_SCANCODE_PRINTSCREEN);
        Pass();
        Pass();
        char name[64];
        std::snprintf(name, sizeof(name), "screen_grab %d-%03d.jpg", window->Get_Slot(), grabs++);
        return image.Load(folder.File(name));
    }
    std::string Log() const { return test_support::Read_File(folder.File("sys_log.txt")); }
    void Key_Event(SDL_Scancode scancode, bool down)
    {
        test_support::Push_Key(window->Get_Os_Window().Id(), scancode, down);
    }

    test_support::Private_Display display;
    test_support::Scratch_Folder folder;
    fs::path previous;
    Red_Frame frame;
    Vorta_Engine* engine = nullptr;
    Vorta_Window* window = nullptr;
    int grabs = 0;
};

TEST_F(ConsoleWindowTest, ToggleKeyShowsTheConsoleOverTheFrameAndHidesIt)
{
    std::string log = Log();
    size_t intuition = log.find("Create Intuition interface... OK\nCreating Console...\n");
    EXPECT_NE(intuition, std::string::npos) << log;
    EXPECT_EQ(log.find("Unable to load"), std::string::npos) << log;
    Console* console = window->Get_Console();
    ASSERT_NE(console, nullptr);
    ASSERT_TRUE(console->Is_Hidden());

    struct Box
    {
        const char* name;
        float x0, y0, x1, y1;
    };
    const Box title{"title bar", 0.1f, 0.02f, 0.3f, 0.04f};
    const Box client{"client", 0.3f, 0.1f, 0.6f, 0.25f};
    const Box outside{"beside the console", 0.8f, 0.85f, 0.95f, 0.95f};
    auto mean = [](const Grab_Image& image, const Box& box, double out[3])
    { image.Average(box.x0, box.y0, box.x1, box.y1, out); };

    Grab_Image hidden, shown, hidden_again;
    ASSERT_TRUE(Grab({}, hidden)) << Log();
    ASSERT_TRUE(Grab({SDL_SCANCODE_F1}, shown)) << Log();
    EXPECT_FALSE(console->Is_Hidden());
    ASSERT_TRUE(Grab({SDL_SCANCODE_F1}, hidden_again)) << Log();
    EXPECT_TRUE(console->Is_Hidden());

    // Hidden: the game's red frame everywhere.
    for (const Grab_Image* image : {&hidden, &hidden_again})
        for (const Box& box : {title, client, outside})
        {
            double rgb[3];
            mean(*image, box, rgb);
            EXPECT_NEAR(rgb[0], 204.0, 12.0) << box.name;
            EXPECT_LT(rgb[1] + rgb[2], 24.0) << box.name;
        }

    // Shown: a blue title bar, the frame darkened under the translucent client, untouched beside it.
    double rgb[3];
    mean(shown, title, rgb);
    EXPECT_GT(rgb[2], 150.0);
    EXPECT_GT(rgb[2], rgb[0] + 80.0);
    mean(shown, client, rgb);
    EXPECT_GT(rgb[0], 20.0);
    EXPECT_LT(rgb[0], 110.0);
    mean(shown, outside, rgb);
    EXPECT_NEAR(rgb[0], 204.0, 12.0);
    EXPECT_LT(rgb[1] + rgb[2], 24.0);
}

// Keys typed faster than the frames come: the console's command line gets them in the order they went
// down, not in scan-code order.
TEST_F(ConsoleWindowTest, KeyEventsOfOneFrameTypeInTheirOrder)
{
    Console* console = window->Get_Console();
    ASSERT_NE(console, nullptr);
    Key_Event(SDL_SCANCODE_F1, true);
    Key_Event(SDL_SCANCODE_F1, false);
    Pass();
    Pass();
    ASSERT_FALSE(console->Is_Hidden());

    // Four keys go down one after the other before the frame reads the keyboard, and come up in the next.
    for (SDL_Scancode key : {SDL_SCANCODE_H, SDL_SCANCODE_E, SDL_SCANCODE_L, SDL_SCANCODE_P})
        Key_Event(key, true);
    Pass();
    for (SDL_Scancode key : {SDL_SCANCODE_H, SDL_SCANCODE_E, SDL_SCANCODE_L, SDL_SCANCODE_P})
        Key_Event(key, false);
    Pass();
    EXPECT_STREQ(console->Get_CLI()->Get_Text(), "help");

    // Quicker still: each key down and up again within one frame, one of them twice.
    console->Get_CLI()->Clear();
    for (SDL_Scancode key :
         {SDL_SCANCODE_SPACE, SDL_SCANCODE_H, SDL_SCANCODE_E, SDL_SCANCODE_L, SDL_SCANCODE_L, SDL_SCANCODE_O})
    {
        Key_Event(key, true);
        Key_Event(key, false);
    }
    Pass();
    Pass();
    EXPECT_STREQ(console->Get_CLI()->Get_Text(), " hello");
}
} // namespace
