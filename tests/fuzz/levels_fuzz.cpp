// Fuzz target: the level script over arbitrary bytes. Whatever the words, the table must end with 1 to
// 1000 levels, every position must be a place on the ring, and the current level must stay inside the
// table as the players move from level to level.
#include "engine/core/text_file.h"
#include "engine/core/vorta_log.h"
#include "game/app/app.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

namespace
{
// One App for the whole run: never deleted, so that its exit saves never write anything.
App* g_fuzz_app = nullptr;

bool On_Ring(float x)
{
    return std::isfinite(x) && std::fabs(x) <= 100.0f * WORLD_WIDTH;
}

void Check(bool condition)
{
    if (!condition)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    g_vorta_log.Set_Flags(LOG_OFF);
    g_fuzz_app = new App();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    App& app = *g_fuzz_app;
    delete[] app.levels;
    app.levels = nullptr;
    app.level_count = 0;
    app.current_level = nullptr;
    app.teleport_x1 = 2.2f;
    app.teleport_x2 = 30.0f;
    app.gun_x = 30.04f;

    // An exact-size copy, so that any read past the end is caught.
    uint8_t* copy = new uint8_t[size ? size : 1];
    std::memcpy(copy, data, size);
    Text_File file;
    file.Set_Data(copy, static_cast<uint32_t>(size), false);
    app.Read_Levels(file);
    file.Close();

    Check(app.levels != nullptr);
    Check(app.level_count >= 1 && app.level_count <= MAX_LEVEL_COUNT);
    Check(On_Ring(app.teleport_x1) && On_Ring(app.teleport_x2) && On_Ring(app.gun_x));
    for (int i = 0; i < app.level_count; ++i)
        Check(On_Ring(app.levels[i].location));

    // Play through every level with a player whose index may have gone astray.
    app.player = &app.players[0];
    app.player->level = size ? static_cast<int8_t>(data[0]) : 0;
    app.Select_Current_Level();
    for (int step = 0; step <= app.level_count; ++step)
    {
        Check(app.current_level >= app.levels && app.current_level < app.levels + app.level_count);
        Check(app.current_level == app.levels + app.player->level);
        app.game_state = STATE_ON_FOOT;
        app.Advance_Level();
    }
    Check(app.game_state == STATE_COMPLETED && app.player->level == app.level_count - 1);
    return 0;
}
