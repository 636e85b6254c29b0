// Game_Object: one alien or mission object of a player, with its two sprites; 100 per player.
#pragma once
#include "engine/core/vorta_timer.h"
#include "engine/render/sprite_types.h"
#include "game/app/game_assets.h"
#include <cstdint>

enum Object_Type : int32_t
{
    OBJ_METEOR = 0,
    OBJ_GREEN_BLOCK = 1,
    OBJ_BOUNCE = 2,
    OBJ_CROSS = 3,
    OBJ_SPINNER = 4,
    OBJ_SPARKLE = 5,
    OBJ_BLOB = 6,
    OBJ_DOG = 7,
    OBJ_MAGNETIC = 8,
    OBJ_TUBULAR = 9,
    OBJ_SHOOTER = 10,
    OBJ_SATURN = 11,
    OBJ_DEFENCE = 12,
    OBJ_LAUNCHER = 13,
    OBJ_DECOY_MISSILE = 14,
    OBJ_HOMING_MISSILE = 15,
    OBJ_BOMB = 16,
    OBJ_TELEPORTER_1 = 17,
    OBJ_TELEPORTER_2 = 18,
    OBJ_GUN = 19,
    OBJ_BRIDGE = 20,
    OBJ_NONE = 21,
};

constexpr int ALIEN_KINDS = 12;
constexpr int MAX_OBJECTS = 100;

// Object states: 0 a free slot; aliens live in 2; items 1 resting, 2 falling, 3 carried, 4 on the buggy.
enum Object_State : int32_t
{
    OBJECT_FREE = 0,
    OBJECT_RESTING = 1,
    OBJECT_FALLING = 2,
    OBJECT_ALIVE = 2,
    OBJECT_CARRIED = 3,
    OBJECT_LOADED = 4,
};

struct Game_Object
{
    int32_t type = OBJ_NONE;
    int32_t state = OBJECT_FREE;
    float x = 0.0f, y = 0.0f;
    float size = 0.0f;
    float x2 = 0.0f, y2 = 0.0f;
    float size2 = 0.0f;
    float rotation = 0.0f, rotation2 = 0.0f;
    float angle = 0.0f;
    float ground_y = 0.0f;
    float vx = 0.0f, vy = 0.0f;
    float facing = -1.0f;
    int32_t cell = 0, cell2 = 0;
    int32_t sprite = SPRITE_NONE, sprite2 = SPRITE_NONE; // Sprite_Id; none = not drawn
    Colour colour = COLOUR_WHITE, colour2 = COLOUR_WHITE;
    Vorta_Timer anim_timer, anim_timer2;
    Vorta_Timer action_timer;
    int32_t flags = 1, flags2 = 1;
    int32_t hit_points = 0;

    // Back to the reset value: no type, numbers 0, facing -1, white, flags 1, timers stopped, no sprites.
    void Reset() { *this = Game_Object(); }
};
