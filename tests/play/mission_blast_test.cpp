// The bomb's landing and blast (across the world's seam too), and the Defences' fire rate.
#include "game/play/random.h"
#include "play_fixture.h"

#include <cmath>

using Mission_Test = Play_Test;

TEST_F(Mission_Test, ABombSetDownGentlyRestsAndADroppedOneGoesOff)
{
    app->Build_Missile_Base(true);
    Game_Object* bomb = app->Create_Bomb();
    ASSERT_NE(bomb, nullptr);
    EXPECT_EQ(bomb->state, OBJECT_RESTING);

    // Set down at rest just above the ground: it settles.
    bomb->state = OBJECT_FALLING;
    bomb->y = bomb->ground_y - 0.0001f;
    bomb->vy = 0.0f;
    bomb->x = 21.0f;
    for (int i = 0; i < 5 && bomb->state == OBJECT_FALLING; ++i)
        app->Update_Object(*bomb, 1.0f);
    EXPECT_EQ(bomb->state, OBJECT_RESTING);
    EXPECT_FLOAT_EQ(bomb->y, bomb->ground_y);
    EXPECT_FLOAT_EQ(bomb->x, 21.0f) << "it did not go off (a new bomb would wait by the buggy)";

    // Dropped from the pilot's height: it explodes and a new bomb waits by the buggy in the same record.
    bomb->state = OBJECT_FALLING;
    bomb->x = 20.0f;
    bomb->y = 0.5f;
    bomb->vy = 0.0f;
    for (int i = 0; i < 200 && bomb->x == 20.0f; ++i)
        app->Update_Object(*bomb, 1.0f);
    EXPECT_EQ(bomb->state, OBJECT_RESTING);
    EXPECT_EQ(bomb->type, OBJ_BOMB);
    EXPECT_NEAR(std::fabs(Wrap_Delta(bomb->x, app->Buggy_X())), 0.1f, 1e-4f);
    EXPECT_GE(app->player->floor.tiles[Column_Of(20.0f)], TILE_CRATER_LEFT) << "the blast leaves a crater";
}

TEST_F(Mission_Test, ABlastReachesTheLauncherWithinItsSizeAcrossTheSeamToo)
{
    struct Case
    {
        float launcher_x;
        float blast_x;
        bool destroyed;
    } cases[] = {{50.0f, 50.1f, true},
                 {50.0f, 50.11f, false},
                 {0.05f, 99.97f, true},
                 {99.96f, 0.03f, true},
                 {0.05f, 99.9f, false}};
    for (const Case& c : cases)
    {
        for (Game_Object& object : app->player->objects)
            object.state = OBJECT_FREE;
        app->player->level = 0;
        app->current_level = app->levels;
        Game_Object* launcher = app->Create_Launcher(c.launcher_x);
        app->player->launcher = launcher;
        const int32_t score = app->player->score;
        app->Bomb_Blast(c.blast_x);
        // Destroyed: 3000 points, the level completed and a new base built.
        EXPECT_EQ(app->player->score - score, c.destroyed ? 3000 : 0) << c.launcher_x << " " << c.blast_x;
        EXPECT_EQ(app->player->level, c.destroyed ? 1 : 0);
        EXPECT_EQ(Count(OBJ_LAUNCHER), 1);
        EXPECT_EQ(launcher->state, OBJECT_RESTING);
    }
}

TEST_F(Mission_Test, ADefenceWithFireRate255NeverFires)
{
    app->current_level->fire_rate = 255;
    Game_Object* defence = app->Create_Defence(60.0f);
    for (int i = 0; i < 3000; ++i)
    {
        Tick();
        app->Update_Object(*defence, 1.0f);
    }
    for (const Plasma_Ball& ball : app->plasma_balls)
        EXPECT_FALSE(ball.active);

    app->current_level->fire_rate = 0;
    int fired = 0;
    for (int i = 0; i < 600; ++i)
    {
        Tick();
        app->Update_Object(*defence, 1.0f);
        for (Plasma_Ball& ball : app->plasma_balls)
        {
            if (ball.active)
            {
                ++fired;
                EXPECT_FALSE(ball.friendly);
                EXPECT_LT(ball.vy, 0.0f) << "up, within 50 degrees of straight up";
                ball.active = 0;
            }
        }
    }
    EXPECT_GE(fired, 15) << "twice a second, nearly every time";
}
