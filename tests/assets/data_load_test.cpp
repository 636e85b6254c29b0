// The data folder the build made, loaded the way the engine loads it: every sprite script through
// Sprite::Initialize on a real window with no error box, the console font's cells and lines, and the
// console's boxes and text drawn and grabbed from the screen.
#include "asset_files.h"
#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/core/vorta_viewport.h"
#include "engine/core/vorta_window.h"
#include "engine/render/d3d_swap_chain.h"
#include "engine/render/sprite.h"
#include "platform/os_window.h"
#include "support/requirements.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

using test_support::Read_File;
using test_support::Scratch_Folder;
namespace fs = std::filesystem;

namespace
{
constexpr int WIDTH = 1920, HEIGHT = 1080;

// One engine with a window in a scratch copy of the data folder, which becomes the working folder.
class Data_Load : public testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        s_folder = new Scratch_Folder;
        fs::copy(fs::path(VORTA5_RUNTIME_DIR) / "data", s_folder->Path() / "data",
                 fs::copy_options::recursive);
        test_support::Write_File(s_folder->File("config.txt"), "MSAA false\n");
        s_previous = fs::current_path();
        fs::current_path(s_folder->Path());
        g_vorta_log.Set_Flags(LOG_FILE);
        s_engine = new Vorta_Engine();
        if (!s_engine->Init("", "config.txt") || !s_engine->Get_Window_Class().Registered())
            return;
        s_engine->Create_Device(0);
        s_window = s_engine->Create_Window(0, 0, WIDTH, HEIGHT, false, 60, false, false, "data test");
        if (s_window)
        {
            s_window->Get_Viewport(0)->Set_Position(0.0f, 0.0f);
            s_window->Get_Viewport(0)->Set_Size(1.0f, 1.0f);
        }
    }
    static void TearDownTestSuite()
    {
        delete s_engine;
        s_engine = nullptr;
        s_window = nullptr;
        fs::current_path(s_previous);
        delete s_folder;
        s_folder = nullptr;
    }
    void SetUp() override
    {
        if (!test_support::Have_Display())
            VORTA5_SKIP() << "no display to open windows on";
        // On a working display a missing window or device is the engine's fault.
        ASSERT_TRUE(s_window && s_window->Get_Swap_Chain())
            << "no window with a device: " << platform::Last_Window_Error() << "\n"
            << Log();
        m_log_start = Log().size();
    }
    static std::string Log() { return Read_File(s_folder->File("sys_log.txt")); }
    // What the log gained since the test began.
    std::string New_Log() const { return Log().substr(m_log_start); }

    static Scratch_Folder* s_folder;
    static fs::path s_previous;
    static Vorta_Engine* s_engine;
    static Vorta_Window* s_window;
    size_t m_log_start = 0;
};
Scratch_Folder* Data_Load::s_folder = nullptr;
fs::path Data_Load::s_previous;
Vorta_Engine* Data_Load::s_engine = nullptr;
Vorta_Window* Data_Load::s_window = nullptr;
} // namespace

TEST_F(Data_Load, EverySpriteScriptLoadsWithItsTexturesAndNoErrorBox)
{
    const fs::path textures = s_folder->Path() / "data/textures";
    int scripts = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(textures))
    {
        if (entry.path().extension() != ".spr")
            continue;
        ++scripts;
        std::string name = fs::relative(entry.path(), textures).replace_extension().generic_string();
        Sprite sprite(s_window);
        ASSERT_TRUE(sprite.Initialize(name.c_str())) << name;
        ASSERT_GE(sprite.Get_Texture_Count(), 1) << name;
        for (int i = 0; i < sprite.Get_Texture_Count(); ++i)
            EXPECT_NE(sprite.Get_Texture(i), nullptr) << name << " texture " << i;
        EXPECT_GT(sprite.Get_Cell_Count(), 0) << name;
        EXPECT_GT(sprite.Get_Frame_Capacity(), 0) << name;
    }
    EXPECT_GE(scripts, 3);
    std::string log = New_Log();
    for (const char* failure : {"Failed", "ERROR", "Unrecognised script token", "out of range"})
        EXPECT_EQ(log.find(failure), std::string::npos) << log;
}

TEST_F(Data_Load, ConsoleFontMeasuresAndLinesUp)
{
    Sprite font(s_window);
    ASSERT_TRUE(font.Initialize("resource/arial"));
    ASSERT_EQ(font.Get_Cell_Count(), 95);
    for (int code = 32; code <= 126; ++code)
    {
        const Sprite_Cell* cell = font.Get_Cell(code - 32);
        ASSERT_NE(cell, nullptr);
        EXPECT_GT(cell->pixel_width, 0.0f) << static_cast<char>(code);
        EXPECT_EQ(cell->pixel_height, font.Get_Cell(0)->pixel_height) << static_cast<char>(code);
    }
    EXPECT_LT(font.Get_Top_Line(), font.Get_Centre_Line());
    EXPECT_LT(font.Get_Centre_Line(), font.Get_Base_Line());
    EXPECT_LT(font.Get_Base_Line(), font.Get_Bottom_Line());
    EXPECT_LE(font.Get_Bottom_Line(), font.Get_Cell(0)->pixel_height);
    EXPECT_GT(font.Get_Top_Line(), 1.0f);

    // At the console's text size a line of the scroll-back fits its band: a 30-line display 0.75 high.
    float height = 0.03f;
    EXPECT_GT(font.Text_Width("WWW", height, false, false), font.Text_Width("iii", height, false, false));
    EXPECT_EQ(font.Text_Width("|c255000000ab", height, true, false),
              font.Text_Width("ab", height, true, false));
    float digits = font.Text_Width("0123456789", height, true, true);
    EXPECT_FLOAT_EQ(font.Text_Width("1111111111", height, true, true), digits) << "fixed pitch";
    float one_line = font.Text_Width("help", height, true, false);
    EXPECT_GT(one_line, 20.0f);
    EXPECT_LT(one_line, 120.0f);
}

namespace
{
struct Pixel
{
    int r, g, b;
};

class Back_Buffer
{
  public:
    explicit Back_Buffer(D3D_SwapChain* chain) { ok = chain->Read_Back_Buffer(rgba); }
    // Normalised position, y downwards.
    Pixel At(float x, float y) const
    {
        size_t i = (static_cast<size_t>(y * HEIGHT) * WIDTH + static_cast<size_t>(x * WIDTH)) * 4;
        return {rgba[i], rgba[i + 1], rgba[i + 2]};
    }
    // How many pixels of the rectangle pass the test.
    template <class Test> int Count(float x0, float y0, float x1, float y1, Test test) const
    {
        int n = 0;
        for (int y = static_cast<int>(y0 * HEIGHT); y < static_cast<int>(y1 * HEIGHT); ++y)
            for (int x = static_cast<int>(x0 * WIDTH); x < static_cast<int>(x1 * WIDTH); ++x)
            {
                const uint8_t* p = &rgba[(static_cast<size_t>(y) * WIDTH + x) * 4];
                n += test(Pixel{p[0], p[1], p[2]});
            }
        return n;
    }
    bool ok = false;
    std::vector<uint8_t> rgba;
};
} // namespace

// Draws a console window the way the gadgets draw it (shadow, client, title bar, buttons, text), checks
// what reached the screen and leaves the grab "console resources 0-000.jpg" in the test's build folder.
TEST_F(Data_Load, ConsoleResourcesLookRightOnScreen)
{
    Sprite relief(s_window), shadow(s_window), font(s_window);
    ASSERT_TRUE(relief.Initialize("resource/bas_relief"));
    ASSERT_TRUE(shadow.Initialize("resource/shadow"));
    ASSERT_TRUE(font.Initialize("resource/arial"));

    D3D_SwapChain* chain = s_window->Get_Swap_Chain();
    chain->Bind_Back_Buffer();
    chain->Full_Viewport();
    const float background[4] = {0.25f, 0.3f, 0.35f, 1.0f};
    chain->Clear_Target(background);

    const float ratio = static_cast<float>(HEIGHT) / WIDTH;
    const Vector2 window{0.05f, 0.08f}, size{0.6f, 0.6f}, border{0.01f * ratio, 0.01f};
    const float title = 0.04f;
    const uint32_t gadget_flags = 1236; // alpha blending, linear filtering, clamped
    auto draw = [&](Sprite& sprite) {
        sprite.Draw({0, 0}, {1, 1}, 0.0f, 0, gadget_flags | 0x4000, COLOUR_WHITE, 1.0f, {0, 0});
    };

    shadow.Draw_Box(false, {window.x + 0.007f, window.y + 0.01f}, {size.x, size.y + title}, border,
                    COLOUR_WHITE);
    draw(shadow);
    relief.Draw_Box(false, {window.x, window.y + title}, size, border, {0.0f, 0.0f, 0.0f, 0.75f});
    relief.Draw_Box(false, window, {size.x, title}, border, {0.0f, 0.4f, 1.0f, 1.0f});
    const Vector2 button{0.025f * ratio, 0.025f}, inset{0.0075f * ratio, 0.0075f};
    relief.Draw_Box(false, {window.x + inset.x, window.y + inset.y}, button, {button.x / 3, button.y / 3},
                    COLOUR_RED);
    relief.Draw_Box(true, {window.x + size.x - inset.x - button.x, window.y + inset.y}, button,
                    {button.x / 3, button.y / 3}, COLOUR_GREEN);
    draw(relief);
    font.Print_In_Box(window, {size.x, title}, 0.035f, COLOUR_WHITE, 0x2001, "Console v1.2");
    const char* lines[] = {"|c255255000Vorta5 engine", "|c255255255------------------------------",
                           "|c255255000Comand list:",  "|t|c000255255help",
                           "|t|c000255255pads",        "|t|c000255255slowdown",
                           "FPS: 60  CPU: 12"};
    for (int i = 0; i < 7; ++i)
        font.Print_In_Box({window.x + 0.01f, window.y + title + 0.01f + i * 0.03f}, {size.x, 0.03f}, 0.03f,
                          COLOUR_WHITE, 0x2005, lines[i]);
    draw(font);

    Back_Buffer screen(chain);
    ASSERT_TRUE(screen.ok);
    // The title bar is the gadget blue, lit at the top and shaded at the bottom, with white text in it.
    Pixel bar = screen.At(window.x + size.x * 0.75f, window.y + title * 0.5f);
    EXPECT_GT(bar.b, 150);
    EXPECT_LT(bar.r, 40);
    EXPECT_NEAR(bar.g, bar.b * 0.4, 25);
    Pixel lit = screen.At(window.x + size.x * 0.75f, window.y + 0.002f);
    Pixel shaded = screen.At(window.x + size.x * 0.75f, window.y + title - 0.002f);
    EXPECT_GT(lit.b, shaded.b);
    int white = screen.Count(window.x, window.y, window.x + size.x, window.y + title,
                             [](Pixel p) { return p.r > 200 && p.g > 200 && p.b > 200; });
    EXPECT_GT(white, 300) << "the title text";
    // The client is 75% black over the shadow's 50% black over the background; its text is yellow, white
    // and cyan.
    Pixel client = screen.At(window.x + size.x * 0.8f, window.y + title + size.y * 0.8f);
    EXPECT_NEAR(client.r, 0.125 * 255 * 0.25, 3);
    EXPECT_NEAR(client.b, 0.125 * 255 * 0.35, 3);
    float text_top = window.y + title, text_bottom = text_top + 0.25f;
    EXPECT_GT(screen.Count(window.x, text_top, window.x + size.x, text_bottom,
                           [](Pixel p) { return p.r > 200 && p.g > 200 && p.b < 60; }),
              200)
        << "yellow text";
    EXPECT_GT(screen.Count(window.x, text_top, window.x + size.x, text_bottom,
                           [](Pixel p) { return p.r < 60 && p.g > 200 && p.b > 200; }),
              100)
        << "cyan text";
    // The buttons keep their colours; the shadow darkens the background just beyond the window.
    Pixel red = screen.At(window.x + inset.x + button.x / 2, window.y + inset.y + button.y / 2);
    EXPECT_GT(red.r, 150);
    EXPECT_LT(red.g + red.b, 60);
    Pixel green = screen.At(window.x + size.x - inset.x - button.x / 2, window.y + inset.y + button.y / 2);
    EXPECT_GT(green.g, 120);
    EXPECT_LT(green.r + green.b, 60);
    Pixel beside = screen.At(window.x + size.x + 0.004f, window.y + title + size.y * 0.5f);
    Pixel open = screen.At(window.x + size.x + 0.1f, window.y + title + size.y * 0.5f);
    EXPECT_LT(beside.r + beside.g + beside.b, (open.r + open.g + open.b) * 0.8) << "the shadow";
    EXPECT_NEAR(open.b, 0.35 * 255, 3) << "the background is untouched away from the window";

    // The grab, for a person to look at.
    ASSERT_TRUE(s_window->Screen_Grab("console resources"));
    fs::path grab = s_folder->Path() / "console resources 0-000.jpg";
    ASSERT_TRUE(fs::exists(grab));
    fs::copy_file(grab, s_previous / "console resources 0-000.jpg", fs::copy_options::overwrite_existing);
    std::string log = New_Log();
    EXPECT_EQ(log.find("Failed"), std::string::npos) << log;
}
