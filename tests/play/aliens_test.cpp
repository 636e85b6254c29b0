// Aliens: quotas refilled into the lowest free records, leaving the area around the pilot, the speed
// modifiers, bouncing and homing, and a laser head that kills only the first alien it meets.
#include "game/play/random.h"
#include "play_fixture.h"

#include <cmath>

using Aliens_Test = Play_Test;

TEST_F(Aliens_Test, QuotasSpawnTheMissingAliensInOneFrameIntoTheLowestFreeSlots)
{
    app->current_level->max_aliens[OBJ_METEOR] = 3;
    app->current_level->max_aliens[OBJ_CROSS] = 1;
    app->player->objects[1].state = OBJECT_RESTING; // taken
    app->player->objects[1].type = OBJ_BOMB;
    Seed_Random(2103);
    app->Update_Aliens(1.0f);
    EXPECT_EQ(Count(OBJ_METEOR), 3);
    EXPECT_EQ(Count(OBJ_CROSS), 1);
    EXPECT_EQ(app->player->objects[0].type, OBJ_METEOR);
    EXPECT_EQ(app->player->objects[2].type, OBJ_METEOR);
    EXPECT_EQ(app->player->objects[3].type, OBJ_METEOR);
    EXPECT_EQ(app->player->objects[4].type, OBJ_CROSS) << "kinds refill in type order";
    EXPECT_EQ(Count(OBJ_GREEN_BLOCK), 0) << "a kind without a maximum never appears";

    // A killed alien is replaced on the next frame.
    app->player->objects[2].state = OBJECT_FREE;
    app->Update_Aliens(1.0f);
    EXPECT_EQ(Count(OBJ_METEOR), 3);
}

TEST_F(Aliens_Test, AFullTableSpawnsNothing)
{
    for (Game_Object& object : app->player->objects)
    {
        object.state = OBJECT_RESTING;
        object.type = OBJ_TELEPORTER_1;
    }
    app->current_level->max_aliens[OBJ_BOUNCE] = 5;
    app->Update_Aliens(1.0f);
    EXPECT_EQ(Count(OBJ_BOUNCE), 0);
    EXPECT_FALSE(app->Spawn_Alien(OBJ_BOUNCE));
}

TEST_F(Aliens_Test, AliensBeyondThreeUnitsOfThePilotLeave)
{
    struct Case
    {
        float offset;
        bool stays;
    } cases[] = {{2.99f, true}, {3.01f, false}, {-2.99f, true}, {-3.01f, false}};
    for (const Case& c : cases)
    {
        for (float pilot : {50.0f, 1.0f, 99.5f}) // across the world's seam too
        {
            app->player->pilot_x = pilot;
            Game_Object* alien = app->New_Object();
            alien->type = OBJ_GREEN_BLOCK;
            alien->state = OBJECT_ALIVE;
            alien->sprite = SPRITE_GREEN_BLOCK;
            alien->x = Wrap_X(pilot + c.offset);
            alien->y = 0.5f;
            app->Update_Object(*alien, 1.0f);
            EXPECT_EQ(alien->state != OBJECT_FREE, c.stays) << c.offset << " from " << pilot;
            alien->state = OBJECT_FREE;
        }
    }
}

TEST_F(Aliens_Test, SpawnSpeedsBySideDifficultyAndDisplay)
{
    // A Cross comes from two units away on one side and moves towards the pilot. Its speed is a magnitude
    // of 0.004 to 0.008, times 0.75 on EASY and 1.1 on a narrow display.
    struct Case
    {
        int difficulty;
        bool wide;
        float factor;
    } cases[] = {{DIFFICULTY_NORMAL, true, 1.0f},
                 {DIFFICULTY_EASY, true, 0.75f},
                 {DIFFICULTY_NORMAL, false, 1.1f},
                 {DIFFICULTY_EASY, false, 0.825f}};
    for (const Case& c : cases)
    {
        app->difficulty = c.difficulty;
        app->wide_screen = c.wide;
        for (int seed = 0; seed < 20; ++seed)
        {
            Seed_Random(seed);
            ASSERT_TRUE(app->Spawn_Alien(OBJ_CROSS));
            Game_Object& cross = app->player->objects[0];
            const float side = Wrap_Delta(cross.x, app->Pilot_X());
            EXPECT_NEAR(std::fabs(side), 2.0f, 1e-4f);
            EXPECT_LT(side * cross.vx, 0.0f) << "moves towards the pilot";
            EXPECT_GE(std::fabs(cross.vx), 0.004f * c.factor * 0.9999f);
            EXPECT_LT(std::fabs(cross.vx), 0.008f * c.factor);
            EXPECT_GE(cross.y, 0.15f);
            EXPECT_LT(cross.y, 0.8f);
            cross.state = OBJECT_FREE;
        }
    }
    // The Part's example: magnitude 0.008 on EASY with a narrow display moves 0.0066 a frame.
    EXPECT_NEAR(0.008f * 0.75f * 1.1f, 0.0066f, 1e-7f);
}

TEST_F(Aliens_Test, LinearBouncersTurnAtTheTopAndHomersDoNot)
{
    Game_Object* bounce = app->New_Object();
    bounce->type = OBJ_BOUNCE;
    bounce->state = OBJECT_ALIVE;
    bounce->x = app->Pilot_X() + 1.0f;
    bounce->y = 0.18f;
    bounce->vx = 0.0f;
    bounce->vy = -0.01f;
    app->Update_Object(*bounce, 1.0f);
    EXPECT_FLOAT_EQ(bounce->y, 0.175f);
    EXPECT_FLOAT_EQ(bounce->vy, 0.01f);

    // A homer above the field keeps going up while the pilot is higher still; it only bounces at 0.88.
    app->player->pilot_y = 0.0f;
    Game_Object* saturn = app->New_Object();
    saturn->type = OBJ_SATURN;
    saturn->state = OBJECT_ALIVE;
    saturn->x = app->Pilot_X() + 1.0f;
    saturn->y = 0.176f;
    saturn->vy = -0.01f;
    app->Update_Object(*saturn, 1.0f);
    EXPECT_LT(saturn->y, 0.175f);
    EXPECT_LT(saturn->vy, 0.0f);
    saturn->y = 0.8799f;
    saturn->vy = 0.01f;
    app->player->pilot_y = 2.0f;
    app->Update_Object(*saturn, 1.0f);
    EXPECT_FLOAT_EQ(saturn->y, 0.88f);
    EXPECT_LT(saturn->vy, 0.0f);

    // Homers are capped: NORMAL 0.01 for a Saturn, EASY 0.0075, times 1.1 on a narrow display.
    saturn->y = 0.5f;
    saturn->vx = 1.0f;
    app->difficulty = DIFFICULTY_EASY;
    app->wide_screen = false;
    app->Update_Object(*saturn, 1.0f);
    EXPECT_NEAR(saturn->vx, 0.0075f * 1.1f, 1e-6f);
}

TEST_F(Aliens_Test, MeteorsStartAboveNearThePilotAndExplodeOnTheGround)
{
    for (int seed = 0; seed < 50; ++seed)
    {
        Seed_Random(seed);
        ASSERT_TRUE(app->Spawn_Alien(OBJ_METEOR));
        Game_Object& meteor = app->player->objects[0];
        const float offset = Wrap_Delta(meteor.x, app->Pilot_X());
        EXPECT_LE(std::fabs(offset), 1.5f);
        if (std::fabs(offset) < 0.65f)
        {
            EXPECT_LE(meteor.y, 0.0f);
            EXPECT_GE(meteor.y, -1.0f);
        }
        EXPECT_FLOAT_EQ(meteor.vy, 0.003f);
        EXPECT_FLOAT_EQ(std::fabs(meteor.vx), 0.004f);
        EXPECT_GE(meteor.size, 0.0375f);
        EXPECT_LT(meteor.size, 0.075f);
        meteor.state = OBJECT_FREE;
    }
    Game_Object* meteor = app->New_Object();
    meteor->type = OBJ_METEOR;
    meteor->state = OBJECT_ALIVE;
    meteor->x = app->Pilot_X();
    meteor->y = 0.899f;
    meteor->ground_y = 0.9f;
    meteor->vy = 0.003f;
    const int32_t score = app->player->score;
    app->Update_Object(*meteor, 1.0f);
    EXPECT_EQ(meteor->state, OBJECT_FREE);
    EXPECT_EQ(app->player->score, score) << "reaching the ground scores nothing";
}
