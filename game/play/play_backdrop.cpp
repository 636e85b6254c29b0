// The play field's backdrop: sky, twinkling stars, the parallax layers that follow the unwrapped scroll, the
// floor of the current player with its bridges, and the foreground layers (drawn later, over the play).
#include "game/app/app.h"
#include "game/play/random.h"

#include <cmath>

namespace
{
constexpr int FLOOR_TILES_SHOWN = 62;

// The left edge of the first of a row of copies `width` wide that scrolls `u` to the left: in (-width, 0].
float Layer_Start(float u, float width)
{
    float e = std::trunc(u / width) * width - u;
    if (e > 0.0f)
        e -= width;
    return e;
}
} // namespace

void App::Draw_Backdrop()
{
    const float s = scroll;
    const uint32_t copy_flags = SPR_BOTTOM | SPR_LEFT;

    // 1. Sky.
    Put(SPRITE_BACKGROUND_STRIP, 0, {0.5f, 0.5f}, {1.0f, 1.0f}, 0.0f, COLOUR_WHITE, SPR_CENTRE);
    Put(SPRITE_BACKGROUND_NEBULA, 0, {0.5f, 0.5f}, {1.0f, 1.0f}, 0.0f, COLOUR_WHITE, SPR_CENTRE);

    // 2. Stars stand still; in play they twinkle.
    const bool twinkle = game_state >= STATE_ON_FOOT && game_state <= STATE_COMPLETED;
    for (const Sky_Star& star : sky_stars)
    {
        const float width = twinkle ? star.size * Random_Range(0.925f, 1.075f) : star.size;
        Put(star.sprite, 0, {star.x, star.y}, {width, -1.0f}, 0.0f, COLOUR_WHITE, SPR_CENTRE);
    }

    // 3. Far hills at 1/16 of the scroll; 4. hills at 1/8.
    const float far = Layer_Start(s * 0.0625f, 0.5f);
    for (int k = 0; k < 3; ++k)
        Put(SPRITE_BACKGROUND_FAR, 0, {far + 0.5f * static_cast<float>(k), 0.86f}, {0.5f, -1.0f}, 0.0f,
            COLOUR_WHITE, copy_flags);
    const float near = Layer_Start(s * 0.125f, 0.7f);
    for (int k = 0; k < 3; ++k)
        Put(SPRITE_BACKGROUND, 0, {near + 0.7f * static_cast<float>(k), 1.0f}, {0.7f, -1.0f}, 0.0f,
            COLOUR_WHITE, copy_flags);

    // 5. Floor tiles and 6. bridges, from the column under the screen's left edge; the pilot's column is
    // the 31st.
    const Floor& floor = player->floor;
    const float pilot_x = player->pilot_x;
    const int c0 = static_cast<int>(std::floor(pilot_x / TILE_WIDTH));
    const float tile_y = wide_screen ? 0.925f : 0.94f;
    const float bridge_y = wide_screen ? 0.925f : 0.9385f;
    for (int i = 0; i < FLOOR_TILES_SHOWN; ++i)
    {
        const int c = Wrap_Column(c0 + i);
        const float x = static_cast<float>(c0 + i - 1) * TILE_WIDTH - pilot_x;
        Put(SPRITE_FLOOR_TILES, floor.tiles[c], {x, tile_y}, {TILE_WIDTH, -1.0f}, 0.0f, COLOUR_WHITE,
            SPR_TOP | SPR_LEFT);
    }
    for (int i = 0; i < FLOOR_TILES_SHOWN; ++i)
    {
        const int c = Wrap_Column(c0 + i);
        if (floor.bridges[c] + floor.bridges[Wrap_Column(c + 1)] != 2)
            continue;
        const float x = static_cast<float>(c0 + i - 1) * TILE_WIDTH - pilot_x;
        Put(SPRITE_BRIDGE, 0, {x, bridge_y}, {2.0f * TILE_WIDTH, -1.0f}, 0.0f, COLOUR_WHITE,
            SPR_TOP | SPR_LEFT);
    }

    // 7. Foreground at 1.25 times the scroll; 8. the nearest layer at twice it.
    const float front = Layer_Start(s * 1.25f, 0.75f);
    for (int k = 0; k < 3; ++k)
        Put(SPRITE_FOREGROUND, 0, {front + 0.75f * static_cast<float>(k), wide_screen ? 0.99f : 0.9875f},
            {0.75f, -1.0f}, 0.0f, COLOUR_WHITE, copy_flags);
    const float nearest = Layer_Start(s * 2.0f, 1.0f);
    for (int k = 0; k < 2; ++k)
        Put(SPRITE_FOREGROUND_NEAR, 0, {nearest + static_cast<float>(k), 1.0f}, {1.0f, -1.0f}, 0.0f,
            COLOUR_WHITE, copy_flags);
}
