// The play update: one frame of the pilot and the moon buggy in each play state, then the motion and the
// updates every state shares (particles, buggy, pilot, aliens and objects, lasers, plasma balls).
#include "engine/audio/sound.h"
#include "engine/input/input_system.h"
#include "game/app/app.h"

#include <cmath>

namespace
{
constexpr int KEY_ESCAPE = 1;

constexpr float CEILING_Y = 0.175f; // the HUD band lies above
constexpr float GRAVITY = 0.0003f;  // per frame, not scaled by the frame factor
constexpr float WALK_SPEED = 0.00125f;
constexpr float FLIGHT_STEP = 0.0005f;
constexpr float THRUST_STEP = 0.001f;
constexpr float BOARD_HEIGHT = 0.01f; // how far above the ground the pilot may still board
constexpr float BUGGY_PUSH = 0.0002f;
constexpr float TELEPORT_SECONDS = 1.5f;
constexpr float LIFE_LOST_SECONDS = 2.0f;

// How much a carried item slows the pilot: horizontal (speed step and top speed) and vertical (thrust).
struct Load_Factor
{
    float horizontal, vertical;
};

Load_Factor Carried_Factor(const Game_Object* item)
{
    if (!item)
        return {1.0f, 1.0f};
    switch (item->type)
    {
    case OBJ_BOMB:
        return {0.6f, 0.7f};
    case OBJ_TELEPORTER_1:
    case OBJ_TELEPORTER_2:
        return {0.7f, 0.8f};
    case OBJ_GUN:
        return {0.8f, 0.9f};
    case OBJ_BRIDGE:
        return {0.85f, 0.9f};
    default:
        return {1.0f, 1.0f};
    }
}

bool Is_Teleporter(const Game_Object* item)
{
    return item && (item->type == OBJ_TELEPORTER_1 || item->type == OBJ_TELEPORTER_2);
}

// Aliens, Defences and missiles kill the pilot they touch; the launcher and the items do not.
bool Hurts_Pilot(int32_t type)
{
    return (type >= OBJ_METEOR && type <= OBJ_DEFENCE) || type == OBJ_DECOY_MISSILE ||
           type == OBJ_HOMING_MISSILE;
}

float Distance(float dx, float dy)
{
    return std::sqrt(dx * dx + dy * dy);
}
} // namespace

void App::Update_Play()
{
    const float t = Frame_Factor();
    const Keyboard* keyboard = Get_Keyboard();

    // 1. Escape: the buggy is destroyed and this player's game ends after the fall.
    if (keyboard && keyboard->Key_Pressed(KEY_ESCAPE))
        Destroy_Buggy();

    // 2. The rule of the state; teleporting, the launch pause and a teleport start end the frame there.
    bool frame_ends = false;
    switch (game_state)
    {
    case STATE_ON_FOOT:
        frame_ends = Update_On_Foot(t);
        break;
    case STATE_DRIVING:
        Update_Driving(t);
        break;
    case STATE_FALLING:
        Update_Falling();
        break;
    case STATE_TELEPORTING:
        Update_Teleporting();
        frame_ends = true;
        break;
    case STATE_LIFE_LOST:
        pilot_vx = pilot_vy = 0.0f;
        if (state_timer.Expired())
            End_Turn();
        break;
    case STATE_PAUSED_MESSAGE:
        if (state_timer.Expired())
        {
            game_state = saved_state;
            Launch_Missiles();
        }
        frame_ends = true;
        break;
    default:
        break;
    }
    if (frame_ends)
        return;

    // 3. Particles.
    Update_Particles(t);

    // 4. The buggy rolls on in every state.
    buggy_velocity *= 0.95f;
    wheel_angle -= buggy_velocity * 40.0f;
    player->buggy_x = Wrap_X(player->buggy_x + buggy_velocity);
    Update_Cargo_Point();

    // 5. The pilot.
    player->pilot_x = Wrap_X(player->pilot_x + pilot_vx);
    player->pilot_y -= pilot_vy;
    scroll += pilot_vx;
    if (player->pilot_y < CEILING_Y)
    {
        player->pilot_y = CEILING_Y;
        pilot_vy = 0.0f;
    }

    // 6. Aliens and mission objects (with the developer keys); 7. lasers, then plasma balls.
    Update_Aliens(t);
    Update_Lasers(t);
    Update_Plasma_Balls(t);
}

void App::Update_Cargo_Point()
{
    cargo_x = Wrap_X(buggy_facing < 0.0f ? player->buggy_x + 0.03f : player->buggy_x - 0.03f);
    cargo_y = player->buggy_y + 0.015f;
}

bool App::Update_On_Foot(float t)
{
    const float ground = ground_y;
    Player_Record& p = *player;
    const Load_Factor load = Carried_Factor(carried_item);

    // 1. Horizontal: walking at full speed for any deflection, or flying on the jet pack's fuel.
    float push_x = 0.0f;
    if (p.pilot_y >= ground)
    {
        pilot_vx = 0.0f;
        if (controls.x < 0.0f)
            pilot_vx = -t * WALK_SPEED;
        else if (controls.x > 0.0f)
            pilot_vx = t * WALK_SPEED;
        push_x = pilot_vx;
    }
    else
    {
        float h = t * FLIGHT_STEP;
        float max_speed = pilot_max_speed;
        fuel -= 2.0f * std::fabs(controls.x * h);
        if (fuel <= 0.0f)
            fuel = 0.0f;
        else
        {
            h *= load.horizontal;
            max_speed *= load.horizontal;
            push_x = controls.x * h;
        }
        pilot_vx = pilot_vx * 0.985f + push_x;
        if (std::fabs(pilot_vx) > max_speed)
            pilot_vx = std::copysign(max_speed, pilot_vx);
    }

    // 2. Vertical: thrust on fuel; holding down while not rising brakes, even with an empty tank.
    float h2 = t * THRUST_STEP;
    float push_y = 0.0f;
    if (controls.y > 0.0f)
    {
        fuel -= 2.0f * std::fabs(controls.y * h2);
        if (fuel <= 0.0f)
            fuel = 0.0f;
        else
        {
            h2 *= load.vertical;
            push_y = controls.y * h2;
        }
    }
    else if (controls.y < 0.0f && pilot_vy <= 0.0f)
    {
        pilot_vy *= 0.925f;
        fuel -= 0.5f * std::fabs(controls.y * h2);
        if (fuel < 0.0f)
            fuel = 0.0f;
        push_y = GRAVITY;
    }

    // 3. Rocks and craters blow the pilot up off them unless a bridge covers them.
    const int column = Centre_Column(p.pilot_x);
    if (p.floor.tiles[column] > 2 && p.floor.bridges[column] == 0 && p.pilot_y >= ground - TILE_WIDTH)
        push_y += 0.5f * h2;

    // 4. Gravity.
    pilot_vy = pilot_vy * 0.999975f + push_y - GRAVITY;
    horizontal_push = push_x;
    vertical_push = push_y;

    // 5. The thrust sound, restarted as soon as it ends while the jets fire in the air.
    if (CSound_2d* thrust = Get_Sound(SOUND_THRUST))
    {
        if (p.pilot_y < ground && (push_x != 0.0f || push_y != 0.0f))
        {
            if (!thrust->Is_Voice_Playing(0))
                thrust->Play(0.9f, 0);
        }
        else
            thrust->Stop_Voice(0);
    }

    // 6. Facing.
    if (push_x != 0.0f)
        facing = push_x;

    // 7. Fuel: a slow trickle on the ground up to a tenth, a full tank at the buggy.
    if (fuel < 0.1f && p.pilot_y >= ground)
        fuel = std::fmin(fuel + t * 0.0004f, 0.1f);
    const float refuel_radius = 0.5f * Rule_Cell_Size(SPRITE_BUGGY_BODY).x;
    if (Distance(Wrap_Delta(p.buggy_x, p.pilot_x), p.buggy_y - p.pilot_y) < refuel_radius)
        fuel = 1.0f;

    // 8. Boarding.
    if (controls.Use_Pressed() && p.pilot_y >= ground - BOARD_HEIGHT &&
        std::fabs(Wrap_Delta(p.buggy_x, p.pilot_x)) < TILE_WIDTH)
    {
        game_state = STATE_DRIVING;
        pilot_vx = pilot_vy = 0.0f;
        Drop_Carried_Item();
    }

    // 9. Teleporters: fire inside one sends the pilot to the other, unless a teleporter is being carried.
    if (controls.Fire_Pressed() && !Is_Teleporter(carried_item))
    {
        const Vector2 box = Rule_Cell_Size(SPRITE_TELEPORTER);
        Game_Object* const teleporters[2] = {p.teleporter1, p.teleporter2};
        for (int i = 0; i < 2; ++i)
        {
            const Game_Object* teleporter = teleporters[i];
            if (!teleporter || teleporter->state == OBJECT_FREE)
                continue;
            if (std::fabs(Wrap_Delta(p.pilot_x, teleporter->x)) < box.x * 0.5f &&
                std::fabs(p.pilot_y - (teleporter->y - box.y * 0.5f)) < box.y * 0.5f)
            {
                game_state = STATE_TELEPORTING;
                state_timer.Start(TELEPORT_SECONDS);
                pilot_vx = pilot_vy = 0.0f;
                teleport_target = 1 - i;
                teleport_phase = -1.0f; // the jump is still to come
                Pause_Countdown(p);
                return true;
            }
        }
    }

    // 10. Hits by objects and hostile plasma balls; both are always looked for.
    Game_Object* hit = nullptr;
    for (Game_Object& object : p.objects)
        if (object.state != OBJECT_FREE && Hurts_Pilot(object.type) &&
            Distance(Wrap_Delta(p.pilot_x, object.x), p.pilot_y - object.y) < object.size)
        {
            hit = &object;
            break;
        }
    const Plasma_Ball* ball = Pilot_Plasma_Hit();
    if (hit || ball)
    {
        Drop_Carried_Item();
        if (hit)
        {
            pilot_vx = hit->vx;
            const bool homing = hit->type == OBJ_HOMING_MISSILE;
            if (hit->type != OBJ_DEFENCE)
                hit->state = OBJECT_FREE;
            // After the missile's slot is freed: the rebuilt base may take that very slot.
            if (homing)
                Build_Missile_Base(true);
        }
        if (ball)
            pilot_vx = ball->vx;
        pilot_vy = 0.0f;
        game_state = STATE_FALLING;
        --p.lives;
    }

    // 11. The laser, the use control and loading the buggy.
    Fire_Laser();
    Use_Control();
    Load_Buggy();
    return false;
}

void App::Update_Driving(float t)
{
    Player_Record& p = *player;
    float push = t * BUGGY_PUSH * controls.x;
    if ((push < 0.0f && !Can_Drive(-1)) || (push >= 0.0f && !Can_Drive(1)))
        push = 0.0f;

    buggy_velocity = buggy_velocity * 0.95f + push;
    if (buggy_velocity > buggy_max_speed)
        buggy_velocity = buggy_max_speed;
    else if (buggy_velocity < -buggy_max_speed)
        buggy_velocity = -buggy_max_speed;

    p.pilot_x = p.buggy_x;
    pilot_vx = buggy_velocity;

    // A mounted gun turns round with the buggy.
    if (p.gun && p.gun->state == OBJECT_LOADED && buggy_velocity * buggy_facing < 0.0f)
        p.gun->facing = -p.gun->facing;
    if (buggy_velocity != 0.0f)
        buggy_facing = buggy_velocity;

    if (controls.Use_Pressed())
        game_state = STATE_ON_FOOT;
    horizontal_push = push;
    vertical_push = 0.0f;
}

void App::Update_Falling()
{
    Player_Record& p = *player;
    horizontal_push = vertical_push = 0.0f;
    if (p.pilot_y >= ground_y)
    {
        Make_Crater(p.pilot_x);
        Spawn_Burst(p.pilot_x, p.pilot_y, BURST_PILOT_LANDS);
        game_state = STATE_LIFE_LOST;
        state_timer.Start(LIFE_LOST_SECONDS);
        return;
    }
    pilot_vx *= 0.985f;
    pilot_vy = pilot_vy * 0.999975f - GRAVITY;
}

void App::Update_Teleporting()
{
    if (!state_timer.Expired())
        return;
    // A frame long enough to skip the second half of the effect has not drawn the jump: make it here.
    if (teleport_phase < 0.0f)
        Teleport_Jump();
    game_state = STATE_ON_FOOT;
    if (CSound_2d* sound = Get_Sound(SOUND_TELEPORT))
        sound->Stop_Voice(0);
    Resume_Countdown(*player);
}
