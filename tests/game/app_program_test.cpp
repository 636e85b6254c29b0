// The game's start-up and exit in the real program: crafted settings files that end it with their box,
// indices beyond the hardware, and the files a normal run leaves behind.
#include "support/program_runner.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

using test_support::Program_Run;
using test_support::Scratch_Folder;

namespace
{
bool Have_Display()
{
    return std::getenv("DISPLAY") && *std::getenv("DISPLAY");
}
} // namespace

TEST(AppProgramTest, UnusableDisplaySettingsEndTheProgramWithTheirBox)
{
    if (!Have_Display())
        GTEST_SKIP() << "needs a display (the test command runs under Xvfb)";
    struct Case
    {
        const char* config;
        const char* box;
    } cases[] = {
        {"screen_height 720\nfull_screen false\n", "Unable to find config parameter \"screen_width\"\r\n"},
        {"screen_width 1280\nfull_screen false\n", "Unable to find config parameter \"screen_height\"\r\n"},
        {"screen_width 1280\nscreen_height 720\n", "Unable to find config parameter \"full_screen\"\r\n"},
        {"screen_width 1280\nscreen_height 1024\nfull_screen false\n",
         "Unable to find a resolution 1280 x 1024\r\n!!!"},
        {"screen_width 4096\nscreen_height 2160\nfull_screen true\n",
         "Unable to find a resolution 4096 x 2160\r\n!!!"},
    };
    for (const Case& c : cases)
    {
        Scratch_Folder folder;
        Program_Run program(folder);
        test_support::Write_File(folder.File("config.txt"), c.config);
        ASSERT_TRUE(program.Start());
        EXPECT_EQ(program.Wait(), 1) << c.config;
        const std::string log = program.Log();
        EXPECT_NE(log.find("Reading display params..." + std::string(c.box)), std::string::npos) << log;
        EXPECT_EQ(log.find("Opening display..."), std::string::npos) << "no window opens";
        EXPECT_EQ(test_support::Read_File(folder.File("config.txt")), c.config) << "the file is left alone";
    }
}

TEST(AppProgramTest, ARunPlaysTheTitleSongAndLeavesItsSixSettingsLinesAndBothHiscoreTables)
{
    if (!Have_Display())
        GTEST_SKIP() << "needs a display (the test command runs under Xvfb)";
    Scratch_Folder folder;
    Program_Run program(folder);
    // Indices beyond the hardware fall back to the first adapter and display; the other keys are read but
    // not written back.
    test_support::Write_File(folder.File("config.txt"),
                             "device 3\ndisplay 9\nscreen_width 1280\nscreen_height 720\n"
                             "full_screen false\nvsync true\nfps_meteor 16\n");
    // The music goes to SDL's disk driver, so what played can be read back.
    const std::string audio = folder.File("audio.raw");
    ASSERT_TRUE(program.Start({"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + audio}));
    ASSERT_TRUE(program.Wait_For_Log("Starting background music...OK\r\n")) << program.Log();
    // Two seconds of the title song at 44000 frames a second, 16-bit stereo.
    for (int i = 0;
         i < 200 && (!std::filesystem::exists(audio) || std::filesystem::file_size(audio) < 352000u * 2); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    program.Signal();
    EXPECT_EQ(program.Wait(), 0) << program.Log();

    const std::string log = program.Log();
    size_t at = 0;
    for (const char* line :
         {"Build resolution list for UI use...", "There is no device 3; using device 0\r\n",
          "There is no display 9; using display 0\r\n", "Found resolution 1920 x 1080\r\n",
          "Reading display params...OK\r\n", "Opening display...OK\n", "Reading game params...OK\r\n",
          "Starting background music...OK\r\n"})
    {
        const size_t found = log.find(line, at);
        ASSERT_NE(found, std::string::npos) << "missing or out of order: " << line << "\n" << log;
        at = found + 1;
    }
    EXPECT_EQ(test_support::Read_File(folder.File("config.txt")), "device        0\r\n"
                                                                  "display       0\r\n"
                                                                  "screen_width  1280\r\n"
                                                                  "screen_height 720\r\n"
                                                                  "full_screen   false\r\n"
                                                                  "vsync         true\r\n");
    EXPECT_EQ(std::filesystem::file_size(folder.File("hiscores easy.dat")), 384u);
    // The title song was playing: after its first second the output is far from silent.
    const std::string bytes = test_support::Read_File(audio);
    ASSERT_GE(bytes.size(), 352000u);
    double sum = 0.0;
    const size_t first = 176000 / 2, count = (bytes.size() - 176000) / 2;
    const int16_t* samples = reinterpret_cast<const int16_t*>(bytes.data());
    for (size_t i = first; i < first + count; ++i)
        sum += static_cast<double>(samples[i]) * samples[i];
    EXPECT_GT(std::sqrt(sum / static_cast<double>(count)), 300.0) << "the title music is heard";
    EXPECT_EQ(std::filesystem::file_size(folder.File("hiscores normal.dat")), 384u);
}
