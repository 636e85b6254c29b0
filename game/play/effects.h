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
// A width of 0 takes the width the caller passes: the size of the thing that burst.
struct Explosion_Preset
{
    int count;
    float radius;
    float width;
};

// The game's bursts. Those of width 0 take the size of what burst: the alien's, the missile's (half of it
// for a hit that does not destroy it) or the bomb's.
constexpr Explosion_Preset BURST_PILOT_LANDS = {8, 0.05f, 0.1f};       // the hit pilot reaches the ground
constexpr Explosion_Preset BURST_BUGGY = {16, 0.15f, 0.1f};            // the buggy destroyed
constexpr Explosion_Preset BURST_ALIEN = {4, 0.0125f, 0.0f};           // an alien killed, a meteor landing
constexpr Explosion_Preset BURST_DEFENCE_BLAST = {4, 0.025f, 0.1f};    // a Defence caught in a bomb blast
constexpr Explosion_Preset BURST_DEFENCE_CLEARED = {8, 0.05f, 0.1f};   // a Defence cleared at level end
constexpr Explosion_Preset BURST_LAUNCHER_CLEARED = {16, 0.15f, 0.1f}; // the launcher cleared at level end
constexpr Explosion_Preset BURST_MISSILE_HIT = {2, 0.0125f, 0.0f};     // a missile hit, not destroyed
constexpr Explosion_Preset BURST_MISSILE = {4, 0.0125f, 0.0f};         // a missile destroyed or arriving
constexpr Explosion_Preset BURST_BOMB = {4, 0.0125f, 0.0f};            // the bomb exploding

// What every burst shares.
constexpr float BURST_FRAME_TIME_LO = 0.9f; // sixtieths of a second a cell
constexpr float BURST_FRAME_TIME_HI = 1.1f;
constexpr float BURST_SPEED_LO = 0.00025f;
constexpr float BURST_SPEED_HI = 0.00125f;

// Beams, particles and balls in their pools.
constexpr int LASER_SEGMENT_LAST_AGE = 7; // a trail segment shows with ages 0 to 7
constexpr float LASER_LEFT_EDGE = -0.5f;  // a head beyond these screen x ends the beam
constexpr float LASER_RIGHT_EDGE = 1.5f;
constexpr float PLASMA_LIFE = 2.5f;      // seconds
constexpr float PLASMA_CELL_TIME = 0.1f; // seconds between cell changes
constexpr float PLASMA_TOP = 0.0f;       // a ball above or below these y leaves the field
constexpr float PLASMA_BOTTOM = 0.95f;
constexpr float PLASMA_HIT_DISTANCE = 0.03f;
