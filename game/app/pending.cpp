// Placeholders for the game functions still being written; each moves to its own file as it is written,
// and this file goes when it is empty.
#include "game/app/app.h"

// Level script
void App::Load_Levels() {}
void App::Select_Current_Level() {}
void App::Advance_Level() {}

// Mission set-up of a player's level
void App::Set_Up_Level(Player_Record&, bool) {}

// Aliens
void App::Update_Aliens(float) {}
void App::Update_Object(Game_Object&, float) {}
void App::Alien_Hit(Game_Object&, int32_t) {}
bool App::Spawn_Alien(int)
{
    return false;
}

// Mission objects
void App::Build_Missile_Base(bool) {}
void App::Launch_Missiles() {}
void App::Complete_Level() {}
void App::Bomb_Blast(float) {}
void App::Apply_Gravity(Game_Object&, float, float) {}
void App::Follow_Pilot(Game_Object&, float) {}
void App::Pause_Countdown(Player_Record&) {}
void App::Resume_Countdown(Player_Record&) {}

// Lasers, plasma balls and explosions
void App::Start_Laser_Beam(Laser_Beam&, float, int) {}
void App::Update_Lasers(float) {}
bool App::Laser_Hit(float, float)
{
    return false;
}
void App::Spawn_Explosion(Vector2, Vector2, int, float, float, bool, float, float, float, Vector2) {}
void App::Spawn_Burst(float, float, const Explosion_Preset&) {}
void App::Add_Particle(float, Vector2, Vector2, Vector2) {}
void App::Update_Particles(float) {}
void App::Spawn_Plasma_Ball(float, float, float, float, bool) {}
void App::Update_Plasma_Balls(float) {}
Plasma_Ball* App::Plasma_Hit(float, float)
{
    return nullptr;
}
Plasma_Ball* App::Pilot_Plasma_Hit()
{
    return nullptr;
}

// Menus and controls
void App::Sample_Controls() {}
void App::Draw_Touch_Controls() {}
void App::Load_Controls() {}
void App::Menu_Move(int) {}
void App::Menu_Update() {}
void App::Menu_Render() {}
Controls::~Controls() {}
bool Save_Controls(const Controls&, const char*)
{
    return false;
}
void Append_Key_Name(char*, int, int) {}

// Hiscores and credits
void App::Name_Entry_Update() {}
void App::Render_Hiscores(bool) {}
void App::Render_Credits() {}
void Load_Hiscores(Hiscore_Table&, const char*, int32_t, int32_t) {}
bool Save_Hiscores(const Hiscore_Table&, const char*)
{
    return false;
}
int Insert_Hiscore(Hiscore_Table&, int32_t, int32_t)
{
    return -1;
}
