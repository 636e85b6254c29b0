// The sprite tests' engine, window, scratch data folder and pixel helpers.
#include "sprite_fixture.h"

#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/core/vorta_viewport.h"
#include "engine/core/vorta_window.h"
#include "engine/render/d3d_swap_chain.h"
#include "platform/os_window.h"
#include "support/requirements.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

Vorta_Engine* Sprite_Test::engine = nullptr;
Vorta_Window* Sprite_Test::window = nullptr;
test_support::Scratch_Folder* Sprite_Test::folder = nullptr;

namespace
{
std::filesystem::path g_previous_folder;
}

void Sprite_Test::SetUpTestSuite()
{
    namespace fs = std::filesystem;
    folder = new test_support::Scratch_Folder();
    fs::create_directories(folder->Path() / "data" / "textures");
    fs::copy(fs::path(VORTA5_RUNTIME_DIR) / "data" / "shaders", folder->Path() / "data" / "shaders",
             fs::copy_options::recursive);
    // Single-sampled, so that edges fall on whole pixels.
    test_support::Write_File(folder->File("config.txt"), "MSAA false\n");
    g_previous_folder = fs::current_path();
    fs::current_path(folder->Path());

    g_vorta_log.Set_Flags(LOG_FILE);
    engine = new Vorta_Engine();
    if (!engine->Init("", "config.txt") || !engine->Get_Window_Class().Registered())
        return;
    engine->Create_Device(0);
    window = engine->Create_Window(0, 0, WIDTH, HEIGHT, false, 60, false, false, "sprite test");
    if (window)
    {
        Vorta_Viewport* viewport = window->Get_Viewport(0);
        viewport->Set_Position(0.0f, 0.0f);
        viewport->Set_Size(1.0f, 1.0f);
    }
}

void Sprite_Test::TearDownTestSuite()
{
    delete engine;
    engine = nullptr;
    window = nullptr;
    std::filesystem::current_path(g_previous_folder);
    delete folder;
    folder = nullptr;
}

void Sprite_Test::SetUp()
{
    if (!test_support::Have_Display())
        VORTA5_SKIP() << "no display to open windows on";
    // On a working display a missing window or device is the engine's fault.
    ASSERT_TRUE(window && window->Get_Swap_Chain())
        << "no window with a device: " << platform::Last_Window_Error() << "\n"
        << Log();
    window->Get_Swap_Chain()->Bind_Back_Buffer();
    window->Get_Swap_Chain()->Full_Viewport();
    Clear(0.0f, 0.0f, 0.0f);
}

void Sprite_Test::Write_Texture(const char* name, int width, int height,
                                const std::function<uint32_t(int, int)>& pixel)
{
    std::vector<uint32_t> data(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            data[static_cast<size_t>(y) * width + x] = pixel(x, y);
    const std::string path = folder->File((std::string("data/textures/") + name + ".png").c_str());
    ASSERT_TRUE(stbi_write_png(path.c_str(), width, height, 4, data.data(), width * 4));
}

void Sprite_Test::Write_Script(const char* name, const std::string& text)
{
    test_support::Write_File(folder->File((std::string("data/textures/") + name + ".spr").c_str()), text);
}

std::string Sprite_Test::Log()
{
    return test_support::Read_File(folder->File("sys_log.txt"));
}

void Sprite_Test::Clear(float r, float g, float b, float a)
{
    const float colour[4] = {r, g, b, a};
    window->Get_Swap_Chain()->Clear_Target(colour);
}

void Sprite_Test::Read_Back()
{
    ASSERT_TRUE(window->Get_Swap_Chain()->Read_Back_Buffer(pixels));
    ASSERT_EQ(pixels.size(), static_cast<size_t>(WIDTH) * HEIGHT * 4);
}

Rgba Sprite_Test::Pixel(int x, int y) const
{
    const uint8_t* p = &pixels[(static_cast<size_t>(y) * WIDTH + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

bool Sprite_Test::Lit_Box(int& left, int& top, int& right, int& bottom, int threshold) const
{
    left = WIDTH, top = HEIGHT, right = -1, bottom = -1;
    for (int y = 0; y < HEIGHT; ++y)
        for (int x = 0; x < WIDTH; ++x)
        {
            const Rgba p = Pixel(x, y);
            if (p.r > threshold || p.g > threshold || p.b > threshold)
            {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    return right >= 0;
}

::testing::AssertionResult Near(const Rgba& got, int r, int g, int b, int tolerance)
{
    if (std::abs(got.r - r) <= tolerance && std::abs(got.g - g) <= tolerance &&
        std::abs(got.b - b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "pixel (" << int(got.r) << ", " << int(got.g) << ", " << int(got.b) << "), expected (" << r
           << ", " << g << ", " << b << ")";
}
