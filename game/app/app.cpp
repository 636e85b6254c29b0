// App: construction, start-up (settings, window, splash and every asset) and the saves at exit.
#include "game/app/app.h"

#include "engine/audio/sound.h"
#include "engine/audio/sound_system.h"
#include "engine/core/config_list.h"
#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/core/vorta_viewport.h"
#include "engine/core/vorta_window.h"
#include "engine/render/d3d_swap_chain.h"
#include "engine/render/sprite.h"
#include "game/app/app_icon.h"
#include "game/play/random.h"

#include <chrono>
#include <cstdio>
#include <new>
#include <thread>

App* g_app = nullptr;
char g_difficulty_text[32] = "NORMAL";
char g_resolution_text[64] = "";
char g_display_mode_text[32] = "";

namespace
{
// The splash picture, shown while the assets load.
Sprite* g_splash = nullptr;

// The config keys of the animation rates, in Anim_Rate order.
const char* const k_rate_keys[FPS_COUNT] = {
    "fps_bomb",     "fps_teleporter", "fps_meteor",  "fps_Green_Block", "fps_bounce",
    "fps_cross",    "fps_spinner",    "fps_sparkle", "fps_blob",        "fps_dog",
    "fps_magnetic", "fps_tubular",    "fps_shooter", "fps_saturn",
};

int Config_Int(const char* key, int fallback)
{
    const Config_Entry* entry = Find_Config(g_vorta_config, key);
    return entry ? entry->value.integer : fallback;
}

// A new sprite on the window with the script of that name; null (after the box) when it does not load.
Sprite* Load_Sprite(Vorta_Window* window, const char* name)
{
    Sprite* sprite = new (std::nothrow) Sprite(window);
    if (sprite && sprite->Initialize(name))
        return sprite;
    delete sprite;
    Report_Error(false, "Faital Error!!!\r\nUnable to load sprite \"%s\"\r\n", name);
    return nullptr;
}
} // namespace

App::App()
{
    for (float& period : anim_period)
        period = 0.03125f;
    star_watch.Reset();
    draw_watch.Reset();
    music = new (std::nothrow) Music();
    for (Player_Record& record : players)
        record.next_extra_life = 10000;
}

App::~App()
{
    Save_Hiscores(hiscores[DIFFICULTY_EASY], "hiscores easy.dat");
    Save_Hiscores(hiscores[DIFFICULTY_NORMAL], "hiscores normal.dat");
    if (display.selected)
        Save_Config(display, "config.txt");
    delete music;
    music = nullptr;
    delete[] levels;
    levels = nullptr;
    current_level = nullptr;
    for (Sprite*& sprite : sprites)
    {
        delete sprite;
        sprite = nullptr;
    }
    delete font;
    font = nullptr;
    delete g_splash;
    g_splash = nullptr;
    // The sound system owns the sounds it loaded; the controls record saves "controls.txt" as it goes.
}

void App::Initialize()
{
    // Display settings and the main window.
    Print_Message("Build resolution list for UI use...");
    display.device = Config_Int("device", 0);
    display.display = Config_Int("display", 0);
    Build_Resolution_List(display);
    const Resolution_Entry* last = Last_Resolution(display);
    Print_Message("%s resolution %d x %d\r\n", last ? "Found" : "Unknown", last ? last->width : -1,
                  last ? last->height : -1);
    if (!last)
        Report_Error(true, "Failed to build screen resolution list!\r\n");

    Print_Message("Reading display params...");
    const Config_Entry* vsync = Find_Config(g_vorta_config, "vsync");
    display.vsync = vsync ? vsync->value.flag : false;
    Choose_Resolution(display, g_vorta_config);
    Print_Message("OK\r\n");

    const int width = display.selected->width;
    const int height = display.selected->height;
    window = g_vorta_engine->Create_Window(display.device, display.display, width, height,
                                           display.full_screen, 60, display.vsync, false, "Kestrova Reboot");
    if (!window)
        Report_Error(true, "Failed - Unable to open main window!\r\n");
    viewport = window->Get_Viewport(0);
    viewport->Set_Callbacks(this);
    viewport->Set_Position(0.0f, 0.0f);
    viewport->Set_Size(1.0f, 1.0f);
    window->Set_Icon(App_Icon());

    Print_Message("Reading game params...");
    wide_screen = Is_Wide_Screen(width, height);
    Read_Animation_Rates();
    std::snprintf(g_display_mode_text, sizeof g_display_mode_text, "%s",
                  display.full_screen ? "FULL SCREEN" : "WINDOWED");
    std::snprintf(g_resolution_text, sizeof g_resolution_text, "%d x %d PIXELS", width, height);
    Print_Message("OK\r\n");
    window->Set_Callbacks(this);

    Show_Splash();
    Load_Controls();
    Load_Levels();
    Load_Hiscores(hiscores[DIFFICULTY_EASY], "hiscores easy.dat", 80000, 5000);
    Load_Hiscores(hiscores[DIFFICULTY_NORMAL], "hiscores normal.dat", 120000, 7500);
    std::snprintf(g_difficulty_text, sizeof g_difficulty_text, "NORMAL");
    difficulty = DIFFICULTY_NORMAL;
    hiscore_table = &hiscores[DIFFICULTY_NORMAL];
    font = Load_Sprite(window, "KVR Font");

    Print_Message("Starting background music...");
    if (music)
    {
        music->Init(window);
        music->Play(MUSIC_TITLE, 1.0f);
    }
    Print_Message("OK\r\n");

    for (int i = 0; i < SPRITE_COUNT; ++i)
        sprites[i] = Load_Sprite(window, k_sprite_names[i]);

    Set_Play_Constants();
    game_state = STATE_MENU;
    state_timer.Start(10.0f);
    Seed_Sky_Stars();
    Seed_Menu_Stars();
    Load_Sounds();
}

bool Is_Wide_Screen(int width, int height)
{
    return height > 0 && static_cast<float>(width) / static_cast<float>(height) >= 1.7f;
}

void App::Read_Animation_Rates()
{
    for (int i = 0; i < FPS_COUNT; ++i)
    {
        const Config_Entry* entry = Find_Config(g_vorta_config, k_rate_keys[i]);
        float rate = entry ? entry->value.number : 32.0f;
        if (!(rate > 0.0f))
        {
            // A rate of 0 or below, or a word that is no number, would make no period at all.
            Print_Message("Animation rate %s \"%s\" is not above 0; using 32\r\n", k_rate_keys[i],
                          entry ? entry->value.text : "");
            rate = 32.0f;
        }
        anim_period[i] = 1.0f / rate;
    }
}

void App::Show_Splash()
{
    g_splash = Load_Sprite(window, "splash");
    if (!g_splash)
        return;
    Put(g_splash, 0, {0.0f, 0.0f}, {1.0f, -1.0f}, 0.0f, COLOUR_WHITE, SPR_LEFT | SPR_TOP);
    if (D3D_SwapChain* chain = window->Get_Swap_Chain())
    {
        chain->Make_Current();
        chain->Bind_Back_Buffer();
        chain->Reapply_Viewport();
        g_splash->Draw({0.0f, 0.0f}, {1.0f, 1.0f}, 0.0f, 0, 148, COLOUR_WHITE, 1.0f, {0.0f, 0.0f});
        chain->Present();
    }
    if (!Skip_Splash_Hold())
        std::this_thread::sleep_for(std::chrono::milliseconds(2000));
}

void App::Set_Play_Constants()
{
    ground_y = wide_screen ? 0.88f : 0.905f;
    pilot_max_speed = 0.015f;
    buggy_max_speed = 0.01f;
    alien_size = 0.05f;
    pilot_width = 0.055f;
}

void App::Seed_Sky_Stars()
{
    for (Sky_Star& star : sky_stars)
    {
        star.sprite = Random_Int() & 1 ? SPRITE_STAR_01 : SPRITE_STAR_02;
        star.size = Random_Range(0.001f, 0.03f);
        star.y = Random_Range(0.0f, 1.0f);
        star.x = Random_Unit();
    }
}

void App::Seed_Menu_Stars()
{
    for (Menu_Star& star : menu_stars)
    {
        const int r = Random_Int();
        star.z = Random_Range(-1.0f, 1.0f);
        star.y = Random_Range(0.004f, 1.004f);
        star.x = Random_Range(-1.0f, 1.0f);
        star.sprite = r & 1 ? SPRITE_STAR_01 : SPRITE_STAR_02;
    }
}

void App::Load_Sounds()
{
    Sound_System* system = window ? window->Get_Sound_System() : nullptr;
    for (int i = 0; i < SOUND_COUNT; ++i)
    {
        char file_name[64];
        std::snprintf(file_name, sizeof file_name, "%s.wav", k_sound_names[i]);
        CSound* sound = system ? system->Load(file_name, SOUND_2D) : nullptr;
        sounds[i] = static_cast<CSound_2d*>(sound);
        if (!sounds[i])
            Report_Error(false, "Faital Error!!!\r\nUnable to load sfx \"%s\"\r\n", k_sound_names[i]);
    }
}
