// The console in the running program under X: F1 shows it, "help" and Return list the five commands, F1
// hides it again, each seen in the program's own SysRq grab.
#include "grab_image.h"
#include "support/private_display.h"
#include "support/program_runner.h"
#include "support/requirements.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using test_support::Program_Run;
using test_support::Scratch_Folder;

namespace
{
bool Shell(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// The program's window, once it is mapped; "" after 20 seconds without it.
std::string Window_Id()
{
    FILE* pipe = popen("timeout 20 xdotool search --sync --name '^Kestrova Reboot$' 2>/dev/null", "r");
    if (!pipe)
        return "";
    char line[64] = {};
    if (!std::fgets(line, sizeof(line), pipe))
        line[0] = '\0';
    pclose(pipe);
    std::string id = line;
    while (!id.empty() && (id.back() == '\n' || id.back() == '\r'))
        id.pop_back();
    return id;
}

std::string Grab_Name(const Scratch_Folder& folder, int index)
{
    char name[64];
    std::snprintf(name, sizeof(name), "screen_grab 0-%03d.jpg", index);
    return folder.File(name);
}

// Presses SysRq until the program saves grabs `index` and `index + 1`: the game saves one from its update,
// before the frame is drawn, and the engine the finished frame with the console over it, which is the one
// loaded. A press in the frame right after the last grab's reads as still held, so an unanswered press is
// repeated once a frame has surely gone by.
bool Grab(const Scratch_Folder& folder, int& index, Grab_Image& image)
{
    ++index;
    const std::string path = Grab_Name(folder, index);
    for (int press = 0; press < 10; ++press)
    {
        if (!Shell("xdotool key Print"))
            return false;
        for (int wait = 0; wait < 50; ++wait)
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (Jpeg_Complete(path))
            {
                ++index;
                return image.Load(path);
            }
        }
    }
    return false;
}

// The X window's picture as the desktop shows it (what the program last presented).
bool Window_Picture(const std::string& window, const std::string& path, Grab_Image& image)
{
    return Shell("import -window " + window + " -depth 8 ppm:'" + path + "'") && image.Load_Ppm(path);
}

// The console's text display and command line (everything of it but the read-outs), as bytes to compare.
std::vector<unsigned char> Console_Text(const Grab_Image& image)
{
    std::vector<unsigned char> bytes;
    for (int y = static_cast<int>(0.06f * image.height); y < static_cast<int>(0.85f * image.height); ++y)
    {
        const unsigned char* row = &image.rgb[static_cast<size_t>(y) * image.width * 3];
        bytes.insert(bytes.end(), row, row + static_cast<size_t>(0.55f * image.width) * 3);
    }
    return bytes;
}

// The program's window seen from the desktop, for pressing keys one frame apart.
class Window_Keys
{
  public:
    Window_Keys(std::string window, std::string path) : m_window(std::move(window)), m_path(std::move(path))
    {
    }

    // Presses the key and waits until the console's part of the window changes. Keys that go down in the
    // same frame are typed in scan-code order, so each key waits for the frame that took the one before.
    bool Press(const char* key)
    {
        Grab_Image image;
        if (m_seen.empty() && Window_Picture(m_window, m_path, image))
            m_seen = Console_Text(image);
        if (m_seen.empty() || !Shell(std::string("xdotool key ") + key))
            return false;
        for (int attempt = 0; attempt < 100; ++attempt)
        {
            if (Window_Picture(m_window, m_path, image) && Console_Text(image) != m_seen)
            {
                m_seen = Console_Text(image);
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

  private:
    std::string m_window;
    std::string m_path;
    std::vector<unsigned char> m_seen;
};

// Rows of the console's text display that hold cyan text (the colour the command names are listed in),
// as bands of consecutive rows: one band per listed name.
std::vector<std::pair<int, int>> Cyan_Bands(const Grab_Image& image)
{
    std::vector<std::pair<int, int>> bands;
    bool previous = false;
    for (int y = static_cast<int>(0.06f * image.height); y < static_cast<int>(0.85f * image.height); ++y)
    {
        int cyan = 0;
        for (int x = static_cast<int>(0.02f * image.width); x < static_cast<int>(0.3f * image.width); ++x)
        {
            const unsigned char* p = &image.rgb[(static_cast<size_t>(y) * image.width + x) * 3];
            cyan += p[0] < 90 && p[1] > 140 && p[2] > 140;
        }
        const bool row = cyan >= 2;
        if (row && !previous)
            bands.emplace_back(y, y);
        if (row)
            bands.back().second = y;
        previous = row;
    }
    return bands;
}

double Title_Blue(const Grab_Image& image)
{
    double rgb[3];
    image.Average(0.1f, 0.02f, 0.3f, 0.04f, rgb);
    return rgb[2] - rgb[0];
}

TEST(ConsoleProgramTest, F1ShowsTheConsoleHelpListsTheCommandsAndF1HidesIt)
{
    test_support::Private_Display display(1920, 1080);
    if (!display.Ready() || !test_support::Have_Program("xdotool") || !test_support::Have_Program("import"))
        VORTA5_SKIP() << "needs Xvfb, xdotool and ImageMagick";
    display.Use();
    Scratch_Folder folder;
    Program_Run program(folder);
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.Wait_For_Log("Creating Console...\n")) << program.Log();
    std::string window = Window_Id();
    ASSERT_FALSE(window.empty());
    ASSERT_TRUE(Shell("xdotool windowfocus --sync " + window));
    Window_Keys keys(window, folder.File("window.ppm"));

    int index = 0;
    Grab_Image hidden, shown, helped, hidden_again;
    ASSERT_TRUE(Grab(folder, index, hidden)) << program.Log();
    ASSERT_TRUE(keys.Press("F1"));
    ASSERT_TRUE(Grab(folder, index, shown));
    for (const char* key : {"h", "e", "l", "p", "Return"})
        ASSERT_TRUE(keys.Press(key)) << key;
    ASSERT_TRUE(Grab(folder, index, helped));
    ASSERT_TRUE(keys.Press("F1"));
    ASSERT_TRUE(Grab(folder, index, hidden_again));

    program.Signal();
    EXPECT_EQ(program.Wait(), 0) << program.Log();

    // The console's blue title bar is there only while it is shown; hidden, the game's own menu shows there.
    const double game_blue = Title_Blue(hidden);
    EXPECT_LT(game_blue, 60.0);
    EXPECT_GT(Title_Blue(shown), game_blue + 80.0);
    EXPECT_GT(Title_Blue(helped), game_blue + 80.0);
    EXPECT_NEAR(Title_Blue(hidden_again), game_blue, 10.0);

    // The banner lists the five commands when the console starts; "help" lists them again below, pushing
    // the first list up.
    std::vector<std::pair<int, int>> before = Cyan_Bands(shown);
    std::vector<std::pair<int, int>> after = Cyan_Bands(helped);
    ASSERT_EQ(before.size(), 5u);
    ASSERT_EQ(after.size(), 10u);
    for (size_t i = 0; i < 5; ++i)
    {
        EXPECT_NEAR(after[5 + i].first, before[i].first, 2);
        EXPECT_LT(after[i].second, before[0].first);
    }
}
} // namespace
