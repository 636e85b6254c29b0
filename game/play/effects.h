// The shared pools of play: laser beams, explosion particles and plasma balls.
#pragma once
#include "engine/core/vorta_timer.h"
#include "engine/render/sprite_types.h"
#include "game/app/game_assets.h"
#include <cstdint>

constexpr int MAX_LASER_BEAMS = 32;
constexpr int LASER_SEGMENTS = 10;
constexpr int MAX_PARTICLES = 512;
constexpr int MAX_PLASMA_BALLS = 64;

struct Laser_Beam
{
    uint8_t active = 0;
    int32_t sprite = SPRITE_NONE;
    float head_x = 0.0f; // screen-relative: 0.5 is the pilot
    float y = 0.0f;
    float speed = 0.0f; // signed advance per frame; 0 once the beam has hit something
    float segment_x[LASER_SEGMENTS] = {};
    int32_t segment_age[LASER_SEGMENTS] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    Colour colour = COLOUR_WHITE;
};

struct Particle
{
    int32_t sprite = SPRITE_NONE; // none = free slot
    int32_t glow_sprite = SPRITE_NONE;
    int32_t frame = 0;
    float x = 0.0f, y = 0.0f;
    float vx = 0.0f, vy = 0.0f;
    float width = 0.0f, height = 0.0f;
    float screen_x = -1.0f, screen_y = -1.0f;
    float frame_time = 0.0f;
    float rotation = 0.0f;
    Vorta_Timer frame_timer;
};

struct Plasma_Ball
{
    uint8_t active = 0;
    int32_t sprite = SPRITE_NONE;
    float x = 0.0f, y = 0.0f;
    float vx = 0.0f, vy = 0.0f;
    Vorta_Timer life_timer;
    Vorta_Timer frame_timer;
    int32_t cell = 0;
    Colour colour = COLOUR_WHITE;
    uint8_t friendly = 0;
};

// One explosion burst's settings: count, spawn radius and the particles' width (height -1: the cell's
// proportions); every burst of the game is outward, 0.00025 to 0.00125 fast, 0.9 to 1.1 sixtieths a cell.
struct Explosion_Preset
{
    int count;
    float radius;
    float width;
};
