// The running program on its own X display: the renderer's start-up lines, and Print Screen writing
// numbered screen grabs of the frame beside the program.
#include "platform/image_file.h"
#include "support/log_lines.h"
#include "support/private_display.h"
#include "support/program_runner.h"
#include "support/requirements.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

namespace fs = std::filesystem;

namespace
{
using test_support::Run_Command;

// What the command writes to standard output (and error), without the last line end.
std::string Output_Of(const std::string& command)
{
    std::string text;
    if (FILE* pipe = popen((command + " 2>&1").c_str(), "r"))
    {
        char buffer[256];
        while (std::fgets(buffer, sizeof(buffer), pipe))
            text += buffer;
        pclose(pipe);
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

// Presses Print Screen until the grab appears (the first press may come before the window has the
// focus); false when it never does.
bool Grab(const std::string& xdotool, const fs::path& grab)
{
    for (int attempt = 0; attempt < 100 && !fs::exists(grab); ++attempt)
    {
        if (attempt % 20 == 0 && !Run_Command(xdotool + "key Print"))
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return fs::exists(grab);
}

// The console's title bar in a picture of the 1280 x 720 window whose top-left corner is at (x, y), read by
// ImageMagick: its blue less its red (0 to 255), far above 0 where the console's blue bar is, near 0 on a
// black frame.
double Title_Blue(const std::string& picture, int x = 0, int y = 0)
{
    std::string value = Output_Of("convert '" + picture + "[256x14+" + std::to_string(128 + x) + "+" +
                                  std::to_string(14 + y) + "]' -format '%[fx:255*(mean.b-mean.r)]' info:");
    return value.empty() ? -1.0 : std::atof(value.c_str());
}

// The part of the 1280 x 720 window that the 1920 x 1080 display shows, below the title bar (whose read-outs
// change from frame to frame), in the window's pixels and in the display's.
struct Visible_Part
{
    int width = 0, height = 0;
    int window_x = 0, window_y = 0;
    int screen_x = 0, screen_y = 0;
    int x = 0, y = 0; // the window's top-left corner on the display
};

bool Find_Visible_Part(const std::string& xdotool, const std::string& window, Visible_Part& part)
{
    std::string geometry = Output_Of(xdotool + "getwindowgeometry --shell " + window);
    size_t x_at = geometry.find("X="), y_at = geometry.find("Y=");
    if (x_at == std::string::npos || y_at == std::string::npos)
        return false;
    const int x = std::atoi(geometry.c_str() + x_at + 2), y = std::atoi(geometry.c_str() + y_at + 2);
    part.window_x = std::max(0, -x);
    part.window_y = std::max(40, -y);
    part.width = std::min(1280, 1920 - x) - part.window_x;
    part.height = std::min(720, 1080 - y) - part.window_y;
    part.screen_x = part.window_x + x;
    part.screen_y = part.window_y + y;
    part.x = x;
    part.y = y;
    return part.width > 100 && part.height > 100;
}

// How far the grab is from the display's picture over the visible part, as ImageMagick's root mean square
// error over 0 to 1.
double Difference(const std::string& grab, const std::string& screen, const Visible_Part& part)
{
    std::string size = std::to_string(part.width) + "x" + std::to_string(part.height);
    std::string value =
        Output_Of("compare -metric RMSE '" + grab + "[" + size + "+" + std::to_string(part.window_x) + "+" +
                  std::to_string(part.window_y) + "]' '" + screen + "[" + size + "+" +
                  std::to_string(part.screen_x) + "+" + std::to_string(part.screen_y) + "]' null:");
    size_t open = value.find('(');
    return open == std::string::npos ? 1.0 : std::atof(value.c_str() + open + 1);
}

TEST(ScreenGrabProgramTest, LogsTheRendererAndPrintScreenSavesNumberedGrabsOfTheFrame)
{
    test_support::Private_Display display(1920, 1080);
    if (!display.Ready() || !test_support::Have_Program("xdotool") || !test_support::Have_Program("import"))
        VORTA5_SKIP() << "needs Xvfb, xdotool and ImageMagick";
    test_support::Scratch_Folder folder;
    test_support::Program_Run program(folder);
    // The grab is compared with the display's picture taken after it: the menu's star field would move in
    // between, so this copy of the program has no star sprites and its menu stands still.
    for (const char* star : {"Star_01.spr", "Star_02.spr"})
        fs::remove(folder.Path() / "data" / "textures" / star);
    ASSERT_TRUE(program.Start({"DISPLAY=" + display.Name()}));
    ASSERT_TRUE(program.Wait_For_Log("No joypads / joysticks found???\n")) << program.Log();

    EXPECT_TRUE(test_support::In_Order(
        program.Log(), {"  Video hardware\n", "    Hardware name    ", "  Display 0\n",
                        "    size     1920, 1080\n", "    Get display mode list... \n", "      1920 x 1080 at ",
                        "Init Ok...\n", "Create D3D11 Device... 11_0 Ok\n", "Create Sampler Manager... OK\n",
                        "Create Shader Manager... OK\n", "Create Texture Manager... OK\n",
                        "Opening display...OK\n", "Creating Swapchain...OK\n",
                        "Create off screen render buffer... OK\n", "Create glow buffers... OK\n"}));

    std::string xdotool = "DISPLAY=" + display.Name() + " xdotool ";
    std::string window = Output_Of(xdotool + "search --sync --name '^Kestrova Reboot$'");
    ASSERT_FALSE(window.empty());
    ASSERT_TRUE(Run_Command(xdotool + "windowfocus --sync " + window));
    Visible_Part part;
    ASSERT_TRUE(Find_Visible_Part(xdotool, window, part));
    // One press saves two grabs: the game's own from its update and the engine's of the finished frame.
    ASSERT_TRUE(Grab(xdotool, folder.Path() / "screen_grab 0-001.jpg")) << program.Log();
    EXPECT_TRUE(fs::exists(folder.Path() / "screen_grab 0-000.jpg"));

    // F1 shows the console, which the second grab must hold as the display shows it: a blank or stale
    // grab fails here.
    std::string screen = folder.File("screen.ppm");
    std::string import = "DISPLAY=" + display.Name() + " import -window root -depth 8 ppm:'" + screen + "'";
    ASSERT_TRUE(Run_Command(xdotool + "key F1"));
    bool console = false;
    for (int attempt = 0; attempt < 100 && !console; ++attempt)
    {
        console = Run_Command(import) && Title_Blue(screen, part.x, part.y) > 100.0;
        if (!console)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_TRUE(console) << "the console never showed on the display";
    std::string second = folder.File("screen_grab 0-003.jpg");
    ASSERT_TRUE(Grab(xdotool, second)) << program.Log();
    ASSERT_TRUE(Run_Command(import));
    program.Signal();
    EXPECT_EQ(program.Wait(), 0);

    // Each grab is the whole frame at the window's size.
    for (const char* name : {"screen_grab 0-000.jpg", "screen_grab 0-001.jpg", "screen_grab 0-002.jpg",
                             "screen_grab 0-003.jpg"})
    {
        std::string bytes = test_support::Read_File(folder.File(name));
        platform::Decoded_Image image;
        ASSERT_TRUE(
            platform::Decode_Image(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), image))
            << name;
        EXPECT_EQ(image.desc.width, 1280u) << name;
        EXPECT_EQ(image.desc.height, 720u) << name;
    }
    // The first press came before F1: no console in its frame.
    EXPECT_LT(Title_Blue(folder.File("screen_grab 0-001.jpg")), 10.0);
    // The second: the console over it, as the display showed it.
    EXPECT_GT(Title_Blue(second), 100.0);
    EXPECT_LT(Difference(second, screen, part), 0.01);
    EXPECT_FALSE(fs::exists(folder.Path() / "screen_grab 0-004.jpg"));
}
} // namespace
