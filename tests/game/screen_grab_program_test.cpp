// The running program on its own X display: the renderer's start-up lines, and Print Screen writing
// numbered screen grabs of the frame beside the program.
#include "platform/image_file.h"
#include "support/private_display.h"
#include "support/program_runner.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

namespace fs = std::filesystem;

namespace
{
bool Run_Command(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
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

TEST(ScreenGrabProgramTest, LogsTheRendererAndPrintScreenSavesNumberedGrabsOfTheFrame)
{
    test_support::Private_Display display(1920, 1080);
    if (!display.Ready() || !Run_Command("command -v xdotool"))
        GTEST_SKIP() << "needs Xvfb and xdotool";
    test_support::Scratch_Folder folder;
    test_support::Program_Run program(folder);
    ASSERT_TRUE(program.Start({"DISPLAY=" + display.Name()}));
    ASSERT_TRUE(program.Wait_For_Log("No joypads / joysticks found???\n")) << program.Log();

    std::string log = program.Log();
    size_t at = 0;
    for (const char* line :
         {"  Video hardware\n", "    Hardware name    ", "  Display 0\n", "    size     1920, 1080\n",
          "    Get display mode list... \n", "      1920 x 1080 at ", "Init Ok...\n",
          "Create D3D11 Device... 11_0 Ok\n", "Create Sampler Manager... OK\n",
          "Create Shader Manager... OK\n", "Create Texture Manager... OK\n", "Opening display...OK\n",
          "Creating Swapchain...OK\n", "Create off screen render buffer... OK\n",
          "Create glow buffers... OK\n"})
    {
        size_t found = log.find(line, at);
        ASSERT_NE(found, std::string::npos) << "missing or out of order: " << line << "\n" << log;
        at = found + 1;
    }

    std::string xdotool = "DISPLAY=" + display.Name() + " xdotool ";
    ASSERT_TRUE(Run_Command(xdotool + "search --sync --name '^Kestrova Reboot$' windowfocus --sync"));
    ASSERT_TRUE(Grab(xdotool, folder.Path() / "screen_grab 0-000.jpg")) << program.Log();
    ASSERT_TRUE(Grab(xdotool, folder.Path() / "screen_grab 0-001.jpg")) << program.Log();
    program.Signal();
    EXPECT_EQ(program.Wait(), 0);

    // Each grab is the whole frame at the window's size: the cleared opaque black the game draws on.
    for (const char* name : {"screen_grab 0-000.jpg", "screen_grab 0-001.jpg"})
    {
        std::string bytes = test_support::Read_File(folder.File(name));
        platform::Decoded_Image image;
        ASSERT_TRUE(
            platform::Decode_Image(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), image))
            << name;
        EXPECT_EQ(image.desc.width, 1280u) << name;
        EXPECT_EQ(image.desc.height, 720u) << name;
        int brightest = 0;
        for (size_t i = 0; i < image.bytes.size(); ++i)
            if (i % 4 != 3 && image.bytes[i] > brightest)
                brightest = image.bytes[i];
        EXPECT_LE(brightest, 8) << name;
    }
    EXPECT_FALSE(fs::exists(folder.Path() / "screen_grab 0-002.jpg"));
}
} // namespace
