// The pilot frame by frame: the wrapping world, walking, jet flight with fuel and carried loads, braking,
// the updraft over rocks and craters, falls, driving, and the teleport's jump made by the drawing.
#include "player_fixture.h"

#include <cmath>

namespace
{
constexpr float G = 0.88f; // ground y of a wide display

TEST(WorldTest, WrapAndShortestDifferenceOnTheRing)
{
    EXPECT_NEAR(Wrap_X(99.995f + 0.01f), 0.005f, 1e-5f);
    EXPECT_NEAR(Wrap_X(-0.25f), 99.75f, 1e-5f);
    EXPECT_NEAR(Wrap_Delta(0.005f, 99.995f), 0.01f, 1e-5f);
    EXPECT_NEAR(Wrap_Delta(99.995f, 0.005f), -0.01f, 1e-5f);
    EXPECT_FLOAT_EQ(Wrap_Delta(50.0f, 0.0f), 50.0f); // the result lies in (-50, 50]
    EXPECT_NEAR(Wrap_Delta(50.1f, 0.0f), -49.9f, 1e-4f);
    EXPECT_EQ(Column_Of(0.5f * TILE_WIDTH), 30);
    EXPECT_EQ(Centre_Column(0.0f), 31);
    EXPECT_EQ(Centre_Column(99.99f), 30); // 5999 + 31, wrapped
}

class PilotTest : public Player_Test
{
};

TEST_F(PilotTest, FlyingRightPastTheEndOfTheWorldComesOutAtTheStart)
{
    P().pilot_x = 99.995f;
    P().pilot_y = 0.5f;
    app->pilot_vx = 0.01f / 0.985f; // one frame of drag leaves 0.01
    Step();
    EXPECT_NEAR(P().pilot_x, 0.005f, 1e-5f);
    EXPECT_NEAR(app->scroll, 10.01f, 1e-5f); // the scroll does not wrap
}

TEST_F(PilotTest, ScreenXIsTheShortestWrappedDifference)
{
    P().pilot_x = 30.0f;
    EXPECT_NEAR(app->Screen_X(30.0f + 49.9f), 50.4f, 1e-4f);
    EXPECT_NEAR(app->Screen_X(30.0f + 50.1f), -49.4f, 1e-4f);
    P().pilot_x = 99.9f;
    EXPECT_NEAR(app->Screen_X(0.1f), 0.7f, 1e-4f);
}

TEST_F(PilotTest, WalkingMovesAtFullSpeedForAnyDeflectionWithoutFuel)
{
    for (float axis : {0.2f, 1.0f, 0.001f, -0.2f, -1.0f})
    {
        SCOPED_TRACE(axis);
        New_Game();
        app->fuel = 0.5f;
        app->controls.x = axis;
        Step();
        EXPECT_EQ(app->pilot_vx, axis > 0 ? 0.00125f : -0.00125f);
        EXPECT_NEAR(P().pilot_x - 10.0f, app->pilot_vx, 1e-6f); // as near as a float at 10 holds it
        EXPECT_FLOAT_EQ(P().pilot_y, G);
        EXPECT_FLOAT_EQ(app->fuel, 0.5f);
        EXPECT_EQ(app->facing > 0.0f, axis > 0.0f);
    }
}

TEST_F(PilotTest, FlightUsesFuelAndCarriedItemsSlowIt)
{
    struct Case
    {
        int32_t carried; // OBJ_NONE: empty hands
        float horizontal, vertical;
    };
    for (const Case& c :
         {Case{OBJ_NONE, 1.0f, 1.0f}, Case{OBJ_BOMB, 0.6f, 0.7f}, Case{OBJ_TELEPORTER_2, 0.7f, 0.8f},
          Case{OBJ_GUN, 0.8f, 0.9f}, Case{OBJ_BRIDGE, 0.85f, 0.9f}})
    {
        SCOPED_TRACE(c.carried);
        New_Game();
        P().pilot_y = 0.5f;
        if (c.carried != OBJ_NONE)
            app->carried_item = &Add_Object(c.carried, 10.0f, 0.6f, OBJECT_CARRIED);
        app->controls.x = 1.0f;
        app->controls.y = 1.0f;
        Step();
        EXPECT_FLOAT_EQ(app->pilot_vx, 0.0005f * c.horizontal);
        EXPECT_FLOAT_EQ(app->pilot_vy, 0.001f * c.vertical - 0.0003f);
        EXPECT_FLOAT_EQ(app->fuel, 1.0f - 2.0f * 0.0005f - 2.0f * 0.001f);

        // Top speed is cut by the same factor.
        app->pilot_vx = 0.05f;
        Step();
        EXPECT_FLOAT_EQ(app->pilot_vx, 0.015f * c.horizontal);
    }
}

TEST_F(PilotTest, AnEmptyTankNeitherSteersNorLiftsButHoldingDownStillBrakes)
{
    P().pilot_y = 0.5f;
    app->fuel = 0.0f;
    app->pilot_vx = 0.004f;
    app->controls.x = 1.0f;
    app->controls.y = 1.0f;
    Step();
    EXPECT_FLOAT_EQ(app->pilot_vx, 0.004f * 0.985f);
    EXPECT_FLOAT_EQ(app->pilot_vy, -0.0003f);
    EXPECT_EQ(app->fuel, 0.0f);

    // Falling fast with down held: 0.925 of the speed, and gravity cancelled.
    app->pilot_vy = -0.01f;
    app->controls.x = 0.0f;
    app->controls.y = -1.0f;
    Step();
    EXPECT_NEAR(app->pilot_vy, -0.01f * 0.925f * 0.999975f, 1e-9f);
    EXPECT_EQ(app->fuel, 0.0f);

    // Rising, down does not brake: gravity only.
    app->pilot_vy = 0.002f;
    Step();
    EXPECT_FLOAT_EQ(app->pilot_vy, 0.002f * 0.999975f - 0.0003f);
}

TEST_F(PilotTest, RocksAndCratersBlowThePilotUpUnlessABridgeCoversThem)
{
    struct Case
    {
        uint8_t tile, bridge;
        bool rises;
    };
    for (const Case& c : {Case{0, 0, false}, Case{2, 0, false}, Case{3, 0, true}, Case{5, 0, true},
                          Case{7, 0, true}, Case{3, 1, false}})
    {
        SCOPED_TRACE(testing::Message() << "tile " << int(c.tile) << " bridge " << int(c.bridge));
        New_Game();
        const int column = Centre_Column(P().pilot_x);
        P().floor.tiles[column] = c.tile;
        P().floor.bridges[column] = c.bridge;
        Step(10);
        if (c.rises)
        {
            EXPECT_LT(P().pilot_y, G);
        }
        else
        {
            EXPECT_FLOAT_EQ(P().pilot_y, G);
        }
        EXPECT_FLOAT_EQ(app->fuel, 1.0f); // no input, no fuel
    }
}

TEST_F(PilotTest, TheDrawingStopsThePilotOnTheGround)
{
    P().pilot_y = G - 0.001f;
    app->pilot_vy = -0.01f;
    app->Update_Play();
    EXPECT_GT(P().pilot_y, G); // the update alone sinks into the floor
    app->Render_Play();
    EXPECT_FLOAT_EQ(P().pilot_y, G);
    EXPECT_EQ(app->pilot_vy, 0.0f);
}

TEST_F(PilotTest, TheFuelTrickleOnTheGroundStopsAtATenth)
{
    app->fuel = 0.0f;
    Step();
    EXPECT_FLOAT_EQ(app->fuel, 0.0004f);
    Step(300);
    EXPECT_FLOAT_EQ(app->fuel, 0.1f);
}

TEST_F(PilotTest, AHitPilotFallsLosesALifeAndLeavesACrater)
{
    Game_Object& alien = Add_Object(OBJ_BOUNCE, 10.01f, G - 0.01f, OBJECT_ALIVE);
    alien.vx = -0.004f;
    Game_Object& defence = Add_Object(OBJ_DEFENCE, 10.0f, G);
    Step();
    EXPECT_EQ(app->game_state, STATE_FALLING);
    EXPECT_EQ(P().lives, 2);
    EXPECT_EQ(alien.state, OBJECT_FREE); // the first in slot order is the one that hits
    EXPECT_EQ(defence.state, OBJECT_RESTING);

    P().pilot_y = 0.5f;
    Step();
    EXPECT_FLOAT_EQ(app->pilot_vx, -0.004f * 0.985f); // the alien's push, without control
    for (int i = 0; i < 200 && app->game_state == STATE_FALLING; ++i)
        Step();
    EXPECT_EQ(app->game_state, STATE_LIFE_LOST);
    const int column = Column_Of(P().pilot_x);
    EXPECT_EQ(P().floor.tiles[column], TILE_CRATER_LEFT);
    EXPECT_EQ(P().floor.tiles[column + 1], TILE_CRATER_RIGHT);

    // Two seconds later the pilot stands at the buggy again.
    Step(115);
    EXPECT_EQ(app->game_state, STATE_LIFE_LOST);
    Step(10);
    EXPECT_EQ(app->game_state, STATE_ON_FOOT);
    EXPECT_FLOAT_EQ(P().pilot_x, P().buggy_x);
    EXPECT_FLOAT_EQ(app->scroll, P().buggy_x);
}

TEST_F(PilotTest, TheLaunchersAndItemsDoNotHurtThePilot)
{
    for (int32_t type : {OBJ_LAUNCHER, OBJ_BOMB, OBJ_TELEPORTER_1, OBJ_GUN, OBJ_BRIDGE})
        Add_Object(type, 10.0f, G).action_timer.Start(80.0f); // the launcher's countdown runs
    Step();
    EXPECT_EQ(app->game_state, STATE_ON_FOOT);
    EXPECT_EQ(P().lives, 3);
}

TEST_F(PilotTest, DrivingStopsBeforeARockUntilABridgeLiesOnIt)
{
    app->game_state = STATE_DRIVING;
    const int rock = Centre_Column(P().buggy_x) + 4;
    P().floor.tiles[rock] = TILE_ROCK;
    app->controls.x = 1.0f;
    Step(30);
    EXPECT_FLOAT_EQ(P().buggy_x, 20.0f);
    EXPECT_FLOAT_EQ(P().pilot_x, P().buggy_x);

    // Reversing is free.
    app->controls.x = -1.0f;
    Step(5);
    EXPECT_LT(P().buggy_x, 20.0f);
    EXPECT_LT(app->buggy_facing, 0.0f);

    // A bridge laid by a pilot standing over the rock covers it and the next column.
    app->Lay_Bridge((static_cast<float>(rock - 31) + 0.5f) * TILE_WIDTH);
    EXPECT_EQ(P().floor.bridges[rock], 1);
    EXPECT_EQ(P().floor.bridges[rock + 1], 1);
    app->controls.x = 1.0f;
    Step(120);
    EXPECT_GT(P().buggy_x, (static_cast<float>(rock - 31) + 1.0f) * TILE_WIDTH);

    // Use gets the pilot out where the buggy stands.
    app->controls.x = 0.0f;
    app->controls.use_frames = 1;
    Step();
    EXPECT_EQ(app->game_state, STATE_ON_FOOT);
}

TEST_F(PilotTest, AMountedGunTurnsRoundWithTheBuggy)
{
    Game_Object& gun = Add_Object(OBJ_GUN, 20.0f, 0.9f, OBJECT_LOADED);
    gun.facing = -1.0f;
    P().gun = &gun;
    app->game_state = STATE_DRIVING;
    app->buggy_facing = -1.0f;
    app->controls.x = 1.0f;
    Step();
    EXPECT_EQ(gun.facing, 1.0f);
    EXPECT_GT(app->buggy_facing, 0.0f);
    Step();
    EXPECT_EQ(gun.facing, 1.0f);
}

TEST_F(PilotTest, TheTeleportJumpsAtMidPhaseAndEndsOnFoot)
{
    Game_Object& one = Add_Object(OBJ_TELEPORTER_1, 12.0f, 0.925f);
    Game_Object& two = Add_Object(OBJ_TELEPORTER_2, 40.0f, 0.925f);
    P().teleporter1 = &one;
    P().teleporter2 = &two;
    P().pilot_x = 12.0f;
    app->lasers[3].active = 1;
    app->game_state = STATE_TELEPORTING;
    app->state_timer.Start(1.5f);
    app->teleport_target = 1;
    app->teleport_phase = -1.0f;

    Step(44);
    EXPECT_FLOAT_EQ(P().pilot_x, 12.0f);
    EXPECT_EQ(app->lasers[3].active, 1);
    Step(2);
    EXPECT_FLOAT_EQ(P().pilot_x, 40.0f);
    EXPECT_NEAR(app->scroll, 10.0f - 0.3f, 1e-5f); // the parallax moves only a little
    EXPECT_EQ(app->lasers[3].active, 0);
    Step(40);
    EXPECT_EQ(app->game_state, STATE_TELEPORTING);
    Step(5);
    EXPECT_EQ(app->game_state, STATE_ON_FOOT);
    EXPECT_FLOAT_EQ(P().pilot_x, 40.0f);

    // One frame long enough to miss the second half still arrives.
    app->game_state = STATE_TELEPORTING;
    app->state_timer.Start(1.5f);
    app->teleport_target = 0;
    app->teleport_phase = -1.0f;
    Advance(2.0f);
    app->Update_Play();
    EXPECT_EQ(app->game_state, STATE_ON_FOOT);
    EXPECT_FLOAT_EQ(P().pilot_x, 12.0f);
}

TEST_F(PilotTest, TheLaunchPauseHoldsEverythingThenReturnsToTheSavedState)
{
    P().pilot_y = 0.5f;
    app->saved_state = STATE_ON_FOOT;
    app->game_state = STATE_PAUSED_MESSAGE;
    app->state_timer.Start(3.0f);
    Step(175);
    EXPECT_FLOAT_EQ(P().pilot_y, 0.5f);
    EXPECT_EQ(app->game_state, STATE_PAUSED_MESSAGE);
    Step(10);
    EXPECT_EQ(app->game_state, STATE_ON_FOOT);
}
} // namespace
