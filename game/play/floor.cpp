// The floor of the current player: generating it, craters, bridges, and whether the buggy may drive on.
#include "game/app/app.h"
#include "game/play/random.h"

#include <cmath>

namespace
{
constexpr int FLOOR_SEED = 2103;
constexpr int ROCK_BLOCK = 120; // one rock in every block of this many columns
constexpr int DRIVE_LOOKAHEAD = 5;
} // namespace

void App::Generate_Floor(Player_Record& record)
{
    Seed_Random(FLOOR_SEED);
    Floor& floor = record.floor;
    for (uint8_t& tile : floor.tiles)
        tile = static_cast<uint8_t>(Random_Int() % 3);
    // The last block would run past the end of the ring, so the last 120 columns get no rock.
    for (int start = 0; start + ROCK_BLOCK <= FLOOR_COLUMNS - ROCK_BLOCK; start += ROCK_BLOCK)
        floor.tiles[start + Random_Int() % ROCK_BLOCK] = TILE_ROCK;
    for (uint8_t& bridge : floor.bridges)
        bridge = 0;
}

void App::Make_Crater(float x)
{
    uint8_t* tiles = player->floor.tiles;
    const int c = Column_Of(x);
    const int next = Wrap_Column(c + 1);
    tiles[c] = tiles[c] < TILE_CRATER_LEFT ? TILE_CRATER_LEFT : TILE_CRATER_AGAIN_LEFT;
    tiles[next] = tiles[next] < TILE_CRATER_LEFT ? TILE_CRATER_RIGHT : TILE_CRATER_AGAIN_RIGHT;
}

void App::Lay_Bridge(float x)
{
    uint8_t* bridges = player->floor.bridges;
    const int a = static_cast<int>(std::floor((x + 0.5f) / TILE_WIDTH));
    int b = Wrap_Column(a + 1);
    int e = Wrap_Column(a + 2);
    // A piece already there moves the new one outwards, so bridges dropped side by side join up.
    if (bridges[b])
        b = Wrap_Column(b - 1);
    bridges[b] = 1;
    if (bridges[e])
        e = Wrap_Column(e + 1);
    bridges[e] = 1;
}

bool App::Can_Drive(int direction)
{
    const Floor& floor = player->floor;
    const int step = direction < 0 ? -1 : 1;
    const int c0 = Centre_Column(player->buggy_x);
    for (int i = 0; i < DRIVE_LOOKAHEAD; ++i)
    {
        const int c = Wrap_Column(c0 + step * i);
        const int beside = Wrap_Column(c + step);
        if (floor.tiles[c] > 2 && floor.bridges[c] + floor.bridges[beside] == 0)
            return false;
    }
    return true;
}
