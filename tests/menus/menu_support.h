// Helpers for the menu and controls tests: a scratch working folder, a pad whose state a test sets, the
// stand-in menu art, and reading a menu page's layout back from a screen grab.
#pragma once
#include "engine/input/controller.h"
#include "support/test_files.h"

#include <filesystem>
#include <string>
#include <vector>

namespace menu_test
{
// Makes a fresh scratch folder the working folder (where the game reads and writes its files) until the
// destructor puts the previous one back.
class Working_Folder
{
  public:
    Working_Folder();
    ~Working_Folder();
    Working_Folder(const Working_Folder&) = delete;
    Working_Folder& operator=(const Working_Folder&) = delete;
    const std::filesystem::path& Path() const { return m_folder.Path(); }
    std::string File(const char* name) const { return m_folder.File(name); }

  private:
    test_support::Scratch_Folder m_folder;
    std::filesystem::path m_previous;
};

// A joypad whose axes and buttons the test sets through Set_Axis and Set_Button.
class Fake_Pad : public Controller
{
  public:
    static constexpr int MAX = 32;
    explicit Fake_Pad(int axes = 8, int buttons = 16) : m_axis_count(axes), m_button_count(buttons) {}

    void Poll() override {}
    float Get_Axis(int index) const override { return In(index, m_axis_count) ? m_axes[index] : 0.0f; }
    int Get_Axis_Count() const override { return m_axis_count; }
    bool Button_Pressed(int index) const override { return Button_Held(index) == 1; }
    uint32_t Button_Held(int index) const override { return In(index, m_button_count) ? m_held[index] : 0; }
    bool Button_Released(int index) const override
    {
        return In(index, m_button_count) && m_released[index] != 0;
    }
    int Get_Button_Count() const override { return m_button_count; }
    void Set_Axis(int index, float value) override
    {
        if (In(index, m_axis_count))
            m_axes[index] = value;
    }
    void Set_Button(int index, uint32_t held, uint32_t released) override
    {
        if (In(index, m_button_count))
        {
            m_held[index] = held;
            m_released[index] = released;
        }
    }
    bool Is_Attached() const override { return attached; }

    bool attached = true;

  private:
    static bool In(int index, int count) { return index >= 0 && index < count && index < MAX; }
    int m_axis_count;
    int m_button_count;
    float m_axes[MAX] = {};
    uint32_t m_held[MAX] = {};
    uint32_t m_released[MAX] = {};
};

// Builds the stand-in menu art (flat colours, see art/) into the data folder: a dark grey backdrop, a
// magenta title, blue bands and panel, a green heading band and cursor bar, yellow stars, white text and a
// touch overlay of white, grey, red and yellow discs. False (with the builder's output) on failure.
bool Build_Menu_Art(const std::filesystem::path& data_folder, std::string& output);

// A decoded screen grab.
struct Picture
{
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba;

    // False for a missing file, a picture that does not decode or a JPEG not yet written to its end.
    bool Load(const std::string& path);
    const unsigned char* At(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
    // Pixels of the box [x0, x1) x [y0, y1) (fractions of the picture) that pass the test.
    template <typename Test> int Count(float x0, float y0, float x1, float y1, Test test) const
    {
        int count = 0;
        for (int y = static_cast<int>(y0 * height); y < static_cast<int>(y1 * height); ++y)
            for (int x = static_cast<int>(x0 * width); x < static_cast<int>(x1 * width); ++x)
                count += test(At(x, y)) ? 1 : 0;
        return count;
    }
};

// Colour tests for the stand-in art (a JPEG grab blurs edges, so each allows some slack).
bool Is_White(const unsigned char* p);  // text
bool Is_Green(const unsigned char* p);  // cursor bar, heading band
bool Is_Blue(const unsigned char* p);   // panel, bands
bool Is_Yellow(const unsigned char* p); // stars
bool Is_Magenta(const unsigned char* p);

// What a menu page shows, read from a grab of it.
struct Page_Layout
{
    int cursor_row = -1;         // the row the green bar is on (rows from y = 0.57, 0.06 apart); -1 none
    std::vector<bool> text_rows; // rows 0 to 6 holding white text between x = 0.3 and 0.7
    bool heading = false;        // white text on the heading band
    int heading_left = -1;       // where it starts, in hundredths of the width (pages differ); -1 none
    bool title = false;          // the magenta title where it belongs
    bool panel = false;          // the blue panel
    bool version = false;        // white text in the top-right corner
    bool stars = false;          // yellow stars somewhere
    std::string Describe() const;
};
Page_Layout Read_Page(const Picture& picture);
} // namespace menu_test
