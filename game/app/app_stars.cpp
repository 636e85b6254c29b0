// The menu star field, flying towards the viewer on a slowly turning course, and the completion overlay.
#include "engine/render/sprite.h"
#include "game/app/app.h"

#include <algorithm>
#include <cmath>

void App::Draw_Stars()
{
    const bool completed = game_state == STATE_COMPLETED;
    float vx = 0.0f, vy = 0.0125f, vz = 0.0f;
    if (!completed)
    {
        const float a = static_cast<float>(star_watch.Elapsed_Ms()) * 0.00025f;
        const float b = 0.75f * a;
        // (0, 0, 0.0125) turned about the x axis by a, then about the y axis by b; y doubled.
        const float y0 = 0.0f, z0 = 0.0125f;
        const float y1 = y0 * std::cos(a) - z0 * std::sin(a);
        const float z1 = z0 * std::cos(a) + y0 * std::sin(a);
        const float x1 = 0.0f;
        vx = x1 * std::cos(b) - z1 * std::sin(b);
        vz = z1 * std::cos(b) + x1 * std::sin(b);
        vy = 2.0f * y1;
    }

    const float r = Aspect();
    for (Menu_Star& star : menu_stars)
    {
        const float depth = star.y;
        star.x += vx * depth;
        star.y += vy * depth;
        star.z += vz * depth;
        if (star.x < -1.0f)
            star.x += 2.0f;
        if (star.x > 1.0f)
            star.x -= 2.0f;
        if (star.y < 0.004f)
            star.y += 1.0f;
        if (star.y > 1.004f)
            star.y -= 1.0f;
        if (star.z < -1.0f)
            star.z += 2.0f;
        if (star.z > 1.0f)
            star.z -= 2.0f;

        const float p = star.y + 0.5f;
        Colour colour = COLOUR_WHITE;
        if (star.y > 0.9f)
            colour.a = 1.0f - (star.y - 0.9f) / 0.1f;
        else if (star.y < 0.1f)
            colour.a = star.y / 0.1f;
        Put(completed ? SPRITE_COMPLETE_STAR : star.sprite, 0, {star.x * p + 0.5f, star.z * p / r + 0.5f},
            {std::max(0.005f, 0.06f * star.y), -1.0f}, (star.x + star.y + star.z) * 6.2831855f, colour,
            SPR_CENTRE);
    }
}

void App::Render_Completed()
{
    Draw_Stars();
    Draw_Batch(SPRITE_COMPLETE_STAR);
    Put(SPRITE_COMPLETED_PANEL, 0, {0.5f, 0.5f}, {0.9f, -1.0f}, 0.0f, COLOUR_WHITE, SPR_CENTRE);
    Draw_Batch(SPRITE_COMPLETED_PANEL);
}
