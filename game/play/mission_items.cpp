// The items of a mission: the bomb, the two teleporters, the gun that mounts on the buggy and the bridges
// taken from it; how they rest, fall, follow the pilot and ride on the buggy.
#include "game/app/app.h"
#include "game/play/random.h"
#include "game/play/world.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float k_half_pi = 1.5707964f;
constexpr float k_item_gravity = 0.0005f;

// The fields every item starts with.
void Item(Game_Object& object, int type, int sprite, float size, float ground_y)
{
    object.type = type;
    object.state = OBJECT_RESTING;
    object.sprite = sprite;
    object.size = size;
    object.ground_y = ground_y;
    object.y = ground_y;
    object.vx = 0.0f;
    object.flags = SPR_BOTTOM;
}
} // namespace

Game_Object* App::Create_Gun()
{
    Game_Object* object = New_Object();
    if (!object)
        return nullptr;
    Item(*object, OBJ_GUN, SPRITE_GUN, 0.065f, wide_screen ? 0.945f : 0.965f);
    object->cell = 0;
    object->sprite2 = SPRITE_GUN;
    object->cell2 = 2;
    object->colour2 = COLOUR_WHITE;
    object->size2 = 0.065f;
    object->flags2 = 1;
    object->x = object->x2 = Wrap_X(gun_x);
    object->y2 = object->ground_y;
    object->angle = 0.0f;
    return object;
}

Game_Object* App::Create_Bomb(Game_Object* record)
{
    Game_Object* object = record;
    if (object)
        object->Reset();
    else if (!(object = New_Object()))
        return nullptr;
    Item(*object, OBJ_BOMB, SPRITE_BOMB, 0.04f, wide_screen ? 0.925f : 0.94f);
    object->cell = Random_Int() % Cell_Count(SPRITE_BOMB);
    const Game_Object* launcher = player->launcher;
    const bool base_left = launcher && Wrap_Delta(launcher->x, Buggy_X()) < 0.0f;
    object->x = Wrap_X(base_left ? Buggy_X() + 0.1f : Buggy_X() - 0.1f);
    return object;
}

Game_Object* App::Create_Teleporter(int type, float x)
{
    Game_Object* object = New_Object();
    if (!object)
        return nullptr;
    Item(*object, type, SPRITE_TELEPORTER, 0.06f, wide_screen ? 0.925f : 0.945f);
    object->cell = Random_Int() % Cell_Count(SPRITE_TELEPORTER);
    object->x = Wrap_X(x);
    return object;
}

Game_Object* App::Create_Bridge()
{
    Game_Object* object = New_Object();
    if (!object)
        return nullptr;
    Item(*object, OBJ_BRIDGE, SPRITE_BRIDGE, 2.0f / 60.0f, wide_screen ? 0.925f : 0.945f);
    object->cell = Random_Int() % Cell_Count(SPRITE_BRIDGE);
    object->state = OBJECT_CARRIED;
    object->x = Pilot_X();
    return object;
}

void App::Apply_Gravity(Game_Object& object, float g, float t)
{
    object.x = Wrap_X(object.x + object.vx * t);
    object.y -= object.vy * t;
    object.vx *= 0.985f;
    object.vy = object.vy * 0.999975f - g;
}

void App::Follow_Pilot(Game_Object& object, float offset)
{
    object.x = Pilot_X();
    object.y = std::min(Pilot_Y() + offset, object.ground_y);
    object.vx = pilot_vx;
    object.vy = pilot_vy;
}

void App::Update_Bomb(Game_Object& object, float t)
{
    switch (object.state)
    {
    case OBJECT_FALLING:
        Apply_Gravity(object, t * k_item_gravity, t);
        if (object.y > object.ground_y)
        {
            if (std::fabs(object.vy) > 2.0f * t * k_item_gravity)
            {
                // Dropped from any height it goes off; a new bomb waits beside the buggy.
                const float x = object.x;
                Spawn_Burst(object.x, object.y, BURST_BOMB, object.size);
                Bomb_Blast(x);
                Create_Bomb(&object);
                return;
            }
            object.y = object.ground_y;
            object.state = OBJECT_RESTING;
            object.vx = object.vy = 0.0f;
        }
        break;
    case OBJECT_CARRIED:
        Follow_Pilot(object, wide_screen ? 0.125f : 0.085f);
        break;
    case OBJECT_LOADED:
        object.x = cargo_x;
        object.y = cargo_y;
        break;
    default:
        break;
    }
    Animate(object, anim_period[FPS_BOMB]);
}

void App::Slide_Or_Fall(Game_Object& object, float t)
{
    if (object.state == OBJECT_RESTING)
    {
        // A dropped item slides to a stop on the ground.
        object.x = Wrap_X(object.x + object.vx * t);
        object.vx *= 0.9f;
        object.y = object.ground_y;
        return;
    }
    Apply_Gravity(object, t * k_item_gravity, t);
    if (object.y > object.ground_y)
    {
        object.y = object.ground_y;
        object.state = OBJECT_RESTING;
    }
}

void App::Update_Teleporter(Game_Object& object, float t)
{
    switch (object.state)
    {
    case OBJECT_RESTING:
    case OBJECT_FALLING:
        Slide_Or_Fall(object, t);
        break;
    case OBJECT_CARRIED:
        Follow_Pilot(object, wide_screen ? 0.165f : 0.125f);
        break;
    case OBJECT_LOADED:
        object.x = cargo_x;
        object.y = cargo_y;
        break;
    default:
        break;
    }
    Animate(object, anim_period[FPS_TELEPORTER]);
}

void App::Update_Gun(Game_Object& object, float t)
{
    bool moved = false;
    switch (object.state)
    {
    case OBJECT_RESTING:
    case OBJECT_FALLING:
        Slide_Or_Fall(object, t);
        break;
    case OBJECT_CARRIED:
        Follow_Pilot(object, wide_screen ? 0.125f : 0.085f);
        object.facing = facing;
        break;
    case OBJECT_LOADED:
        object.x = Buggy_X();
        object.y = Buggy_Y() + 0.0075f;
        if (game_state == STATE_DRIVING)
        {
            if (controls.y != 0.0f)
            {
                object.angle += controls.y * 0.01745329f * 2.0f * t;
                moved = true;
            }
            if (object.action_timer.Expired() && controls.fire_frames > 0)
            {
                object.action_timer.Start(0.25f);
                const float d = object.rotation2 + (object.facing >= 0.0f ? k_half_pi : -k_half_pi);
                const float e = std::sin(d) * 0.015f, f = std::cos(d) * 0.015f;
                Spawn_Plasma_Ball(object.x2 + 2.0f * e, object.y2 + 4.0f * f, e, f, true);
            }
        }
        break;
    default:
        break;
    }
    const bool right = object.facing >= 0.0f;
    object.angle = std::clamp(object.angle, 0.0f, 1.5707961f);
    if (!moved)
        object.angle = std::max(0.0f, object.angle - t * 0.008726645f);
    object.rotation2 = right ? object.angle : -object.angle;
    object.cell = right ? 1 : 0;
    object.cell2 = right ? 3 : 2;
    object.x2 = object.x;
    object.y2 = object.y - (wide_screen ? 0.065f : 0.05f);
}

void App::Update_Bridge(Game_Object& object, float t)
{
    if (object.state == OBJECT_FALLING)
    {
        Apply_Gravity(object, t * k_item_gravity, t);
        if (object.y > object.ground_y)
        {
            Lay_Bridge(object.x);
            object.state = OBJECT_FREE;
        }
    }
    else if (object.state == OBJECT_CARRIED)
        Follow_Pilot(object, wide_screen ? 0.085f : 0.065f);
}
