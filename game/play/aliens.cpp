// Aliens: the object pass over a player's 100 records, the per-level quotas that keep each kind on the
// field, the twelve kinds' spawns and motions, and the laser and plasma hits that score them.
#include "engine/input/input_system.h"
#include "game/app/app.h"
#include "game/play/random.h"
#include "game/play/world.h"

#include <algorithm>
#include <cmath>

namespace
{
// Scan codes of the developer keys.
constexpr int KEY_LEFT_CONTROL = 29;
constexpr int KEY_RIGHT_CONTROL = 157;
constexpr int KEY_1 = 2;

// Points for each alien kind, in Object_Type order.
constexpr int32_t k_alien_points[ALIEN_KINDS] = {110, 120, 160, 120, 160, 160, 200, 250, 180, 220, 170, 410};

// The homing kinds: gain towards the target, horizontal jitter and target height on foot and while the
// buggy is driven, and the speed cap on NORMAL and on EASY.
struct Homing
{
    float gain;
    float jitter;                      // on foot: x and y offsets drawn from +-jitter (0: none)
    float driving_jitter;              // driving: x offset
    float driving_top, driving_bottom; // driving: target y range
    float cap_normal, cap_easy;
};
constexpr Homing k_blob{0.00025f, 0.5f, 0.5f, 0.1f, 0.5f, 0.005f, 0.00375f};
constexpr Homing k_dog{0.0005f, 0.25f, 0.5f, 0.1f, 0.3f, 0.006f, 0.0045f};
constexpr Homing k_saturn{0.001f, 0.0f, 0.5f, 0.0f, 0.1f, 0.01f, 0.0075f};

bool Homes(int type)
{
    return type == OBJ_BLOB || type == OBJ_DOG || type == OBJ_SATURN;
}
} // namespace

void App::Update_Aliens(float t)
{
    int count[ALIEN_KINDS] = {};
    for (Game_Object& object : player->objects)
    {
        if (object.state == OBJECT_FREE)
            continue;
        Update_Object(object, t);
        if (object.type >= 0 && object.type < ALIEN_KINDS)
            ++count[object.type];
    }

    if (current_level)
        for (int k = 0; k < ALIEN_KINDS; ++k)
            for (int n = current_level->max_aliens[k] - count[k]; n > 0; --n)
                if (!Spawn_Alien(k))
                    break;

    const Keyboard* keyboard = Get_Keyboard();
    if (!keyboard)
        return;
    if (keyboard->Key_Held(KEY_LEFT_CONTROL))
        for (int digit = 0; digit < 10; ++digit)
            if (keyboard->Key_Pressed(KEY_1 + digit))
                Spawn_Alien(digit);
    if (keyboard->Key_Held(KEY_RIGHT_CONTROL))
    {
        if (keyboard->Key_Pressed(KEY_1))
            Spawn_Alien(OBJ_SHOOTER);
        if (keyboard->Key_Pressed(KEY_1 + 1))
            Spawn_Alien(OBJ_SATURN);
        if (keyboard->Key_Pressed(KEY_1 + 4))
            Advance_Level();
        if (keyboard->Key_Pressed(KEY_1 + 5) && player->teleporter1)
            player->teleporter1->x = Pilot_X();
    }
}

bool App::Spawn_Alien(int type)
{
    if (type < 0 || type >= ALIEN_KINDS)
        return false;
    Game_Object* object = New_Object();
    if (!object)
        return false;
    const bool narrow = !wide_screen;
    const bool easy = difficulty == DIFFICULTY_EASY;
    const int sprite = SPRITE_METEOR + type;
    object->type = type;
    object->state = OBJECT_ALIVE;
    object->sprite = sprite;
    object->colour = COLOUR_WHITE;
    object->flags = 1;
    object->rotation = 0.0f;
    object->size = alien_size;

    if (type == OBJ_METEOR)
    {
        const float offset = Random_Range(-1.5f, 1.5f);
        object->x = Wrap_X(Pilot_X() + offset);
        object->y = std::fabs(offset) >= 0.65f ? Random_Range(-0.5f, 0.5f) : Random_Range(-1.0f, 0.0f);
        object->size = Random_Range(0.75f, 1.5f) * alien_size;
        object->ground_y = narrow ? 0.92f : 0.9f;
        object->vx = Random_Int() & 1 ? 0.004f : -0.004f;
        object->vy = 0.003f;
        object->cell = Random_Int() % Cell_Count(sprite);
    }
    else
    {
        const int a = Random_Int();
        object->cell = Random_Int() % Cell_Count(sprite);
        object->x = Wrap_X(a & 1 ? Pilot_X() - 2.0f : Pilot_X() + 2.0f);
        const float toward = a & 1 ? 1.0f : -1.0f; // from the left moving right, or the other way
        float bounce = 0.0f;
        switch (type)
        {
        case OBJ_GREEN_BLOCK:
            object->y = Random_Range(0.15f, 0.9f);
            object->vx = toward * Random_Range(0.002f, 0.007f);
            break;
        case OBJ_BOUNCE:
            bounce = 1.2f;
            object->y = Random_Range(0.05f, 0.9f);
            break;
        case OBJ_CROSS:
            object->y = Random_Range(0.15f, 0.8f);
            object->vx = toward * Random_Range(0.004f, 0.008f);
            break;
        case OBJ_SPINNER:
            bounce = 1.3f;
            object->y = Random_Range(0.05f, 0.9f);
            break;
        case OBJ_SPARKLE:
            bounce = 1.5f;
            object->y = Random_Range(0.175f, 0.88f);
            break;
        case OBJ_BLOB:
            object->y = 0.05f;
            break;
        case OBJ_DOG:
        case OBJ_SATURN:
            object->y = Random_Range(0.05f, 0.9f);
            break;
        case OBJ_MAGNETIC:
            object->y = Random_Range(0.25f, 0.5f);
            object->vx = toward * Random_Range(0.003f, 0.006f);
            break;
        case OBJ_TUBULAR:
            object->y = Random_Range(0.5f, 0.75f);
            object->vx = toward * Random_Range(0.003f, 0.006f);
            break;
        case OBJ_SHOOTER:
            object->y = Random_Range(0.175f, 0.88f);
            object->vx = toward * Random_Range(0.005f, 0.007f);
            break;
        default:
            break;
        }
        if (bounce > 0.0f)
        {
            object->vx = toward * Random_Range(0.003f, 0.006f);
            object->vy = object->vx * bounce;
            if (Random_Int() & 1)
                object->vy = -object->vy;
        }
        if (Homes(type))
        {
            object->vx = pilot_vx;
            object->vy = pilot_vy;
            return true;
        }
    }

    if (easy)
        object->vx *= 0.75f;
    if (narrow)
        object->vx *= 1.1f;
    if (easy)
        object->vy *= 0.75f;
    if (narrow)
        object->vy *= 1.1f;
    return true;
}

void App::Alien_Hit(Game_Object& object, int32_t points)
{
    if (!Laser_Hit(object.x, object.y) && !Plasma_Hit(object.x, object.y))
        return;
    object.state = OBJECT_FREE;
    Add_Score(points);
    Spawn_Burst(object.x, object.y, BURST_ALIEN, object.size);
}

// The end of every alien's update: wrap, leave the area around the pilot, animate, be hit.
void App::Finish_Alien(Game_Object& object)
{
    object.x = Wrap_X(object.x);
    if (std::fabs(Wrap_Delta(object.x, Pilot_X())) > 3.0f)
    {
        object.state = OBJECT_FREE;
        return;
    }
    if (object.anim_timer.Expired())
    {
        object.anim_timer.Start(anim_period[FPS_METEOR + object.type]);
        if (++object.cell >= Cell_Count(object.sprite))
            object.cell = 0;
    }
    Alien_Hit(object, k_alien_points[object.type]);
}

void App::Update_Alien(Game_Object& object, float t)
{
    const float bounce_floor = wide_screen ? 0.88f : 0.9f;
    switch (object.type)
    {
    case OBJ_METEOR:
        object.y += object.vy * t;
        object.x = Wrap_X(object.x + object.vx * t);
        if (std::fabs(Wrap_Delta(object.x, Pilot_X())) > 3.0f)
        {
            object.state = OBJECT_FREE;
            return;
        }
        if (object.y > object.ground_y)
        {
            object.state = OBJECT_FREE;
            Spawn_Burst(object.x, object.y, BURST_ALIEN, object.size);
            return;
        }
        break;
    case OBJ_GREEN_BLOCK:
    case OBJ_CROSS:
        object.x += object.vx * t;
        break;
    case OBJ_SHOOTER:
        object.x += object.vx * t;
        if (std::fabs(Wrap_Delta(object.x, Pilot_X())) < 0.4f && (Random_Int() & 255) < 5)
            Spawn_Plasma_Ball(object.x, object.y, 2.0f * object.vx, 0.0f, false);
        break;
    case OBJ_BOUNCE:
    case OBJ_SPINNER:
    case OBJ_SPARKLE:
    {
        const float bottom = object.type == OBJ_BOUNCE ? bounce_floor : 0.88f;
        object.x += object.vx * t;
        object.y += object.vy * t;
        if (object.y < 0.175f)
        {
            object.y = 0.175f;
            object.vy = -object.vy;
        }
        if (object.y > bottom)
        {
            object.y = bottom;
            object.vy = -object.vy;
        }
        break;
    }
    case OBJ_MAGNETIC:
    case OBJ_TUBULAR:
        object.x += object.vx * t;
        object.y += object.vy * t;
        if (object.y > 0.88f)
        {
            object.y = 0.88f;
            object.vy = -object.vy;
        }
        else
            object.vy += t * 0.0005f;
        break;
    case OBJ_BLOB:
    case OBJ_DOG:
    case OBJ_SATURN:
    {
        const Homing& h = object.type == OBJ_BLOB ? k_blob : object.type == OBJ_DOG ? k_dog : k_saturn;
        const float rel = Wrap_Delta(object.x, Pilot_X());
        float ex, ty;
        if (game_state == STATE_DRIVING)
        {
            ex = rel + Random_Range(-h.driving_jitter, h.driving_jitter);
            ty = Random_Range(h.driving_top, h.driving_bottom);
        }
        else if (h.jitter > 0.0f)
        {
            ex = rel + Random_Range(-h.jitter, h.jitter);
            ty = Pilot_Y() + Random_Range(-h.jitter, h.jitter);
        }
        else
        {
            ex = rel;
            ty = Pilot_Y();
        }
        object.vx = (object.vx - ex * h.gain) * 0.9875f;
        object.vy = (object.vy - (object.y - ty) * h.gain) * 0.9875f;
        float cap = difficulty == DIFFICULTY_EASY ? h.cap_easy : h.cap_normal;
        if (!wide_screen)
            cap *= 1.1f;
        object.vx = std::clamp(object.vx, -cap, cap);
        object.vy = std::clamp(object.vy, -cap, cap);
        object.x += object.vx * t;
        object.y += object.vy * t;
        if (object.y > 0.88f)
        {
            object.y = 0.88f;
            object.vy = -object.vy;
        }
        break;
    }
    default:
        return;
    }
    Finish_Alien(object);
}

void App::Update_Object(Game_Object& object, float t)
{
    switch (object.type)
    {
    case OBJ_DEFENCE:
        Update_Defence(object);
        break;
    case OBJ_LAUNCHER:
        Update_Launcher(object);
        break;
    case OBJ_DECOY_MISSILE:
    case OBJ_HOMING_MISSILE:
        Update_Missile(object, t);
        break;
    case OBJ_BOMB:
        Update_Bomb(object, t);
        break;
    case OBJ_TELEPORTER_1:
    case OBJ_TELEPORTER_2:
        Update_Teleporter(object, t);
        break;
    case OBJ_GUN:
        Update_Gun(object, t);
        break;
    case OBJ_BRIDGE:
        Update_Bridge(object, t);
        break;
    default:
        if (object.type >= 0 && object.type < ALIEN_KINDS)
            Update_Alien(object, t);
        break;
    }
}
