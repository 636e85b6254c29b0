// The menus in the running program on an X display of their own, driven with real key presses (xdotool)
// and seen in the program's own Print Screen grabs, drawn with the stand-in art: the main menu, the options
// and keyboard pages, a key rebound and kept in "controls.txt", the rebound key working after a restart,
// the touch overlay turned off, "1 PLAYER" starting a game and "EXIT" ending the program with 0.
#include "menu_support.h"
#include "support/private_display.h"
#include "support/program_runner.h"
#include "support/requirements.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace fs = std::filesystem;
using menu_test::Page_Layout;
using menu_test::Picture;

namespace
{
bool Shell(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

void Sleep_Ms(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::string Rows(const Page_Layout& page)
{
    std::string rows;
    for (bool row : page.text_rows)
        rows += row ? 'T' : '.';
    return rows;
}

// The touch overlay's fire button: its red disc at half alpha at (0.85, 0.9).
bool Fire_Button_Shown(const Picture& picture)
{
    return picture.Count(0.84f, 0.89f, 0.86f, 0.91f,
                         [](const unsigned char* p) { return p[0] > 110 && p[1] < 70 && p[2] < 70; }) > 20;
}

// Text in a column of the rows 0 to 5 of the keyboard page.
int Column_Text(const Picture& picture, float x0, float x1)
{
    int rows = 0;
    for (int row = 0; row < 6; ++row)
    {
        const float top = 0.57f + 0.06f * static_cast<float>(row);
        rows += picture.Count(x0, top + 0.005f, x1, top + 0.055f, menu_test::Is_White) >= 10 ? 1 : 0;
    }
    return rows;
}

class Session
{
  public:
    explicit Session(const test_support::Scratch_Folder& folder) : m_folder(folder), m_program(folder) {}

    // Puts the stand-in art over the program's data (the runner copies the build's data in afresh, and a
    // pack would be read before the folder), then starts the program and gives its window the focus.
    bool Start()
    {
        for (const char* pack : {"data.pak", "data.7z"})
            fs::remove(m_folder.Path() / pack);
        // An earlier run's grabs would take the names this run's grabs are looked for under.
        for (const fs::directory_entry& entry : fs::directory_iterator(m_folder.Path()))
            if (entry.path().extension() == ".jpg")
                fs::remove(entry.path());
        std::string output;
        if (!menu_test::Build_Menu_Art(m_folder.Path() / "data", output))
        {
            ADD_FAILURE() << output;
            return false;
        }
        if (!m_program.Start() || !m_program.Wait_For_Log("Starting background music..."))
            return false;
        FILE* pipe = popen("timeout 20 xdotool search --sync --name '^Kestrova Reboot$' 2>/dev/null", "r");
        char line[64] = "";
        if (!pipe)
            return false;
        if (!std::fgets(line, sizeof line, pipe))
            line[0] = '\0';
        pclose(pipe);
        m_window = line;
        while (!m_window.empty() && (m_window.back() == '\n' || m_window.back() == '\r'))
            m_window.pop_back();
        return !m_window.empty() && Shell("xdotool windowfocus --sync " + m_window);
    }
    // Presses a key that moves the cursor or changes the page, and waits until the window shows it; then
    // waits out the cursor's key repeat. False when the window did not change.
    bool Key(const char* key)
    {
        const std::string before = Layout();
        Shell(std::string("xdotool key ") + key);
        for (int attempt = 0; attempt < 60; ++attempt)
        {
            if (Layout() != before)
            {
                Sleep_Ms(250);
                return true;
            }
            Sleep_Ms(50);
        }
        ADD_FAILURE() << "the window did not change after " << key << ": " << before;
        return false;
    }
    // Presses a key that should change nothing visible, and gives the program time to take it.
    void Key_Without_Change(const char* key)
    {
        Shell(std::string("xdotool key ") + key);
        Sleep_Ms(500);
    }
    // Presses Print Screen and reads the finished frame (the second of the two grabs one press saves). A
    // press made while the program is still loading waits for its first frame.
    bool Grab(Picture& picture)
    {
        char name[64];
        std::snprintf(name, sizeof name, "screen_grab 0-%03d.jpg", m_grabs + 1);
        const std::string path = m_folder.File(name);
        if (!Shell("xdotool key Print"))
            return false;
        for (int wait = 0; wait < 500; ++wait)
        {
            Sleep_Ms(20);
            if (picture.Load(path))
            {
                m_grabs += 2;
                return true;
            }
        }
        return false;
    }
    Page_Layout Grab_Page(Picture& picture)
    {
        EXPECT_TRUE(Grab(picture)) << m_program.Log();
        return picture.width ? menu_test::Read_Page(picture) : Page_Layout();
    }
    test_support::Program_Run& Program() { return m_program; }

  private:
    // The layout of what the X window shows now (what the program last presented).
    std::string Layout()
    {
        const std::string path = m_folder.File("window.png");
        Picture picture;
        if (!Shell("import -window " + m_window + " png:'" + path + "'") || !picture.Load(path))
            return "";
        const Page_Layout page = menu_test::Read_Page(picture);
        return "cursor " + std::to_string(page.cursor_row) + " rows " + Rows(page) + " heading from " +
               std::to_string(page.heading_left) + (page.panel ? " panel" : "");
    }

    std::string m_window;
    const test_support::Scratch_Folder& m_folder;
    test_support::Program_Run m_program;
    int m_grabs = 0;
};

TEST(MenuProgramTest, PagesRebindingAndTheMainMenusItemsWithRealKeys)
{
    test_support::Private_Display display(1920, 1080);
    if (!display.Ready() || !test_support::Have_Program("xdotool") || !test_support::Have_Program("import"))
        VORTA5_SKIP() << "needs Xvfb, xdotool and ImageMagick's import";
    display.Use();
    test_support::Scratch_Folder folder;

    {
        Session run(folder);
        ASSERT_TRUE(run.Start()) << run.Program().Log();
        Picture picture;
        Page_Layout page = run.Grab_Page(picture);
        EXPECT_EQ(Rows(page), "TTTTT.T") << page.Describe();
        EXPECT_EQ(page.cursor_row, 0) << page.Describe();
        EXPECT_TRUE(page.title && page.heading && page.panel && page.stars && page.version)
            << page.Describe();
        EXPECT_TRUE(Fire_Button_Shown(picture));

        run.Key("s");
        run.Key("s");
        page = run.Grab_Page(picture);
        EXPECT_EQ(page.cursor_row, 2) << page.Describe();

        run.Key("Return"); // "OPTIONS"
        page = run.Grab_Page(picture);
        EXPECT_EQ(Rows(page), "TTTTTTT") << page.Describe();
        EXPECT_EQ(page.cursor_row, 0) << page.Describe();
        const int options_heading = page.heading_left; // "OPTIONS MENU"
        EXPECT_GT(options_heading, 30) << page.Describe();

        run.Key("s");
        run.Key_Without_Change("Return"); // "JOYPAD" with no pad: nothing
        page = run.Grab_Page(picture);
        EXPECT_EQ(Rows(page), "TTTTTTT") << page.Describe();
        EXPECT_EQ(page.cursor_row, 1) << page.Describe();

        run.Key("s");
        run.Key("s");
        run.Key("s");
        run.Key_Without_Change("Return"); // "TOUCH CONTROLS": the overlay goes
        page = run.Grab_Page(picture);
        EXPECT_EQ(page.cursor_row, 4) << page.Describe();
        EXPECT_FALSE(Fire_Button_Shown(picture));

        for (int i = 0; i < 4; ++i)
            run.Key("w");
        run.Key("Return"); // "KEYBOARD"
        page = run.Grab_Page(picture);
        EXPECT_EQ(Rows(page), "TTTTTTT") << page.Describe();
        EXPECT_LT(page.heading_left, 30) << page.Describe(); // "KEYBOARD CONROLS MENU" is wider
        EXPECT_EQ(page.cursor_row, 0) << page.Describe();
        // Labels from x = 0.35, names ending at x = 0.65.
        EXPECT_EQ(Column_Text(picture, 0.35f, 0.4f), 6);
        EXPECT_EQ(Column_Text(picture, 0.6f, 0.65f), 6);
        EXPECT_EQ(Column_Text(picture, 0.25f, 0.345f), 0);
        EXPECT_EQ(Column_Text(picture, 0.66f, 0.78f), 0);

        run.Key("s");
        run.Key("s");
        run.Key("Return"); // "UP"
        page = run.Grab_Page(picture);
        EXPECT_EQ(Rows(page), ".......") << page.Describe();
        EXPECT_EQ(page.cursor_row, -1) << page.Describe();
        EXPECT_TRUE(page.heading) << page.Describe();

        run.Key("i"); // up is now I
        page = run.Grab_Page(picture);
        EXPECT_EQ(Rows(page), "TTTTTTT") << page.Describe();
        EXPECT_EQ(page.cursor_row, 2) << page.Describe();

        for (int i = 0; i < 4; ++i)
            run.Key("s");
        run.Key("Return"); // "OPTIONS MENU"
        run.Key("i");      // up from the first item: the last, "MAIN MENU"
        run.Key("Return");
        run.Key("i"); // up from "1 PLAYER": "EXIT"
        page = run.Grab_Page(picture);
        EXPECT_EQ(Rows(page), "TTTTT.T") << page.Describe();
        EXPECT_EQ(page.cursor_row, 4) << page.Describe();
        run.Key_Without_Change("Return");
        EXPECT_EQ(run.Program().Wait(), 0) << run.Program().Log();
    }
    const std::string controls = test_support::Read_File(folder.File("controls.txt"));
    EXPECT_NE(controls.find("key_thrust \"i\"\r\n"), std::string::npos) << controls;
    EXPECT_NE(controls.find("visible     false\r\n"), std::string::npos) << controls;

    {
        Session run(folder);
        ASSERT_TRUE(run.Start()) << run.Program().Log();
        Picture picture;
        Page_Layout page = run.Grab_Page(picture);
        EXPECT_EQ(page.cursor_row, 0) << page.Describe();
        EXPECT_FALSE(Fire_Button_Shown(picture)); // still off
        run.Key_Without_Change("w");              // no longer bound
        page = run.Grab_Page(picture);
        EXPECT_EQ(page.cursor_row, 0) << page.Describe();
        run.Key("i");
        page = run.Grab_Page(picture);
        EXPECT_EQ(page.cursor_row, 4) << page.Describe();
        run.Key("s");
        run.Key("Return"); // "1 PLAYER"
        EXPECT_TRUE(run.Program().Wait_For_Log("Starting a new game: 1 PLAYER\r\n")) << run.Program().Log();
        page = run.Grab_Page(picture);
        EXPECT_FALSE(page.panel || page.title || page.heading) << page.Describe();
        run.Program().Signal();
        EXPECT_EQ(run.Program().Wait(), 0) << run.Program().Log();
    }
}
} // namespace
