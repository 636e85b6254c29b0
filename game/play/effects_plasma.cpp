// Plasma balls: the shots of the Defences, the Shooters (hostile) and the buggy's gun (friendly), their
// flight and flicker, and the checks that use a ball up on what it touches.
#include "game/app/app.h"
#include "game/play/random.h"
#include "game/play/world.h"

#include <cmath>

namespace
{
// The first active ball of that side within the hit distance of (x, y), used up; null when none is.
Plasma_Ball* Take_Ball(Plasma_Ball (&balls)[MAX_PLASMA_BALLS], float x, float y, bool friendly)
{
    for (Plasma_Ball& ball : balls)
    {
        if (!ball.active || (ball.friendly != 0) != friendly)
            continue;
        const float dx = Wrap_Delta(ball.x, x);
        const float dy = ball.y - y;
        if (std::sqrt(dx * dx + dy * dy) < PLASMA_HIT_DISTANCE)
        {
            ball.active = 0;
            return &ball;
        }
    }
    return nullptr;
}
} // namespace

void App::Spawn_Plasma_Ball(float x, float y, float vx, float vy, bool friendly)
{
    for (Plasma_Ball& ball : plasma_balls)
    {
        if (ball.active)
            continue;
        ball.x = x;
        ball.y = y;
        ball.vx = vx;
        ball.vy = vy;
        ball.friendly = friendly ? 1 : 0;
        ball.sprite = SPRITE_PLAZMA_BALL;
        ball.colour = Random_Colour();
        ball.life_timer.Start(PLASMA_LIFE);
        // The frame timer carries on from the slot's last ball: a fresh slot's cleared timer has run out.
        ball.active = 1;
        Play_Sound(SOUND_PLAZMA, 0.9f, 255);
        return;
    }
    // The pool is full: no ball and no sound.
}

void App::Update_Plasma_Balls(float t)
{
    for (Plasma_Ball& ball : plasma_balls)
    {
        if (!ball.active)
            continue;
        ball.x = Wrap_X(ball.x + t * ball.vx);
        ball.y += t * ball.vy;
        if (ball.life_timer.Expired() || ball.y < PLASMA_TOP || ball.y > PLASMA_BOTTOM)
            ball.active = 0;
        if (ball.frame_timer.Expired())
        {
            ball.frame_timer.Start(PLASMA_CELL_TIME);
            // The number is drawn whatever the sprite, so play does not depend on its cells; the last
            // cell is never picked, and a sprite of one cell (or none) stays on cell 0.
            const int r = Random_Int();
            const int cells = Cell_Count(ball.sprite) - 1;
            ball.cell = cells > 0 ? r % cells : 0;
        }
        ball.colour = Random_Colour(); // the ball flickers through the seven colours
    }
}

Plasma_Ball* App::Plasma_Hit(float x, float y)
{
    return Take_Ball(plasma_balls, x, y, true);
}

Plasma_Ball* App::Pilot_Plasma_Hit()
{
    return Take_Ball(plasma_balls, player->pilot_x, player->pilot_y, false);
}
