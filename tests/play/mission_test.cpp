// The missile base and the items: Defences by level, the homing missile's course, the bomb's landing and
// blast (across the world's seam too), and the Defences' fire rate.
#include "game/play/random.h"
#include "play_fixture.h"

#include <cmath>

using Mission_Test = Play_Test;

TEST_F(Mission_Test, TheBaseHasTwoFourOrSixDefencesByLevel)
{
    struct Case
    {
        int level;
        int defences;
    } cases[] = {{0, 2}, {4, 2}, {5, 4}, {9, 4}, {10, 6}, {15, 6}};
    app->current_level->location = 5.0f;
    for (const Case& c : cases)
    {
        app->player->level = c.level;
        app->Build_Missile_Base(true);
        EXPECT_EQ(Count(OBJ_DEFENCE), c.defences) << c.level;
        EXPECT_EQ(Count(OBJ_LAUNCHER), 1);
        ASSERT_NE(app->player->launcher, nullptr);
        EXPECT_FLOAT_EQ(app->player->launcher->x, 55.0f) << "location measured from the buggy";
        for (const Game_Object& object : app->player->objects)
        {
            if (object.state != OBJECT_FREE && object.type == OBJ_DEFENCE)
            {
                EXPECT_LE(std::fabs(Wrap_Delta(object.x, 55.0f)), 1.0f + 1e-4f);
            }
        }
    }
    // Building again replaces the base: still one launcher, its countdown fresh; paused when not running.
    app->Build_Missile_Base(false);
    EXPECT_EQ(Count(OBJ_LAUNCHER), 1);
    Tick(600);
    EXPECT_FLOAT_EQ(app->player->launcher->action_timer.Fraction_Remaining(), 1.0f);
}

TEST_F(Mission_Test, TheHomingMissileTiltsThenFliesOneWayForever)
{
    app->player->buggy_x = 50.0f;
    Game_Object* missile = app->Create_Missile(OBJ_HOMING_MISSILE, 49.0f, 0.7f); // left of the buggy
    ASSERT_NE(missile, nullptr);
    EXPECT_EQ(missile->hit_points, 10);
    int frames = 0;
    while (missile->angle > 0.0f && frames < 1000)
    {
        const float x = missile->x;
        app->Update_Object(*missile, 1.0f);
        EXPECT_FLOAT_EQ(missile->x, x) << "it does not move while it tilts";
        ++frames;
    }
    EXPECT_NEAR(frames, 225, 1) << "45 degrees at 0.2 a frame";
    // Now it flies right; move the buggy out of its way each frame and watch it wrap.
    float travelled = 0.0f;
    for (int i = 0; i < 20000 && missile->state != OBJECT_FREE; ++i)
    {
        app->player->buggy_x = Wrap_X(missile->x + 50.0f);
        const float x = missile->x;
        app->Update_Object(*missile, 1.0f);
        const float step = Wrap_Delta(missile->x, x);
        EXPECT_NEAR(step, 0.0075f, 1e-4f);
        travelled += step;
    }
    EXPECT_GT(travelled, 100.0f) << "round the whole world";
    EXPECT_NE(missile->state, OBJECT_FREE);
}
