// The pilot's laser beams: a head that races across the screen leaving a fading trail, and the hit check
// that stops a beam at the first thing its head touches.
#include "game/app/app.h"
#include "game/play/random.h"
#include "game/play/world.h"

#include <cmath>

void App::Start_Laser_Beam(Laser_Beam& beam, float y, int direction)
{
    // The head advances by one cell width of "Laser" a frame, measured for the rules (the same at every
    // window size).
    const float advance = Rule_Cell_Size(SPRITE_LASER, 0).x;
    beam.speed = static_cast<float>(direction) * advance;
    beam.sprite = SPRITE_LASER;
    beam.active = 1;
    beam.head_x = 0.5f + 0.75f * beam.speed;
    beam.colour = Random_Colour();
    for (int32_t& age : beam.segment_age)
        age = -1;
    beam.y = y + Random_Range(-0.002f, 0.002f);
}

void App::Update_Lasers(float t)
{
    for (Laser_Beam& beam : lasers)
    {
        if (!beam.active)
            continue;
        bool live = false;
        for (int32_t& age : beam.segment_age)
        {
            if (age < 0)
                continue;
            if (age >= LASER_SEGMENT_LAST_AGE)
                age = -1;
            else
            {
                ++age;
                live = true;
            }
        }
        if (beam.speed != 0.0f)
        {
            for (int i = 0; i < LASER_SEGMENTS; ++i)
                if (beam.segment_age[i] < 0)
                {
                    beam.segment_x[i] = beam.head_x;
                    beam.segment_age[i] = 0;
                    break;
                }
            beam.head_x += t * beam.speed;
            live = true;
        }
        if (!live)
            beam.active = 0;
        if (beam.head_x < LASER_LEFT_EDGE || beam.head_x > LASER_RIGHT_EDGE)
        {
            for (int32_t& age : beam.segment_age)
                age = -1;
            beam.active = 0;
        }
    }
}

bool App::Laser_Hit(float x, float y)
{
    for (Laser_Beam& beam : lasers)
    {
        // A beam that has left the screen, or was put out by a teleport, hits nothing.
        if (!beam.active || beam.speed == 0.0f)
            continue;
        const float head_x = Wrap_X(player->pilot_x + beam.head_x - 0.5f);
        const float dx = Wrap_Delta(x, head_x);
        const float dy = y - beam.y;
        if (std::sqrt(dx * dx + dy * dy) < std::fabs(beam.speed))
        {
            beam.speed = 0.0f; // it stops here and its trail fades
            return true;
        }
    }
    return false;
}
