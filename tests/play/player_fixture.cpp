// The play tests' App, clock, window, test sprites and pixel helpers.
#include "player_fixture.h"

#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/core/vorta_timer.h"
#include "engine/core/vorta_viewport.h"
#include "engine/core/vorta_window.h"
#include "engine/render/d3d_swap_chain.h"
#include "engine/render/sprite.h"
#include "platform/os_window.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace
{
// The App saves hiscores and controls when it goes: every test runs in a scratch folder of its own.
class Scratch_Working_Folder : public ::testing::Environment
{
  public:
    void SetUp() override
    {
        m_folder = std::make_unique<test_support::Scratch_Folder>();
        m_previous = fs::current_path();
        fs::current_path(m_folder->Path());
    }
    void TearDown() override
    {
        fs::current_path(m_previous);
        m_folder.reset();
    }

  private:
    std::unique_ptr<test_support::Scratch_Folder> m_folder;
    fs::path m_previous;
};
const auto* const g_working_folder = ::testing::AddGlobalTestEnvironment(new Scratch_Working_Folder);

// The test sprites: cells side by side in one texture, each cell one colour; white ones are tinted by
// the frames' colours. Sizes are what the rules measure (against 1920 x 1080).
struct Test_Sprite
{
    int id;
    int cells;
    int cell_width, cell_height;
    bool white;
};
const Test_Sprite k_test_sprites[] = {
    {SPRITE_BUGGY_BODY, 4, 240, 60, false}, // refuelling radius 0.0625
    {SPRITE_FLOOR_TILES, 8, 32, 32, false}, {SPRITE_BAR, 1, 8, 8, true},
    {SPRITE_BAR_DIVIDER, 1, 8, 8, true},    {SPRITE_LIVES, 4, 32, 32, false},
    {SPRITE_TELEPORTER, 2, 96, 108, false}, // box 0.05 x 0.1
    {SPRITE_BOMB, 2, 64, 54, false},        // reach 1/30
    {SPRITE_GUN, 4, 64, 54, false},
};
} // namespace

uint32_t Test_Cell_Colour(int sprite, int cell)
{
    const uint32_t r = 50u + 2u * static_cast<uint32_t>(sprite);
    const uint32_t g = 60u + 20u * static_cast<uint32_t>(cell);
    return r << 16 | g << 8 | 0x80u;
}

// ---- Player_Test ----

void Player_Test::SetUp()
{
    app = std::make_unique<App>();
    g_app = app.get();
    // One level with no aliens, so that nothing spawns unasked.
    app->levels = new Level_Record[1]();
    app->level_count = 1;
    app->current_level = app->levels;
    New_Game();
}

void Player_Test::TearDown()
{
    app.reset();
    g_app = nullptr;
}

void Player_Test::New_Game(bool one_player)
{
    app->Start_Game(one_player);
    for (int i = 0; i < (one_player ? 1 : 2); ++i)
    {
        Player_Record& record = app->players[i];
        for (Game_Object& object : record.objects)
            object.Reset();
        record.gun = record.bomb = record.teleporter1 = record.teleporter2 = record.launcher = nullptr;
        for (uint8_t& tile : record.floor.tiles)
            tile = 0;
        record.pilot_x = 10.0f;
        record.pilot_y = app->ground_y;
        record.buggy_x = 20.0f;
    }
    app->current_level = app->levels;
    app->carried_item = app->cargo_item = nullptr;
    app->scroll = 10.0f;
    app->Update_Cargo_Point();
    // No "Get Ready" timer in the way of the tests that look at timers.
    Advance(3.0f);
}

void Player_Test::Step(int frames)
{
    for (int i = 0; i < frames; ++i)
    {
        Advance(1.0f / 60.0f);
        app->Update_Play();
        app->Render_Play();
    }
}

void Player_Test::Advance(float seconds)
{
    g_vorta_clock.now += static_cast<int64_t>(static_cast<double>(g_vorta_clock.frequency) * seconds);
}

Game_Object& Player_Test::Add_Object(int32_t type, float x, float y, int32_t state)
{
    Game_Object* object = app->New_Object();
    EXPECT_NE(object, nullptr);
    object->type = type;
    object->state = state;
    object->x = x;
    object->y = y;
    object->size = 0.05f;
    object->ground_y = 0.925f; // where items rest
    return *object;
}

// ---- Player_Window_Test ----

Vorta_Engine* Player_Window_Test::engine = nullptr;
Vorta_Window* Player_Window_Test::window = nullptr;
test_support::Scratch_Folder* Player_Window_Test::folder = nullptr;
test_support::Private_Display* Player_Window_Test::display = nullptr;

namespace
{
fs::path g_folder_before_suite;

void Write_Test_Sprite(const test_support::Scratch_Folder& folder, const Test_Sprite& sprite)
{
    const int width = sprite.cells * sprite.cell_width;
    const int height = sprite.cell_height;
    std::vector<uint32_t> data(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const uint32_t rgb =
                sprite.white ? 0xFFFFFFu : Test_Cell_Colour(sprite.id, x / sprite.cell_width);
            // stb wants R, G, B, A bytes in order.
            data[static_cast<size_t>(y) * width + x] =
                0xFF000000u | (rgb & 0xFFu) << 16 | (rgb & 0xFF00u) | (rgb >> 16 & 0xFFu);
        }
    std::string texture = "test_" + std::to_string(sprite.id);
    const std::string png = folder.File(("data/textures/" + texture + ".png").c_str());
    ASSERT_TRUE(stbi_write_png(png.c_str(), width, height, 4, data.data(), width * 4));

    std::string script =
        "frames 512 textures 1 texture 0 " + texture + " cells " + std::to_string(sprite.cells);
    for (int c = 0; c < sprite.cells; ++c)
        script += " cellp " + std::to_string(c) + " " + std::to_string(c * sprite.cell_width) + " 0 " +
                  std::to_string(sprite.cell_width) + " " + std::to_string(sprite.cell_height);
    test_support::Write_File(
        folder.File((std::string("data/textures/") + k_sprite_names[sprite.id] + ".spr").c_str()),
        script + "\n");
}
} // namespace

void Player_Window_Test::SetUpTestSuite()
{
    folder = new test_support::Scratch_Folder();
    fs::create_directories(folder->Path() / "data" / "textures");
    fs::copy(fs::path(VORTA5_RUNTIME_DIR) / "data" / "shaders", folder->Path() / "data" / "shaders",
             fs::copy_options::recursive);
    test_support::Write_File(folder->File("config.txt"), "MSAA false\n");
    for (const Test_Sprite& sprite : k_test_sprites)
        Write_Test_Sprite(*folder, sprite);
    g_folder_before_suite = fs::current_path();
    fs::current_path(folder->Path());
    display = new test_support::Private_Display(WIDTH, HEIGHT);
    if (display->Ready())
        display->Use();

    g_vorta_log.Set_Flags(LOG_FILE);
    engine = new Vorta_Engine();
    if (!engine->Init("", "config.txt") || !engine->Get_Window_Class().Registered())
        return;
    engine->Create_Device(0);
    window = engine->Create_Window(0, 0, WIDTH, HEIGHT, false, 60, false, false, "play test");
    if (!window)
        return;
    // The tests' own clock sets the pace: every pass is exactly one 1/60-s frame.
    window->Set_Lock(false);
    Vorta_Viewport* viewport = window->Get_Viewport(0);
    viewport->Set_Position(0.0f, 0.0f);
    viewport->Set_Size(1.0f, 1.0f);
}

void Player_Window_Test::TearDownTestSuite()
{
    delete engine;
    engine = nullptr;
    window = nullptr;
    delete display;
    display = nullptr;
    fs::current_path(g_folder_before_suite);
    delete folder;
    folder = nullptr;
}

void Player_Window_Test::SetUp()
{
    if (!window || !window->Get_Swap_Chain())
        GTEST_SKIP() << "no window with a device: " << platform::Last_Window_Error();
    app = std::make_unique<App>();
    g_app = app.get();
    app->window = window;
    app->viewport = window->Get_Viewport(0);
    app->viewport->Set_Callbacks(app.get());
    app->levels = new Level_Record[1]();
    app->level_count = 1;
    app->current_level = app->levels;
    for (const Test_Sprite& sprite : k_test_sprites)
    {
        app->sprites[sprite.id] = new Sprite(window);
        ASSERT_TRUE(app->sprites[sprite.id]->Initialize(k_sprite_names[sprite.id]))
            << k_sprite_names[sprite.id];
    }
    New_Game();
}

void Player_Window_Test::TearDown()
{
    if (window)
        window->Get_Viewport(0)->Set_Callbacks(nullptr);
    Player_Test::TearDown();
}

void Player_Window_Test::Draw_Play_Field()
{
    D3D_SwapChain* chain = window->Get_Swap_Chain();
    chain->Make_Current();
    chain->Bind_Back_Buffer();
    chain->Full_Viewport();
    const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    chain->Clear_Target(black);
    for (Sprite* sprite : app->sprites)
        if (sprite)
            sprite->Clear_Frames();
    app->Render_Play();
    ASSERT_TRUE(chain->Read_Back_Buffer(pixels));
    ASSERT_EQ(pixels.size(), static_cast<size_t>(WIDTH) * HEIGHT * 4);
}

void Player_Window_Test::Frame_Pass()
{
    Advance(1.0f / 60.0f);
    engine->Pump_Messages();
    window->Frame();
}

uint32_t Player_Window_Test::Pixel(int x, int y) const
{
    const uint8_t* p = &pixels[(static_cast<size_t>(y) * WIDTH + x) * 4];
    return static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[2];
}

bool Player_Window_Test::Row_Has(int y0, int y1, uint32_t rgb) const
{
    for (int y = y0; y <= y1; ++y)
        for (int x = 0; x < WIDTH; ++x)
            if (Pixel(x, y) == rgb)
                return true;
    return false;
}
