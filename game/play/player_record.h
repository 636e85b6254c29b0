// Player_Record: one player's floor, pilot and buggy positions, level, lives, score and objects.
#pragma once
#include "game/play/game_object.h"
#include "game/play/world.h"
#include <cstdint>

// Floor tile types: 0-2 plain ground, 3 rock, 4/5 crater halves, 6/7 halves of a crater in cratered ground.
enum Tile_Type : uint8_t
{
    TILE_ROCK = 3,
    TILE_CRATER_LEFT = 4,
    TILE_CRATER_RIGHT = 5,
    TILE_CRATER_AGAIN_LEFT = 6,
    TILE_CRATER_AGAIN_RIGHT = 7,
};

struct Floor
{
    uint8_t tiles[FLOOR_COLUMNS];
    uint8_t bridges[FLOOR_COLUMNS];
};

struct Player_Record
{
    Floor floor = {};
    float pilot_x = 0.0f;
    float pilot_y = 0.0f;
    float buggy_x = 0.0f;
    float buggy_y = 0.0f;
    int32_t level = 0;
    int32_t lives = 0;
    int32_t score = 0;
    int32_t next_extra_life = 10000;
    uint8_t gun_mounted = 0;
    uint8_t buggy_destroyed = 0;
    Game_Object objects[MAX_OBJECTS];
    // The player's mission items; null when unset.
    Game_Object* gun = nullptr;
    Game_Object* bomb = nullptr;
    Game_Object* teleporter1 = nullptr;
    Game_Object* teleporter2 = nullptr;
    Game_Object* launcher = nullptr;
};
