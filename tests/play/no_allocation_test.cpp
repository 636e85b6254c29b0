// Play allocates nothing: every operator new of this test program is counted, and frames of play with full
// pools (walking, flying, firing, driving, falling, turns) and their drawing on a real window must add none.
#include "player_fixture.h"

#include "engine/render/sprite.h"

#include <atomic>
#include <cstdlib>
#include <functional>
#include <new>

namespace
{
std::atomic<long> g_allocations{0};
}

void* operator new(std::size_t size)
{
    ++g_allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size)
{
    return operator new(size);
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace
{
// Every pool full, and a script of controls that goes through the play states.
long Allocations_Over_Play(App& app, const std::function<void()>& frame)
{
    for (Particle& particle : app.particles)
    {
        particle.sprite = SPRITE_EXPLOSION;
        particle.glow_sprite = SPRITE_GLOW;
        particle.width = 0.05f;
        particle.height = -1.0f;
        particle.screen_x = particle.screen_y = 0.5f;
    }
    for (Laser_Beam& beam : app.lasers)
    {
        beam.active = 1;
        beam.speed = 0.03f;
        for (int i = 0; i < LASER_SEGMENTS; ++i)
            beam.segment_age[i] = i % 8;
    }
    for (Plasma_Ball& ball : app.plasma_balls)
    {
        ball.active = 1;
        ball.sprite = SPRITE_PLAZMA_BALL;
        ball.x = 10.2f;
        ball.y = 0.3f;
    }
    for (Game_Object& object : app.player->objects)
        if (object.state == OBJECT_FREE)
        {
            object.type = OBJ_GUN; // harmless to the pilot, drawn with both sprites
            object.state = OBJECT_RESTING;
            object.sprite = object.sprite2 = SPRITE_GUN;
            object.x = object.x2 = 10.3f;
            object.y = object.y2 = 0.9f;
            object.size = object.size2 = 0.05f;
        }

    struct Phase
    {
        int frames;
        float x, y;
        int fire, use;
    };
    const Phase phases[] = {{30, 1, 0, 0, 0}, {40, 1, 1, 5, 0}, {30, -1, -1, 1, 0}, {60, 0, 0, 0, 0},
                            {1, 0, 0, 0, 1},  {30, 1, 0, 0, 0}, {1, 0, 0, 0, 1},    {20, 0, 1, 0, 0}};
    const long before = g_allocations.load();
    for (const Phase& phase : phases)
        for (int i = 0; i < phase.frames; ++i)
        {
            app.controls.x = phase.x;
            app.controls.y = phase.y;
            app.controls.fire_frames = phase.fire;
            app.controls.use_frames = phase.use;
            frame();
        }
    // A fall, the end of the turn, and a new life.
    app.Destroy_Buggy();
    for (int i = 0; i < 1000 && (app.game_state == STATE_FALLING || app.game_state == STATE_LIFE_LOST); ++i)
        frame();
    frame();
    return g_allocations.load() - before;
}

class NoAllocationTest : public Player_Test
{
};

TEST_F(NoAllocationTest, FramesOfPlayAllocateNothing)
{
    New_Game(false);
    P().pilot_x = P().buggy_x; // from the buggy, so that use boards it
    EXPECT_EQ(Allocations_Over_Play(*app, [this] { Step(); }), 0);
    EXPECT_EQ(app->current_player_index, 1); // the turn went over to the second player
}

class NoAllocationWindowTest : public Player_Window_Test
{
};

TEST_F(NoAllocationWindowTest, DrawingThePlayFieldAllocatesNothing)
{
    P().pilot_x = P().buggy_x;
    Draw_Play_Field(); // the first draw of each sprite sets up its buffers
    EXPECT_EQ(Allocations_Over_Play(*app,
                                    [this]
                                    {
                                        Advance(1.0f / 60.0f);
                                        app->Update_Play();
                                        for (Sprite* sprite : app->sprites)
                                            if (sprite)
                                                sprite->Clear_Frames();
                                        app->Render_Play();
                                    }),
              0);
}
} // namespace
