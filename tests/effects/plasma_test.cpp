// Plasma balls: the first free ball, its flight off the field or to the end of its life, its cells and
// colours, the hits on either side, and the full pool.
#include "effects_fixture.h"

#include "game/play/random.h"
#include "game/play/world.h"

#include <fstream>
#include <set>
#include <sstream>

namespace
{
class Plasma_Test : public Effects_Test
{
  protected:
    void SetUp() override
    {
        Effects_Test::SetUp();
        Give_Sprite(SPRITE_PLAZMA_BALL, 4, 32.0f, 32.0f);
    }
};

// How many numbers the generator gave between the two states (up to 16).
int Draws_Between(uint32_t before, uint32_t after)
{
    for (int n = 0; n <= 16; ++n)
    {
        if (before == after)
            return n;
        before = before * 214013u + 2531011u;
    }
    return -1;
}

TEST_F(Plasma_Test, ABallTakesTheFirstFreeSlotWithItsColourAndLife)
{
    const uint32_t seed = Random_State();
    app->Spawn_Plasma_Ball(10.0f, 0.5f, 0.001f, -0.006f, true);
    const Plasma_Ball& ball = app->plasma_balls[0];
    EXPECT_EQ(ball.active, 1);
    EXPECT_EQ(ball.friendly, 1);
    EXPECT_EQ(ball.sprite, SPRITE_PLAZMA_BALL);
    EXPECT_EQ(ball.x, 10.0f);
    EXPECT_EQ(ball.y, 0.5f);
    EXPECT_EQ(ball.vx, 0.001f);
    EXPECT_EQ(ball.vy, -0.006f);
    EXPECT_EQ(Draws_Between(seed, Random_State()), 1) << "the colour";
    Seed_Random(seed);
    const Colour colour = Random_Colour();
    EXPECT_EQ(ball.colour.r, colour.r);
    EXPECT_EQ(ball.colour.g, colour.g);
    EXPECT_EQ(ball.colour.b, colour.b);

    app->Spawn_Plasma_Ball(11.0f, 0.5f, 0.0f, 0.0f, false);
    EXPECT_EQ(app->plasma_balls[1].active, 1);
    EXPECT_EQ(app->plasma_balls[1].friendly, 0);
    app->plasma_balls[0].active = 0;
    app->Spawn_Plasma_Ball(12.0f, 0.5f, 0.0f, 0.0f, false);
    EXPECT_EQ(app->plasma_balls[0].x, 12.0f);
}

TEST_F(Plasma_Test, ABallLeavesTheFieldOrEndsWithItsLife)
{
    struct Case
    {
        const char* what;
        float y, vy;
        int frames; // the update at which it is gone
    };
    const Case cases[] = {
        {"fired upward from the middle", 0.5f, -0.006f, 84},
        {"hovering: its 2.5-second life", 0.5f, 0.0f, 150},
        {"falling past 0.95", 0.9f, 0.006f, 9},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        app->Spawn_Plasma_Ball(50.0f, c.y, 0.0f, c.vy, false);
        const Plasma_Ball& ball = app->plasma_balls[0];
        int frames = 0;
        while (ball.active && frames < 1000)
        {
            Next_Frame();
            app->Update_Plasma_Balls(1.0f);
            ++frames;
        }
        EXPECT_EQ(frames, c.frames);
    }

    // x moves by t x vx and wraps round the ring.
    app->Spawn_Plasma_Ball(99.995f, 0.5f, 0.01f, 0.0f, true);
    app->Update_Plasma_Balls(1.0f);
    EXPECT_NEAR(app->plasma_balls[0].x, 0.005f, 1e-4f);
    app->Update_Plasma_Balls(2.0f);
    EXPECT_NEAR(app->plasma_balls[0].x, 0.025f, 1e-4f);
}

TEST_F(Plasma_Test, ItsCellChangesEveryTenthOfASecondNeverToTheLastAndItsColourEveryFrame)
{
    struct Case
    {
        int cells; // of "Plazma Ball"; 0: the sprite did not load
        std::set<int> shown;
    };
    for (const Case& c : {Case{4, {0, 1, 2}}, Case{1, {0}}, Case{0, {0}}})
    {
        SCOPED_TRACE(c.cells);
        if (c.cells > 0)
            Give_Sprite(SPRITE_PLAZMA_BALL, c.cells, 32.0f, 32.0f);
        else
        {
            delete app->sprites[SPRITE_PLAZMA_BALL];
            app->sprites[SPRITE_PLAZMA_BALL] = nullptr;
        }
        app->plasma_balls[0] = Plasma_Ball();
        app->Spawn_Plasma_Ball(50.0f, 0.5f, 0.0f, 0.0f, true);
        std::set<int> shown;
        for (int frame = 1; frame <= 120; ++frame)
        {
            Next_Frame();
            const uint32_t before = Random_State();
            app->Update_Plasma_Balls(1.0f);
            // Frame 1 (a fresh slot's timer has run out), then every sixth frame: a cell and a colour.
            const int draws = frame % 6 == 1 ? 2 : 1;
            ASSERT_EQ(Draws_Between(before, Random_State()), draws) << frame;
            shown.insert(app->plasma_balls[0].cell);
        }
        EXPECT_EQ(shown, c.shown);
    }
}

TEST_F(Plasma_Test, HitsUseUpTheFirstBallOfTheirSideWithinReach)
{
    app->Spawn_Plasma_Ball(20.0f, 0.5f, 0.0f, 0.0f, false); // 0: hostile
    app->Spawn_Plasma_Ball(20.0f, 0.5f, 0.0f, 0.0f, true);  // 1: friendly
    app->Spawn_Plasma_Ball(20.01f, 0.5f, 0.0f, 0.0f, true); // 2: friendly
    app->Spawn_Plasma_Ball(99.99f, 0.3f, 0.0f, 0.0f, true); // 3: friendly, by the seam

    EXPECT_EQ(app->Plasma_Hit(20.0f, 0.5305f), nullptr) << "just out of reach";
    EXPECT_EQ(app->Plasma_Hit(20.0f, 0.5295f), &app->plasma_balls[1]);
    EXPECT_EQ(app->plasma_balls[1].active, 0);
    EXPECT_EQ(app->plasma_balls[0].active, 1) << "a hostile ball does not hurt aliens";
    // A ball within reach of two things is used up by the first that asks.
    EXPECT_EQ(app->Plasma_Hit(20.02f, 0.5f), &app->plasma_balls[2]);
    EXPECT_EQ(app->Plasma_Hit(20.02f, 0.5f), nullptr);
    EXPECT_EQ(app->Plasma_Hit(0.01f, 0.3f), &app->plasma_balls[3]) << "across the seam of the ring";

    app->player->pilot_x = 20.0f;
    app->player->pilot_y = 0.52f;
    EXPECT_EQ(app->Pilot_Plasma_Hit(), &app->plasma_balls[0]);
    EXPECT_EQ(app->plasma_balls[0].active, 0);
    EXPECT_EQ(app->Pilot_Plasma_Hit(), nullptr);
    app->Spawn_Plasma_Ball(20.0f, 0.52f, 0.0f, 0.0f, true);
    EXPECT_EQ(app->Pilot_Plasma_Hit(), nullptr) << "the gun's balls do not hurt the pilot";
}

TEST_F(Plasma_Test, AFullPoolDropsNewBallsSilently)
{
    for (int i = 0; i < MAX_PLASMA_BALLS; ++i)
        app->Spawn_Plasma_Ball(static_cast<float>(i), 0.5f, 0.0f, 0.0f, false);
    std::ofstream("sys_log.txt", std::ios::trunc).close();
    const uint32_t before = Random_State();
    app->Spawn_Plasma_Ball(80.0f, 0.5f, 0.0f, 0.0f, true);
    EXPECT_EQ(Random_State(), before) << "no colour drawn for a ball left out";
    for (const Plasma_Ball& ball : app->plasma_balls)
        EXPECT_FALSE(ball.friendly);
    std::stringstream log;
    log << std::ifstream("sys_log.txt").rdbuf();
    EXPECT_EQ(log.str(), "");
}
} // namespace
