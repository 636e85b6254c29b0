// Explosions: a particle's life over the cells of "Explosion", a burst's order of random draws, the
// presets, and the full pool dropping particles without a word.
#include "effects_fixture.h"

#include "game/play/random.h"
#include "game/play/world.h"

#include <cmath>
#include <fstream>
#include <sstream>

namespace
{
constexpr float k_turn = 6.2831855f;

class Particle_Test : public Effects_Test
{
  protected:
    void SetUp() override
    {
        Effects_Test::SetUp();
        Give_Sprite(SPRITE_EXPLOSION, 8, 64.0f, 64.0f);
    }
    int Live() const
    {
        int live = 0;
        for (const Particle& particle : app->particles)
            live += particle.sprite != SPRITE_NONE;
        return live;
    }
};

TEST_F(Particle_Test, AParticleShowsEachOfTheEightCellsForItsFrameTime)
{
    struct Case
    {
        float frame_time;
        int frames_a_cell; // at 60 frames a second
    };
    for (const Case& c : {Case{1.0f / 60.0f, 1}, Case{1.5f / 60.0f, 2}, Case{0.9f / 60.0f, 1}})
    {
        SCOPED_TRACE(c.frame_time * 60.0f);
        const uint32_t seed = Random_State();
        app->Add_Particle(c.frame_time, {50.2f, 0.4f}, {0.1f, -1.0f}, {0.001f, 0.002f});
        Particle& particle = app->particles[0];
        ASSERT_EQ(particle.sprite, SPRITE_EXPLOSION);
        EXPECT_EQ(particle.glow_sprite, SPRITE_GLOW);
        EXPECT_EQ(particle.frame, 0);
        EXPECT_EQ(particle.screen_x, -1.0f);
        EXPECT_EQ(particle.screen_y, -1.0f);
        EXPECT_EQ(particle.width, 0.1f);
        EXPECT_EQ(particle.height, -1.0f);
        Seed_Random(seed);
        EXPECT_FLOAT_EQ(particle.rotation, Random_Unit() * k_turn);

        const int life = 8 * c.frames_a_cell;
        for (int frame = 1; frame < life; ++frame)
        {
            Next_Frame();
            app->Update_Particles(1.0f);
            ASSERT_EQ(particle.sprite, SPRITE_EXPLOSION) << frame;
            EXPECT_EQ(particle.frame, frame / c.frames_a_cell) << frame;
            EXPECT_NEAR(particle.x, 50.2f - 0.001f * frame, 1e-4f);
            EXPECT_NEAR(particle.y, 0.4f + 0.002f * frame, 1e-5f);
            EXPECT_NEAR(particle.screen_x, 0.7f - 0.001f * frame, 1e-4f);
            EXPECT_EQ(particle.screen_y, particle.y);
        }
        Next_Frame();
        app->Update_Particles(1.0f);
        EXPECT_EQ(particle.sprite, SPRITE_NONE) << "freed when its frame would become 8";
    }
}

TEST_F(Particle_Test, ABurstDrawsItsRandomNumbersInOrder)
{
    for (bool outward : {true, false})
    {
        SCOPED_TRACE(outward);
        for (Particle& particle : app->particles)
            particle.sprite = SPRITE_NONE;
        const Vector2 at = {10.0f, 0.5f}, base = {0.001f, -0.002f};
        Seed_Random(77);
        app->Spawn_Explosion(at, base, 3, 0.9f, 1.1f, outward, 0.05f, 0.00025f, 0.00125f, {0.1f, -1.0f});
        const uint32_t after = Random_State();
        EXPECT_EQ(Live(), 3);

        Seed_Random(77);
        Random_Int(); // the bang
        for (int i = 0; i < 3; ++i)
        {
            const Particle& particle = app->particles[i];
            const float frame_time = Random_Range(0.9f, 1.1f) / 60.0f;
            const float r = Random_Range(0.0f, 0.05f);
            const float theta = Random_Unit() * k_turn;
            const float speed = Random_Range(0.00025f, 0.00125f);
            const float phi = outward ? theta : Random_Unit() * k_turn;
            const float rotation = Random_Unit() * k_turn;
            EXPECT_FLOAT_EQ(particle.frame_time, frame_time);
            EXPECT_FLOAT_EQ(particle.x, at.x - r * std::sin(theta));
            EXPECT_FLOAT_EQ(particle.y, at.y + r * std::cos(theta));
            EXPECT_FLOAT_EQ(particle.vx, base.x - speed * std::sin(phi));
            EXPECT_FLOAT_EQ(particle.vy, base.y + speed * std::cos(phi));
            EXPECT_FLOAT_EQ(particle.rotation, rotation);
        }
        EXPECT_EQ(Random_State(), after) << "no other numbers are drawn";
    }
}

TEST_F(Particle_Test, TheGamesBurstsFlyOutwardFromWithinTheirRadius)
{
    struct Case
    {
        const char* what;
        Explosion_Preset preset;
        float given_width;
        float width;
    };
    const Case cases[] = {
        {"pilot lands", BURST_PILOT_LANDS, 0.0f, 0.1f},
        {"buggy", BURST_BUGGY, 0.0f, 0.1f},
        {"alien", BURST_ALIEN, 0.05f, 0.05f},
        {"Defence blast", BURST_DEFENCE_BLAST, 0.0f, 0.1f},
        {"Defence cleared", BURST_DEFENCE_CLEARED, 0.0f, 0.1f},
        {"launcher cleared", BURST_LAUNCHER_CLEARED, 0.0f, 0.1f},
        {"missile hit", BURST_MISSILE_HIT, 0.5f * 0.06f, 0.03f},
        {"missile", BURST_MISSILE, 0.06f, 0.06f},
        {"bomb", BURST_BOMB, 0.04f, 0.04f},
    };
    const int counts[] = {8, 16, 4, 4, 8, 16, 2, 4, 4};
    const float radii[] = {0.05f, 0.15f, 0.0125f, 0.025f, 0.05f, 0.15f, 0.0125f, 0.0125f, 0.0125f};
    for (int k = 0; k < 9; ++k)
    {
        const Case& c = cases[k];
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.preset.count, counts[k]);
        EXPECT_FLOAT_EQ(c.preset.radius, radii[k]);
        for (Particle& particle : app->particles)
            particle.sprite = SPRITE_NONE;
        app->Spawn_Burst(20.0f, 0.6f, c.preset, c.given_width);
        ASSERT_EQ(Live(), c.preset.count);
        for (int i = 0; i < c.preset.count; ++i)
        {
            const Particle& particle = app->particles[i];
            EXPECT_EQ(particle.width, c.width);
            EXPECT_EQ(particle.height, -1.0f);
            EXPECT_GE(particle.frame_time, 0.9f / 60.0f - 1e-7f);
            EXPECT_LT(particle.frame_time, 1.1f / 60.0f);
            const float dx = particle.x - 20.0f, dy = particle.y - 0.6f;
            EXPECT_LT(std::hypot(dx, dy), c.preset.radius + 1e-6f);
            const float speed = std::hypot(particle.vx, particle.vy);
            EXPECT_GE(speed, 0.00025f - 1e-9f);
            EXPECT_LT(speed, 0.00125f);
            // Outward: the velocity points the way the particle lies from the centre.
            if (std::hypot(dx, dy) > 1e-4f)
            {
                EXPECT_NEAR(dx * particle.vy - dy * particle.vx, 0.0f, 1e-8f);
                EXPECT_GT(dx * particle.vx + dy * particle.vy, 0.0f);
            }
        }
    }
}

TEST_F(Particle_Test, AFullPoolDropsNewParticlesSilentlyAndTheLowestFreeSlotIsTaken)
{
    for (int i = 0; i < MAX_PARTICLES; ++i)
        app->Add_Particle(1.0f / 60.0f, {1.0f, 0.5f}, {0.1f, -1.0f}, {0.0f, 0.0f});
    ASSERT_EQ(Live(), MAX_PARTICLES);
    std::ofstream("sys_log.txt", std::ios::trunc).close();
    const uint32_t before = Random_State();
    app->Add_Particle(1.0f / 60.0f, {2.0f, 0.5f}, {0.1f, -1.0f}, {0.0f, 0.0f});
    EXPECT_EQ(Random_State(), before) << "a particle left out draws no rotation";
    app->Spawn_Burst(2.0f, 0.5f, BURST_BUGGY);
    EXPECT_EQ(Live(), MAX_PARTICLES);
    std::stringstream log;
    log << std::ifstream("sys_log.txt").rdbuf();
    EXPECT_EQ(log.str(), "");

    app->particles[300].sprite = SPRITE_NONE;
    app->particles[7].sprite = SPRITE_NONE;
    app->Add_Particle(1.0f / 60.0f, {3.0f, 0.5f}, {0.1f, -1.0f}, {0.0f, 0.0f});
    EXPECT_EQ(app->particles[7].x, 3.0f);
    EXPECT_EQ(app->particles[300].sprite, SPRITE_NONE);
}
} // namespace
