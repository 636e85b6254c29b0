// One frame of the play field: every picture's quads written into its sprite's batch, then the batches
// drawn once each in layer order, then the HUD.
#include "engine/render/sprite.h"
#include "game/app/app.h"
#include "game/play/random.h"

#include <cmath>

namespace
{
constexpr uint32_t DRAW_ADDITIVE = SPR_CLEAR | SPR_ADD | SPR_LINEAR | SPR_CLAMP; // 0x48C0
constexpr uint32_t DRAW_FLOOR = SPR_CLEAR | SPR_ALPHA | SPR_LINEAR;              // 0x4480, wrap addressing
constexpr float OBJECT_VIEW_RANGE = 0.75f; // objects further from the pilot are not written
constexpr float BUGGY_WIDTH = 0.153f;
constexpr float WHEEL_WIDTH = 0.037f;
constexpr float WHEEL_OFFSET = 0.039f;
constexpr float LIGHT_STRIP_WIDTH = 0.12462914f;
constexpr float LIGHT_STRIP_SECONDS = 0.0416f;

Colour With_Alpha(Colour colour, float alpha)
{
    colour.a = alpha;
    return colour;
}
} // namespace

void App::Render_Play()
{
    Draw_Backdrop();
    Write_Particles();
    Write_Buggy();
    Write_Beams_And_Balls();
    Write_Objects();
    Write_Pilot();
    Draw_Play_Layers();
    Draw_Hud();
    Draw_Hud_Text();
}

void App::Write_Particles()
{
    static constexpr Colour glow_colour = {1.0f, 0.2f, 0.1f, 0.2f};
    for (const Particle& particle : particles)
    {
        if (particle.sprite == SPRITE_NONE)
            continue;
        const Vector2 at = {particle.screen_x, particle.screen_y};
        Put(particle.sprite, particle.frame, at, {particle.width, particle.height}, particle.rotation,
            COLOUR_WHITE, SPR_CENTRE | SPR_ADD);
        const float w = particle.width;
        const float g = Random_Range(2.5f * w, 5.0f * w) + w;
        Put(particle.glow_sprite, 0, at, {g, g}, 0.0f, glow_colour, SPR_CENTRE);
    }
}

void App::Write_Buggy()
{
    const Player_Record& p = *player;
    const float bx = Screen_X(p.buggy_x);
    const bool left = buggy_facing < 0.0f;
    const bool driving = game_state == STATE_DRIVING;
    Put(SPRITE_BUGGY_BODY, (left ? 1 : 0) + (driving ? 2 : 0), {bx, p.buggy_y}, {BUGGY_WIDTH, -1.0f}, 0.0f,
        COLOUR_WHITE, SPR_CENTRE);
    const float wheel_y = p.buggy_y + (wide_screen ? 0.035f : 0.0275f);
    for (float side : {-1.0f, 1.0f})
        Put(SPRITE_BUGGY_WHEEL, 0, {bx + side * WHEEL_OFFSET, wheel_y}, {WHEEL_WIDTH, -1.0f}, wheel_angle,
            COLOUR_WHITE, SPR_CENTRE);

    // The light strip runs while driving and stands still otherwise; half its cells face each way.
    const int half = Cell_Count(SPRITE_BUGGY_LIGHT_STRIP) / 2;
    if (driving && light_strip_timer.Expired())
    {
        light_strip_timer.Start(LIGHT_STRIP_SECONDS);
        if (++light_strip_frame >= half)
            light_strip_frame = 0;
    }
    Put(SPRITE_BUGGY_LIGHT_STRIP, left ? light_strip_frame : half + light_strip_frame,
        {left ? bx - 0.005f : bx + 0.005f, p.buggy_y - 0.006f}, {LIGHT_STRIP_WIDTH, -1.0f}, 0.0f,
        COLOUR_WHITE, SPR_CENTRE);
}

void App::Write_Beams_And_Balls()
{
    const float t = Frame_Factor();
    for (const Laser_Beam& beam : lasers)
    {
        if (!beam.active)
            continue;
        const float w = t * std::fabs(beam.speed);
        const Colour glow = With_Alpha(beam.colour, 0.125f);
        for (int i = 0; i < LASER_SEGMENTS; ++i)
        {
            const int age = beam.segment_age[i];
            if (age < 0)
                continue;
            const Vector2 at = {beam.segment_x[i], beam.y};
            Put(SPRITE_LASER, age, at, {w, -1.0f}, 0.0f, beam.colour, SPR_CENTRE);
            Put(SPRITE_LASER_GLOW, age, at, {1.1f * w, 0.035f}, 0.0f, glow, SPR_CENTRE);
        }
    }
    for (const Plasma_Ball& ball : plasma_balls)
    {
        if (!ball.active)
            continue;
        const Vector2 at = {Screen_X(ball.x), ball.y};
        Put(SPRITE_PLAZMA_BALL, ball.cell, at, {0.025f, -1.0f}, 0.0f, ball.colour, SPR_CENTRE);
        Put(SPRITE_GLOW, 0, at, {0.15f, -1.0f}, 0.0f, With_Alpha(ball.colour, 0.125f), SPR_CENTRE);
    }
}

void App::Write_Objects()
{
    const float pilot_x = player->pilot_x;
    for (const Game_Object& object : player->objects)
    {
        if (object.state == OBJECT_FREE)
            continue;
        if (object.sprite != SPRITE_NONE && std::fabs(Wrap_Delta(object.x, pilot_x)) < OBJECT_VIEW_RANGE)
            Put(object.sprite, object.cell, {Screen_X(object.x), object.y}, {object.size, -1.0f},
                object.rotation, object.colour, static_cast<uint32_t>(object.flags));
        if (object.sprite2 != SPRITE_NONE && std::fabs(Wrap_Delta(object.x2, pilot_x)) < OBJECT_VIEW_RANGE)
            Put(object.sprite2, object.cell2, {Screen_X(object.x2), object.y2}, {object.size2, -1.0f},
                object.rotation2, object.colour2, static_cast<uint32_t>(object.flags2));
    }
}

void App::Draw_Play_Layers()
{
    for (int id : {SPRITE_BACKGROUND_STRIP, SPRITE_BACKGROUND_NEBULA, SPRITE_STAR_01, SPRITE_STAR_02,
                   SPRITE_BACKGROUND_FAR, SPRITE_BACKGROUND})
        Draw_Batch(id);
    Draw_Batch(SPRITE_FLOOR_TILES, DRAW_FLOOR);
    for (int id : {SPRITE_MISSILE, SPRITE_MISSILE_JET, SPRITE_LAUNCHER_BASE, SPRITE_LAUNCHER_TOP_EMPTY,
                   SPRITE_LAUNCHER_TOP})
        Draw_Batch(id);

    // The item loaded on the buggy is drawn behind it, loose items in front of it.
    const auto buggy = [this]()
    {
        Draw_Batch(SPRITE_BUGGY_BODY);
        Draw_Batch(SPRITE_BUGGY_WHEEL);
        Draw_Batch(SPRITE_BUGGY_LIGHT_STRIP);
    };
    const auto teleporters = [this]()
    {
        Draw_Batch(SPRITE_TELEPORT_LINES, DRAW_ADDITIVE);
        Draw_Batch(SPRITE_TELEPORTER);
    };
    const int cargo = cargo_item ? cargo_item->type : OBJ_NONE;
    if (player->buggy_destroyed)
    {
        Draw_Batch(SPRITE_BOMB);
        teleporters();
        if (!player->gun_mounted)
            Draw_Batch(SPRITE_GUN);
    }
    else if (cargo == OBJ_BOMB)
    {
        Draw_Batch(SPRITE_BOMB);
        buggy();
        Draw_Batch(SPRITE_GUN);
        teleporters();
    }
    else if (cargo == OBJ_TELEPORTER_1 || cargo == OBJ_TELEPORTER_2)
    {
        teleporters();
        buggy();
        Draw_Batch(SPRITE_GUN);
        Draw_Batch(SPRITE_BOMB);
    }
    else
    {
        buggy();
        Draw_Batch(SPRITE_GUN);
        Draw_Batch(SPRITE_BOMB);
        teleporters();
    }

    Draw_Batch(SPRITE_BRIDGE);
    Draw_Batch(SPRITE_LASER_GLOW, DRAW_ADDITIVE);
    for (int id : {SPRITE_LASER,   SPRITE_PLAZMA_BALL, SPRITE_KVR_STAND, SPRITE_KVR_WALK, SPRITE_KVR_FLY,
                   SPRITE_KVR_JET, SPRITE_KVR_DEATH,   SPRITE_DEFENCE,   SPRITE_METEOR,   SPRITE_GREEN_BLOCK,
                   SPRITE_BOUNCE,  SPRITE_CROSS,       SPRITE_SPINNER,   SPRITE_SPARKLE,  SPRITE_BLOB,
                   SPRITE_DOG,     SPRITE_MAGNETIC,    SPRITE_TUBULAR,   SPRITE_SHOOTER,  SPRITE_SATURN,
                   SPRITE_ZAP})
        Draw_Batch(id);
    Draw_Batch(SPRITE_GLOW, DRAW_ADDITIVE);
    Draw_Batch(SPRITE_EXPLOSION, DRAW_ADDITIVE);
    for (int id : {SPRITE_FOREGROUND, SPRITE_FOREGROUND_NEAR, SPRITE_GET_READY, SPRITE_GAME_OVER,
                   SPRITE_MISSILE_LAUNCH, SPRITE_TELEPORT_MESSAGE, SPRITE_PLAYERS})
        Draw_Batch(id);
}
