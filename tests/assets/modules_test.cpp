// XM modules made by the builder load and render through vorta5-xm, the game's own player: the data
// folder's songs and the fixtures, whose rendering shows the timing and the pitch the text asks for.
#include "asset_files.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sys/wait.h>

using asset_test::Load_Wave;
using asset_test::Run_Builder;
using test_support::Scratch_Folder;
namespace fs = std::filesystem;

namespace
{
int Run_Command(const std::string& command, std::string* output = nullptr)
{
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return -1;
    char buffer[512];
    std::string text;
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe))
        text.append(buffer, n);
    int status = pclose(pipe);
    if (output)
        *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

asset_test::Pcm Render(const std::string& xm, const std::string& wav, int seconds)
{
    std::string output;
    int code = Run_Command(std::string("'") + VORTA5_XM_TOOL + "' render '" + xm + "' '" + wav +
                               "' --seconds " + std::to_string(seconds),
                           &output);
    EXPECT_EQ(code, 0) << xm << ": " << output;
    return Load_Wave(wav);
}
} // namespace

TEST(Modules, EverySongLoadsAndPlays)
{
    Scratch_Folder scratch, fixtures;
    ASSERT_EQ(Run_Builder(VORTA5_TEST_SOURCES, fixtures.Path()).exit_code, 0);
    std::vector<fs::path> songs;
    for (const fs::path& folder : {fs::path(VORTA5_RUNTIME_DIR) / "data", fixtures.Path()})
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
            if (entry.path().extension() == ".xm")
                songs.push_back(entry.path());
    ASSERT_GE(songs.size(), 2u);
    for (const fs::path& song : songs)
    {
        std::string output;
        EXPECT_EQ(Run_Command(std::string("'") + VORTA5_XM_TOOL + "' info '" + song.string() + "'", &output),
                  0)
            << output;
        auto pcm = Render(song.string(), scratch.File("song.wav"), 20);
        int peak = 0;
        for (short s : pcm.samples)
            peak = std::max(peak, std::abs(static_cast<int>(s)));
        EXPECT_GT(peak, 1000) << song << " is silent";
    }
}

TEST(Modules, FixtureSongsPlayForTheirRowsAtTheirPitch)
{
    Scratch_Folder data;
    ASSERT_EQ(Run_Builder(VORTA5_TEST_SOURCES, data.Path()).exit_code, 0);

    // tune: orders 0 1 0 of 8, 1 and 8 rows at speed 6, tempo 125: 17 rows of 6 ticks of 880 frames.
    auto tune = Render(data.File("sounds/tune.xm"), data.File("tune.wav"), 60);
    ASSERT_EQ(tune.channels, 2);
    ASSERT_EQ(tune.rate, 44000);
    EXPECT_EQ(tune.samples.size() / 2, 17u * 6 * 880);
    int peak = 0;
    for (short s : tune.samples)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_GT(peak, 2000);

    // pitch: a held A-4 on a looped sine sounds at 440 Hz, steadily to the end (the loop holds the note).
    auto pitch = Render(data.File("sounds/pitch.xm"), data.File("pitch.wav"), 60);
    ASSERT_EQ(pitch.channels, 2);
    std::vector<size_t> rises;
    for (size_t i = 2; i < pitch.samples.size(); i += 2)
        if (pitch.samples[i - 2] < 0 && pitch.samples[i] >= 0)
            rises.push_back(i / 2);
    ASSERT_GT(rises.size(), 100u);
    size_t start = rises.size() / 10; // past the attack
    double hz = (rises.size() - 1 - start) * 44000.0 / static_cast<double>(rises.back() - rises[start]);
    EXPECT_NEAR(hz, 440.0, 2.0);
    EXPECT_GT(static_cast<double>(rises.back()), 0.95 * static_cast<double>(pitch.samples.size() / 2))
        << "the note stops before the end of its pattern";
}
