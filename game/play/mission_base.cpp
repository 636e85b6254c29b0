// The alien missile base of each level: the launcher with its countdown, the Defences that guard it, the
// homing and decoy missiles, the bomb's blast and the completion of a level.
#include "engine/audio/sound.h"
#include "game/app/app.h"
#include "game/play/random.h"
#include "game/play/world.h"

#include <cmath>

namespace
{
constexpr float k_missile_size = 0.090625f;
constexpr float k_degree = 0.01745329f;
} // namespace

void App::Set_Up_Level(Player_Record& record, bool countdown_running)
{
    // The base and items are built for the current player.
    player = &record;
    current_player_index = &record == &players[1] ? 1 : 0;
    Generate_Floor(record);
    Select_Current_Level();
    Build_Missile_Base(countdown_running);
    if (Game_Object* gun = Create_Gun())
        record.gun = gun;
    if (Game_Object* bomb = Create_Bomb())
        record.bomb = bomb;
    if (Game_Object* teleporter = Create_Teleporter(OBJ_TELEPORTER_1, teleport_x1))
        record.teleporter1 = teleporter;
    if (Game_Object* teleporter = Create_Teleporter(OBJ_TELEPORTER_2, teleport_x2))
        record.teleporter2 = teleporter;
}

void App::Build_Missile_Base(bool countdown_running)
{
    const float location = current_level ? current_level->location : 0.0f;
    const float d = Wrap_X(location + Buggy_X());
    for (Game_Object& object : player->objects)
        if (object.state != OBJECT_FREE && object.type >= OBJ_DEFENCE && object.type <= OBJ_HOMING_MISSILE)
            object.state = OBJECT_FREE;

    if (Game_Object* launcher = Create_Launcher(d))
    {
        player->launcher = launcher;
        launcher->action_timer.Start(80.0f);
        if (!countdown_running)
            launcher->action_timer.Pause();
    }

    static constexpr float k_two[] = {-0.2f, 0.2f};
    static constexpr float k_four[] = {-0.2f, -0.275f, 0.275f, 0.2f};
    static constexpr float k_six[] = {-0.2f, -0.275f, -1.0f, 1.0f, 0.275f, 0.2f};
    const int level = player->level;
    const float* offsets = level < 5 ? k_two : level < 10 ? k_four : k_six;
    const int count = level < 5 ? 2 : level < 10 ? 4 : 6;
    for (int i = 0; i < count; ++i)
        Create_Defence(Wrap_X(d + offsets[i]));
}

Game_Object* App::Create_Defence(float x)
{
    Game_Object* object = New_Object();
    if (!object)
        return nullptr;
    object->type = OBJ_DEFENCE;
    object->state = OBJECT_ALIVE;
    object->size = 0.05f;
    object->sprite = SPRITE_DEFENCE;
    object->cell = 0;
    object->sprite2 = SPRITE_ZAP;
    object->cell2 = Random_Int() % Cell_Count(SPRITE_DEFENCE);
    object->size2 = 0.05f;
    object->ground_y = wide_screen ? 0.885f : 0.91f;
    object->x = object->x2 = x;
    object->y = object->ground_y;
    object->y2 = object->ground_y - (wide_screen ? 0.05f : 0.035f);
    object->action_timer.Start(0.5f);
    return object;
}

Game_Object* App::Create_Launcher(float x)
{
    Game_Object* object = New_Object();
    if (!object)
        return nullptr;
    object->type = OBJ_LAUNCHER;
    object->state = OBJECT_RESTING;
    object->size = 0.105f;
    object->sprite = SPRITE_LAUNCHER_BASE;
    object->cell = 0;
    object->sprite2 = SPRITE_LAUNCHER_TOP;
    object->cell2 = Random_Int() % Cell_Count(SPRITE_LAUNCHER_BASE);
    object->size2 = 0.0770832f;
    object->ground_y = wide_screen ? 0.88f : 0.905f;
    object->x = object->x2 = x;
    object->y = object->ground_y;
    object->y2 = object->ground_y - (wide_screen ? 0.115f : 0.092f);
    return object;
}

Game_Object* App::Create_Missile(int type, float x, float y)
{
    Game_Object* object = New_Object();
    if (!object)
        return nullptr;
    object->type = type;
    object->state = OBJECT_ALIVE;
    object->size = k_missile_size;
    object->sprite = SPRITE_MISSILE;
    object->sprite2 = SPRITE_MISSILE_JET;
    object->size2 = 0.03f;
    object->x = object->x2 = x;
    object->y = object->y2 = y;
    object->angle = 0.7853981f;
    object->rotation = 0.0f;
    object->facing = Wrap_Delta(x, Buggy_X());
    object->hit_points = player->level + (type == OBJ_HOMING_MISSILE ? 10 : 1);
    return object;
}

void App::Update_Defence(Game_Object& object)
{
    if (object.action_timer.Expired())
    {
        object.action_timer.Restart();
        const int fire_rate = current_level ? current_level->fire_rate : 255;
        if ((Random_Int() & 255) > fire_rate)
        {
            const float a = Random_Range(-0.8726645f, 0.8726645f);
            Spawn_Plasma_Ball(object.x2, object.y2, std::sin(a) * 0.006f, -std::cos(a) * 0.006f, false);
        }
    }
    if (std::fabs(Wrap_Delta(object.x, Buggy_X())) < 1.5f * 0.055f &&
        (game_state == STATE_ON_FOOT || game_state == STATE_DRIVING))
        Destroy_Buggy();
    Animate(object, 0.1f);
    Animate(object, 0.05f, true);
    object.colour2 = Random_Colour();
}

void App::Update_Launcher(Game_Object& object)
{
    if (object.sprite2 == SPRITE_LAUNCHER_TOP_EMPTY)
        return;
    if (object.action_timer.Expired())
    {
        saved_state = game_state;
        game_state = STATE_PAUSED_MESSAGE;
        state_timer.Start(3.0f);
        if (CSound_2d* thrust = Get_Sound(SOUND_THRUST))
            thrust->Stop_Voice(0);
    }
    Animate(object, 0.05f, true);
}

void App::Launch_Missiles()
{
    Game_Object* launcher = player->launcher;
    if (!launcher || launcher->state == OBJECT_FREE)
        return;
    Create_Missile(OBJ_HOMING_MISSILE, launcher->x, launcher->y2 + 0.00125f);
    Create_Missile(OBJ_DECOY_MISSILE, launcher->x, launcher->y2 - 0.06f);
    launcher->sprite2 = SPRITE_LAUNCHER_TOP_EMPTY;
    launcher->cell2 = Wrap_Delta(launcher->x, Buggy_X()) > 0.0f ? 1 : 0;
}

void App::Update_Missile(Game_Object& object, float t)
{
    const bool homing = object.type == OBJ_HOMING_MISSILE;
    const bool rightward = object.facing <= 0.0f;
    const bool tilting = homing && object.angle != 0.0f;
    if (homing)
    {
        if (tilting)
        {
            object.angle -= t * k_degree * 0.2f;
            if (object.angle < 0.0f)
                object.angle = 0.0f;
        }
        else
        {
            const bool reached = std::fabs(Wrap_Delta(object.x, Buggy_X())) < 0.1f;
            object.vx = (rightward ? 1.0f : -1.0f) * t * 0.0075f;
            object.x = Wrap_X(object.x + object.vx);
            if (reached)
            {
                object.state = OBJECT_FREE;
                Spawn_Burst(object.x, object.y, BURST_MISSILE, object.size);
                Destroy_Buggy();
                return;
            }
        }
    }
    else
    {
        const float speed = t * 0.005f;
        object.vx = std::sin(object.rotation) * speed;
        object.vy = std::cos(object.rotation) * speed;
        object.x = Wrap_X(object.x + object.vx);
        object.y -= object.vy;
        if (object.y < -0.1f)
        {
            object.state = OBJECT_FREE;
            return;
        }
    }

    object.cell2 = Random_Int() & 1;
    if (rightward)
    {
        object.rotation = object.angle;
        object.cell2 += 2;
        object.cell = 1;
    }
    else
    {
        object.rotation = -object.angle;
        object.cell = 0;
    }
    object.rotation2 = object.rotation;

    if (!homing)
    {
        object.x2 = Wrap_X(rightward ? object.x - 0.034f : object.x + 0.034f);
        object.y2 = object.y + 0.06f;
    }
    else if (tilting)
    {
        // A missile still tilting on its launcher cannot be hit; its jet is not lit yet.
        object.x2 = object.y2 = 2.0f;
        return;
    }
    else
    {
        object.x2 = Wrap_X(rightward ? object.x - 0.048f : object.x + 0.048f);
        object.y2 = object.y;
    }

    if (Laser_Hit(object.x, object.y))
    {
        object.hit_points -= 1;
        Add_Score(100);
        Spawn_Burst(object.x, object.y, BURST_MISSILE_HIT, object.size * 0.5f);
    }
    if (Plasma_Hit(object.x, object.y))
    {
        object.hit_points -= 2;
        Add_Score(200);
        Spawn_Burst(object.x, object.y, BURST_MISSILE_HIT, object.size * 0.5f);
    }
    if (object.hit_points < 0)
    {
        // The record may be taken by the new base, so the burst's place is kept first.
        const float x = object.x, y = object.y, size = object.size;
        object.state = OBJECT_FREE;
        if (homing)
        {
            Complete_Level();
            Build_Missile_Base(true);
        }
        Add_Score(500);
        Spawn_Burst(x, y, BURST_MISSILE, size);
    }
}

void App::Bomb_Blast(float x)
{
    Make_Crater(x);
    for (Game_Object& object : player->objects)
    {
        if (object.state == OBJECT_FREE || (object.type != OBJ_DEFENCE && object.type != OBJ_LAUNCHER))
            continue;
        // Measured on the ring, so a base on the far side of the world's seam is reached too.
        if (std::fabs(Wrap_Delta(object.x, x)) >= object.size)
            continue;
        if (object.type == OBJ_LAUNCHER)
        {
            Add_Score(3000);
            Complete_Level();
            Build_Missile_Base(true);
            // The old base is gone and a new one stands; nothing more of this blast's reaches it.
            return;
        }
        Add_Score(500);
        Spawn_Burst(object.x, object.y, BURST_DEFENCE_BLAST);
        Make_Crater(object.x);
        object.state = OBJECT_FREE;
    }
}

void App::Complete_Level()
{
    for (Game_Object& object : player->objects)
    {
        if (object.state == OBJECT_FREE)
            continue;
        if (object.type == OBJ_DEFENCE)
        {
            Spawn_Burst(object.x, object.y, BURST_DEFENCE_CLEARED);
            Make_Crater(object.x);
            object.state = OBJECT_FREE;
        }
        else if (object.type == OBJ_LAUNCHER)
        {
            Spawn_Burst(object.x, object.y, BURST_LAUNCHER_CLEARED);
            for (int k = -2; k <= 2; ++k)
                Make_Crater(object.x + k / 60.0f);
            object.state = OBJECT_FREE;
        }
    }
    Advance_Level();
}

void App::Pause_Countdown(Player_Record& record)
{
    if (record.launcher && record.launcher->state != OBJECT_FREE)
        record.launcher->action_timer.Pause();
}

void App::Resume_Countdown(Player_Record& record)
{
    if (record.launcher && record.launcher->state != OBJECT_FREE)
        record.launcher->action_timer.Resume();
}

void App::Animate(Game_Object& object, float period, bool second)
{
    Vorta_Timer& timer = second ? object.anim_timer2 : object.anim_timer;
    if (!timer.Expired())
        return;
    timer.Start(period);
    int& cell = second ? object.cell2 : object.cell;
    if (++cell >= Cell_Count(second ? object.sprite2 : object.sprite))
        cell = 0;
}
