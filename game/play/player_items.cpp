// What the pilot does with his hands: the laser, the use control (drop, take a bridge, pick up an item),
// the reach test, and loading items dropped onto the buggy.
#include "game/app/app.h"

#include <cmath>

namespace
{
constexpr float LOAD_RADIUS = 0.055f; // a falling item this close to the cargo point is loaded
constexpr float REAR_LEFT = 0.036f;   // the rear point behind a buggy facing left
constexpr float REAR_RIGHT = 0.04f;   // and behind one facing right

bool Can_Be_Taken(const Game_Object& object)
{
    switch (object.type)
    {
    case OBJ_BOMB:
    case OBJ_TELEPORTER_1:
    case OBJ_TELEPORTER_2:
        return true;
    case OBJ_GUN:
        return object.state != OBJECT_LOADED; // a mounted gun stays on the buggy
    default:
        return false;
    }
}
} // namespace

void App::Fire_Laser()
{
    if (!fire_timer.Expired() || controls.fire_frames <= 0)
        return;
    for (Laser_Beam& beam : lasers)
        if (!beam.active)
        {
            fire_timer.Start(laser_period);
            Start_Laser_Beam(beam, player->pilot_y, facing < 0.0f ? -1 : 1);
            Play_Sound(SOUND_LASER, 0.6f);
            return;
        }
    // No free beam: the timer is left as it is, so the shot comes as soon as one is free.
}

void App::Use_Control()
{
    if (game_state != STATE_ON_FOOT || !controls.Use_Pressed())
        return;
    Player_Record& p = *player;

    // 1. Whatever is carried is put down.
    if (carried_item)
    {
        Drop_Carried_Item();
        return;
    }

    // 2. At the buggy's rear a bridge is taken; the buggy never runs out of them.
    const float rear = buggy_facing < 0.0f ? p.buggy_x + REAR_LEFT : p.buggy_x - REAR_RIGHT;
    if (p.pilot_y >= ground_y && std::fabs(Wrap_Delta(rear, p.pilot_x)) < TILE_WIDTH)
    {
        if (Game_Object* bridge = Create_Bridge())
        {
            carried_item = bridge;
            Play_Sound(SOUND_PICKUP, 0.9f);
        }
        return;
    }

    // 3. The first item within reach is picked up, off the buggy too.
    for (Game_Object& object : p.objects)
        if (object.state != OBJECT_FREE && &object != carried_item && Can_Be_Taken(object) &&
            In_Reach(object))
        {
            if (&object == cargo_item)
                cargo_item = nullptr;
            object.state = OBJECT_CARRIED;
            carried_item = &object;
            Play_Sound(SOUND_PICKUP, 0.9f);
            return;
        }
}

bool App::In_Reach(const Game_Object& object)
{
    if (object.type == OBJ_METEOR || object.type == OBJ_GREEN_BLOCK || object.type == OBJ_DEFENCE)
        return false;
    const Vector2 cell = Rule_Cell_Size(object.sprite);
    const float dx = Wrap_Delta(player->pilot_x, object.x);
    // Items stand on their position, so their middle is half a cell higher (a whole cell on the buggy).
    const float dy = player->pilot_y - object.y + (object.state == OBJECT_LOADED ? cell.y : cell.y * 0.5f);
    return std::sqrt(dx * dx + dy * dy) < cell.x;
}

void App::Load_Buggy()
{
    Player_Record& p = *player;
    Game_Object* const candidates[4] = {p.gun, p.bomb, p.teleporter1, p.teleporter2};
    // With a cargo already on board only the gun, which has a mount of its own, still fits.
    const int count = cargo_item ? 1 : 4;
    for (int i = 0; i < count; ++i)
    {
        Game_Object* item = candidates[i];
        if (!item || item->state != OBJECT_FALLING || item->type < OBJ_BOMB || item->type > OBJ_GUN)
            continue;
        const float dx = Wrap_Delta(item->x, cargo_x);
        const float dy = item->y - cargo_y;
        if (std::sqrt(dx * dx + dy * dy) >= LOAD_RADIUS)
            continue;
        item->state = OBJECT_LOADED;
        if (item->type == OBJ_GUN)
            p.gun_mounted = 1;
        else
            cargo_item = item;
        return;
    }
}
