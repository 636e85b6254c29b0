// Placeholders for the game functions still being written; each moves to its own file as it is written,
// and this file goes when it is empty.
#include "game/app/app.h"

// Player and moon buggy
void App::Update_Play() {}
void App::Respawn_Pilot() {}
void App::Fire_Laser() {}
void App::Use_Control() {}
bool App::In_Reach(const Game_Object&)
{
    return false;
}
void App::Load_Buggy() {}
bool App::Can_Drive(int)
{
    return false;
}
void App::Make_Crater(float) {}
void App::Lay_Bridge(float) {}
void App::Generate_Floor(Player_Record&) {}
void App::Add_Score(int32_t) {}
void App::Destroy_Buggy() {}
void App::Reset_Player(Player_Record&) {}
void App::Clear_Player(Player_Record&) {}

// Play-field drawing and HUD
void App::Render_Play() {}
void App::Draw_Backdrop() {}
void App::Draw_Gauge(float, float, float, float, float, const Colour&, const Colour&) {}
void App::Apply_Ground_Contact() {}
void App::Teleport_Jump() {}
