// Explosions: a burst of particles flung out from a point with one of five bangs, and the particles'
// animation through the cells of "Explosion".
#include "game/app/app.h"
#include "game/play/random.h"
#include "game/play/world.h"

#include <cmath>

namespace
{
constexpr float k_full_turn = 6.2831855f;

// (x, y) turned by angle a.
Vector2 Rotate(Vector2 v, float a)
{
    const float c = std::cos(a), s = std::sin(a);
    return {v.x * c - v.y * s, v.y * c + v.x * s};
}
} // namespace

void App::Spawn_Explosion(Vector2 position, Vector2 base_velocity, int count, float frame_time_lo,
                          float frame_time_hi, bool outward, float spawn_radius, float speed_lo,
                          float speed_hi, Vector2 size)
{
    const int bang = Random_Int() % 5;
    Play_Sound(SOUND_EXPLOSION_1 + bang, 0.9f, 255);
    // The random numbers are drawn in this order for every particle, so a recorded game replays alike.
    for (int i = 0; i < count; ++i)
    {
        const float frame_time = Random_Range(frame_time_lo, frame_time_hi) / 60.0f;
        const float r = Random_Range(0.0f, spawn_radius);
        const float theta = Random_Unit() * k_full_turn;
        const Vector2 offset = Rotate({0.0f, r}, theta);
        const float speed = Random_Range(speed_lo, speed_hi);
        const float phi = outward ? theta : Random_Unit() * k_full_turn;
        const Vector2 push = Rotate({0.0f, speed}, phi);
        Add_Particle(frame_time, {position.x + offset.x, position.y + offset.y}, size,
                     {base_velocity.x + push.x, base_velocity.y + push.y});
    }
}

void App::Spawn_Burst(float x, float y, const Explosion_Preset& preset, float width)
{
    const float particle_width = preset.width > 0.0f ? preset.width : width;
    Spawn_Explosion({x, y}, {0.0f, 0.0f}, preset.count, BURST_FRAME_TIME_LO, BURST_FRAME_TIME_HI, true,
                    preset.radius, BURST_SPEED_LO, BURST_SPEED_HI, {particle_width, -1.0f});
}

void App::Add_Particle(float frame_time, Vector2 position, Vector2 size, Vector2 velocity)
{
    for (Particle& particle : particles)
    {
        if (particle.sprite != SPRITE_NONE)
            continue;
        particle.sprite = SPRITE_EXPLOSION;
        particle.glow_sprite = SPRITE_GLOW;
        particle.frame = 0;
        particle.x = position.x;
        particle.y = position.y;
        particle.vx = velocity.x;
        particle.vy = velocity.y;
        particle.width = size.x;
        particle.height = size.y;
        particle.screen_x = -1.0f;
        particle.screen_y = -1.0f;
        particle.frame_time = frame_time;
        particle.rotation = Random_Unit() * k_full_turn;
        particle.frame_timer.Start(frame_time);
        return;
    }
    // The pool is full: the particle is left out.
}

void App::Update_Particles(float t)
{
    for (Particle& particle : particles)
    {
        if (particle.sprite == SPRITE_NONE)
            continue;
        if (particle.frame_timer.Expired())
        {
            ++particle.frame;
            if (particle.frame >= Cell_Count(particle.sprite))
            {
                particle.sprite = SPRITE_NONE;
                continue;
            }
            particle.frame_timer.Start(particle.frame_time);
        }
        // A burst is symmetric, so the mirrored x step does not show.
        particle.x -= t * particle.vx;
        particle.y += t * particle.vy;
        particle.screen_x = Wrap_Delta(particle.x, player->pilot_x) + 0.5f;
        particle.screen_y = particle.y;
    }
}
