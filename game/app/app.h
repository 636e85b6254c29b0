// App: the game. It opens the main window, loads every asset, and runs the game-state machine that the
// engine calls once a frame through Update and Render. The play, menu and hiscore code are member
// functions of App too, each group in a file of its own under game/.
#pragma once
#include "engine/audio/music.h"
#include "engine/core/vorta_callbacks.h"
#include "engine/core/vorta_timer.h"
#include "engine/render/matrix.h"
#include "engine/render/sprite_types.h"
#include "game/app/display_settings.h"
#include "game/app/game_assets.h"
#include "game/hiscores/hiscore_table.h"
#include "game/levels/level_record.h"
#include "game/menus/controls.h"
#include "game/play/effects.h"
#include "game/play/player_record.h"
#include <cstdint>

class CSound_2d;
class Input_Playback;
class Input_Recorder;
class Input_System;
class Keyboard;
class Sprite;
class Text_File;
class Vorta_Viewport;

enum Game_State : int32_t
{
    STATE_MENU = 0,
    STATE_HISCORES = 1,
    STATE_HISCORE_ENTRY = 2,
    STATE_CREDITS = 3,
    STATE_ON_FOOT = 4,
    STATE_DRIVING = 5,
    STATE_FALLING = 6,
    STATE_TELEPORTING = 7,
    STATE_LIFE_LOST = 8,
    STATE_PAUSED_MESSAGE = 9,
    STATE_COMPLETED = 10,
};

enum Menu_Page : int32_t
{
    MENU_MAIN = 0,
    MENU_OPTIONS = 1,
    MENU_KEYBOARD = 2,
    MENU_SELECT_KEY = 3,
    MENU_JOYPAD = 4,
    MENU_SELECT_AXIS = 5,
    MENU_SELECT_BUTTON = 6,
};

// Animation periods (seconds a cell) of the objects that read them from "config.txt".
enum Anim_Rate
{
    FPS_BOMB = 0,
    FPS_TELEPORTER,
    FPS_METEOR, // then the other eleven alien kinds in Object_Type order
    FPS_COUNT = FPS_METEOR + 12
};

struct Menu_Star
{
    int32_t sprite = SPRITE_STAR_01;
    float x = 0.0f; // -1 to 1
    float y = 0.0f; // depth, 0.004 to 1.004
    float z = 0.0f; // -1 to 1
};

struct Sky_Star
{
    int32_t sprite = SPRITE_STAR_01;
    float x = 0.0f, y = 0.0f;
    float size = 0.0f;
};

constexpr int MENU_STARS = 512;
constexpr int SKY_STARS = 100;
constexpr int DIFFICULTY_EASY = 0;
constexpr int DIFFICULTY_NORMAL = 1;

// The texts the menus show that Initialize and the options menu rewrite.
extern char g_difficulty_text[32];
extern char g_resolution_text[64];
extern char g_display_mode_text[32];

class App : public Vorta_Callbacks
{
  public:
    App();
    // Saves the hiscores, "config.txt" and "controls.txt".
    ~App() override;
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // ---- Game application (app.cpp, app_states.cpp, app_stars.cpp, app_game.cpp) ----
    // Display settings, main window, splash, controls, levels, hiscores, font, music, sprites, sounds.
    void Initialize();
    void Update(Vorta_Window* window) override;
    void Render(Vorta_Window* window) override;
    void Start_Game(bool one_player);
    void Draw_Stars();
    void Render_Completed();
    // Stops all music and plays the song at full volume.
    void Play_Music(const char* file_name);
    // Parts of Initialize.
    void Read_Animation_Rates();
    void Show_Splash();
    void Set_Play_Constants();
    void Seed_Sky_Stars();
    void Seed_Menu_Stars();
    void Load_Sounds();
    // Set before Initialize to leave out the splash's 2-second hold (replays and benchmarks).
    bool skip_splash_hold = false;
    bool Skip_Splash_Hold() const { return skip_splash_hold; }

    // ---- Level script (game/levels) ----
    // Reads "data/levels.txt" (pack first, then disk); the program ends with the error box without it.
    void Load_Levels();
    // Reads a level script into the level count, the table and the three positions. Words it cannot use
    // are logged and skipped; afterwards there is always at least one level.
    void Read_Levels(Text_File& file);
    // Current level pointer := table + the current player's level index.
    void Select_Current_Level();
    // The level index moves on; past the last level the game is completed (20-second timer).
    void Advance_Level();

    // ---- Player and moon buggy (game/play) ----
    void Update_Play();
    void Respawn_Pilot();
    void Fire_Laser();
    void Use_Control();
    bool In_Reach(const Game_Object& object);
    void Load_Buggy();
    bool Can_Drive(int direction);
    void Make_Crater(float x);
    void Lay_Bridge(float x);
    void Generate_Floor(Player_Record& player);
    void Add_Score(int32_t points);
    void Destroy_Buggy();
    void Reset_Player(Player_Record& player);
    void Clear_Player(Player_Record& player);
    // Floor, current level, missile base, gun, bomb and teleporters of a player at a new game.
    void Set_Up_Level(Player_Record& player, bool countdown_running);
    // The first free object slot of the current player, reset; null when all are taken.
    Game_Object* New_Object();
    // The rules of the play states (game/play/player.cpp); true when the frame ends there.
    bool Update_On_Foot(float t);
    void Update_Driving(float t);
    void Update_Falling();
    void Update_Teleporting();
    // Where an item loaded on the buggy sits, from the buggy's position and facing.
    void Update_Cargo_Point();
    // A carried item falls from where it is; the pilot's hands are empty.
    void Drop_Carried_Item();
    // Once the life-lost timer has run out: the next turn, or the end of the game.
    void End_Turn();
    // The player of that index becomes current, with its level and the cargo on its buggy.
    void Make_Current_Player(int index);
    // The bomb or teleporter loaded on the current player's buggy, or null.
    Game_Object* Find_Cargo() const;

    // ---- Aliens (game/play/aliens.cpp) ----
    void Update_Aliens(float t);
    void Update_Object(Game_Object& object, float t);
    void Alien_Hit(Game_Object& object, int32_t points);
    // One alien of the type into the lowest free slot; false when none is free.
    bool Spawn_Alien(int type);
    void Update_Alien(Game_Object& object, float t);
    // Wrap, departure, animation and hit check at the end of every alien's update.
    void Finish_Alien(Game_Object& object);

    // ---- Mission objects (game/play/mission*.cpp) ----
    void Build_Missile_Base(bool countdown_running);
    void Launch_Missiles();
    void Complete_Level();
    void Bomb_Blast(float x);
    void Apply_Gravity(Game_Object& object, float g, float t);
    void Follow_Pilot(Game_Object& object, float offset);
    void Pause_Countdown(Player_Record& record);
    void Resume_Countdown(Player_Record& record);
    // Births of the mission objects into the first free slot; null when none is free.
    Game_Object* Create_Defence(float x);
    Game_Object* Create_Launcher(float x);
    Game_Object* Create_Missile(int type, float x, float y);
    Game_Object* Create_Gun();
    Game_Object* Create_Teleporter(int type, float x);
    // A bridge taken from the buggy: carried by the pilot.
    Game_Object* Create_Bridge();
    // A bomb next to the buggy, on the side away from the launcher (into the given record when not null).
    Game_Object* Create_Bomb(Game_Object* record = nullptr);
    void Update_Defence(Game_Object& object);
    void Update_Launcher(Game_Object& object);
    void Update_Missile(Game_Object& object, float t);
    void Update_Bomb(Game_Object& object, float t);
    void Update_Teleporter(Game_Object& object, float t);
    // A teleporter's or the gun's life on the ground: resting it slides to a stop, falling it lands.
    void Slide_Or_Fall(Game_Object& object, float t);
    void Update_Gun(Game_Object& object, float t);
    void Update_Bridge(Game_Object& object, float t);
    // Advances the animation of sprite 1 (or 2) by one cell each period, cyclic.
    void Animate(Game_Object& object, float period, bool second = false);

    // ---- Lasers, plasma balls and explosions (game/play/effects*.cpp) ----
    void Start_Laser_Beam(Laser_Beam& beam, float y, int direction);
    void Update_Lasers(float t);
    bool Laser_Hit(float x, float y);
    void Spawn_Explosion(Vector2 position, Vector2 base_velocity, int count, float frame_time_lo,
                         float frame_time_hi, bool outward, float spawn_radius, float speed_lo,
                         float speed_hi, Vector2 size);
    // One of the game's bursts (outward, speed 0.00025 to 0.00125, 0.9 to 1.1 sixtieths a cell); a preset
    // of width 0 takes the width given here (the size of what burst).
    void Spawn_Burst(float x, float y, const Explosion_Preset& preset, float width = 0.0f);
    void Add_Particle(float frame_time, Vector2 position, Vector2 size, Vector2 velocity);
    void Update_Particles(float t);
    void Spawn_Plasma_Ball(float x, float y, float vx, float vy, bool friendly);
    void Update_Plasma_Balls(float t);
    Plasma_Ball* Plasma_Hit(float x, float y);
    Plasma_Ball* Pilot_Plasma_Hit();

    // ---- Play-field drawing and HUD (game/play/play_render*.cpp) ----
    void Render_Play();
    void Draw_Backdrop();
    void Draw_Gauge(float x, float y, float length, float thickness, float value, const Colour& fill,
                    const Colour& back);
    // The pilot standing on the floor: applied by the drawing of the frame, after every update.
    void Apply_Ground_Contact();
    // The jump to the target teleporter, made by the drawing at mid-teleport.
    void Teleport_Jump();
    // The screen x of a world x: the camera keeps the pilot at 0.5.
    float Screen_X(float x) const { return Wrap_Delta(x, player->pilot_x) + 0.5f; }
    // Parts of Render_Play (game/play/play_render*.cpp).
    void Write_Particles();
    void Write_Buggy();
    void Write_Beams_And_Balls();
    void Write_Objects();
    void Write_Pilot();
    void Write_Pilot_On_Foot(bool start_message);
    void Write_Teleport_Effect();
    void Write_Game_Over();
    void Draw_Play_Layers();
    void Draw_Hud();
    void Draw_Hud_Text();

    // ---- Menus and controls (game/menus) ----
    void Sample_Controls();
    void Draw_Touch_Controls();
    void Load_Controls();
    void Menu_Move(int count);
    void Menu_Update();
    void Menu_Render();
    // The window's input system, or null without a window.
    Input_System* Get_Input() const;
    // Pad `index` of the input system, else pad 0 (index 0); its name becomes the joypad menu's first item.
    // Nothing without a window.
    void Select_Pad(int32_t index);
    // Menu pages of their own (menus.cpp, menu_render.cpp).
    void Main_Menu_Update();
    void Options_Menu_Update();
    void Joypad_Menu_Update();
    // The key, axis and button capture pages.
    void Capture_Update();

    // ---- Pads plugged in and pulled out (game/menus/pad_follow.cpp) ----
    // When the input's controller list has changed, the selected pad is chosen again (the pad at the pad
    // index, else the first) and the joypad menu's first item takes its name.
    void Follow_Pads();

    // ---- Hiscores and credits (game/hiscores) ----
    void Name_Entry_Update();
    void Render_Hiscores(bool entry_mode);
    void Render_Credits();

    // ---- Recorded runs: recordings, replays, playtests (game/app/run_*.cpp) ----
    // A recording's header lines: window size, wide-screen flag, difficulty, the controls in force, the
    // animation periods and both hiscore tables.
    void Write_Run_Header(Input_Recorder& recorder) const;
    // Sets the game up as a recording's header says; what it leaves out takes the defaults (wide screen,
    // normal, the default controls and periods, the default tables). False with the reason when a line
    // cannot be read.
    bool Apply_Run_Header(const Input_Playback& playback, char* error, int size);
    // The frame's trace line (no line end): state, current player, both players' score, lives and level,
    // pilot and buggy, fuel and the live objects, particles, plasma balls and lasers.
    void Trace_Line(uint32_t frame, char* text, int size) const;
    // Off for a replay: the hiscores, "config.txt" and "controls.txt" are never written (not at exit, not
    // when a name is entered), so that a replay leaves the player's files as they were.
    bool save_files = true;

    // ---- Helpers shared by the game's files (app_helpers.cpp) ----
    Sprite* Get_Sprite(int id) const { return id >= 0 && id < SPRITE_COUNT ? sprites[id] : nullptr; }
    // The sprite's cell count; 1 for a sprite that did not load, so that cell arithmetic stays defined.
    int Cell_Count(int id) const;
    // The size of a cell measured against the reference render size of 1920 x 1080, in normalised
    // screen units, for the rules of play: it does not change with the window size. (0, 0) when absent.
    Vector2 Rule_Cell_Size(int id, int cell = 0) const;
    // Writes one quad into a sprite's batch; nothing when the sprite did not load or is out of frames.
    void Put(int id, int cell, Vector2 position, Vector2 size, float rotation, const Colour& colour,
             uint32_t flags) const;
    void Put(Sprite* sprite, int cell, Vector2 position, Vector2 size, float rotation, const Colour& colour,
             uint32_t flags) const;
    // Draws a sprite's batch at (0, 0), scale 1, with the flag word (normal 0x44C0 unless given).
    void Draw_Batch(int id, uint32_t flags = 0x44C0) const;
    void Draw_Batch(Sprite* sprite, uint32_t flags = 0x44C0) const;
    // Plays a loaded sound; the voice used, or -1 when the sound did not load.
    int Play_Sound(int id, float volume, int voice = 255) const;
    CSound_2d* Get_Sound(int id) const { return id >= 0 && id < SOUND_COUNT ? sounds[id] : nullptr; }
    // The window's frame factor (1 at a steady 60 frames a second; 1 without a window).
    float Frame_Factor() const;
    // The viewport's aspect, height / width (9/16 without a window).
    float Aspect() const;
    // The window's keyboard, or null.
    const Keyboard* Get_Keyboard() const;

    // The current player's pilot and buggy.
    float Pilot_X() const { return player->pilot_x; }
    float Pilot_Y() const { return player->pilot_y; }
    float Buggy_X() const { return player->buggy_x; }
    float Buggy_Y() const { return player->buggy_y; }

    // ---- Window ----
    Vorta_Window* window = nullptr; // owned by the engine
    Vorta_Viewport* viewport = nullptr;
    bool wide_screen = true;

    // ---- Assets ----
    Sprite* sprites[SPRITE_COUNT] = {};  // owned
    Sprite* font = nullptr;              // owned, "KVR Font"
    CSound_2d* sounds[SOUND_COUNT] = {}; // owned by the sound system's cache
    Music* music = nullptr;              // owned
    float anim_period[FPS_COUNT];

    // ---- Game state ----
    int32_t game_state = STATE_ON_FOOT;
    int32_t saved_state = STATE_ON_FOOT;
    Vorta_Timer state_timer;
    Vorta_Timer repeat_timer;
    Vorta_Timer star_watch; // drives the menu star field

    // ---- Players ----
    Player_Record players[2];
    int current_player_index = 0;
    Player_Record* player = &players[0];

    // ---- Levels ----
    int32_t level_count = 0;
    Level_Record* levels = nullptr; // owned, level_count records
    Level_Record* current_level = nullptr;
    float teleport_x1 = 2.2f;
    float teleport_x2 = 30.0f;
    float gun_x = 30.04f;

    // ---- Hiscores ----
    Hiscore_Table hiscores[2]; // easy, normal
    int difficulty = DIFFICULTY_NORMAL;
    Hiscore_Table* hiscore_table = &hiscores[DIFFICULTY_NORMAL];
    int new_entry_row = -1;
    int name_cursor = 0;

    // ---- Menus and controls ----
    int32_t menu_page = MENU_MAIN;
    int menu_cursor = 0;
    float recorded_axes[8] = {};
    uint32_t recorded_button_held[16] = {};
    bool recorded_button_released[16] = {};
    char joypad_name[256] = "JOYPAD";
    Controls controls;
    uint32_t pad_changes_seen = 0; // the input's controller changes that Follow_Pads last saw

    // ---- Display settings ----
    Display_Settings display;

    // ---- Stars ----
    Menu_Star menu_stars[MENU_STARS];
    Sky_Star sky_stars[SKY_STARS];

    // ---- Play ----
    float ground_y = 0.88f;
    float pilot_max_speed = 0.015f;
    float buggy_max_speed = 0.01f;
    float wheel_angle = 0.0f;
    float alien_size = 0.05f;
    float pilot_width = 0.055f;
    float pilot_vx = 0.0f, pilot_vy = 0.0f; // vy is positive upward
    float facing = 0.0f;
    float scroll = 0.0f;
    float horizontal_push = 0.0f, vertical_push = 0.0f;
    float buggy_velocity = 0.0f;
    float buggy_facing = -1.0f;
    Vorta_Timer fire_timer;
    float laser_period = 0.1f;
    Laser_Beam lasers[MAX_LASER_BEAMS];
    Plasma_Ball plasma_balls[MAX_PLASMA_BALLS];
    Particle particles[MAX_PARTICLES];
    Game_Object* carried_item = nullptr;
    Game_Object* cargo_item = nullptr;
    float cargo_x = 0.0f, cargo_y = 0.0f;
    int teleport_target = 0;
    float fuel = 1.0f;

    // ---- Play-field drawing ----
    Vorta_Timer light_strip_timer;
    int32_t light_strip_frame = 0;
    float teleport_phase = 0.0f;
    Vorta_Timer draw_watch; // milliseconds for the walk and death animation
};

// True when width / height is 1.7 or more: the wide-screen layout of play and the HUD.
bool Is_Wide_Screen(int width, int height);

// The one App of the process: set when it is created, cleared after it is deleted.
extern App* g_app;
