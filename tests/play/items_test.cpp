// The floor (generation, craters, bridges, the buggy's way ahead) and what the pilot does with items: the
// use control at the buggy, loading the buggy, the laser's timer, and what a new life sweeps away.
#include "player_fixture.h"

#include "game/play/random.h"

#include <cstring>

namespace
{
constexpr float G = 0.88f;

class FloorTest : public Player_Test
{
};

TEST_F(FloorTest, EveryGameHasTheSameFloorWithOneRockABlockAndNoneAtTheEnd)
{
    Player_Record& record = app->players[1];
    app->Generate_Floor(record);
    int rocks = 0;
    for (int block = 0; block < 50; ++block)
    {
        int in_block = 0;
        for (int i = block * 120; i < block * 120 + 120; ++i)
        {
            EXPECT_LE(record.floor.tiles[i], TILE_ROCK);
            in_block += record.floor.tiles[i] == TILE_ROCK;
        }
        EXPECT_EQ(in_block, block < 49 ? 1 : 0) << "block " << block;
        rocks += in_block;
    }
    EXPECT_EQ(rocks, 49);
    for (uint8_t bridge : record.floor.bridges)
        EXPECT_EQ(bridge, 0);

    // The same seed every time, so the same floor.
    const Floor first = record.floor;
    Random_Int();
    app->Generate_Floor(record);
    EXPECT_EQ(std::memcmp(&first, &record.floor, sizeof first), 0);
    // Its first column is the first draw of the seeded generator, modulo 3.
    Seed_Random(2103);
    EXPECT_EQ(record.floor.tiles[0], Random_Int() % 3);
}

TEST_F(FloorTest, CratersAndBridgesLandOnTheColumnsOfTheirX)
{
    uint8_t* tiles = P().floor.tiles;
    tiles[5999] = TILE_ROCK;
    app->Make_Crater(99.5f - 0.5f * TILE_WIDTH); // column 5999 and, wrapped, column 0
    EXPECT_EQ(tiles[5999], TILE_CRATER_LEFT);
    EXPECT_EQ(tiles[0], TILE_CRATER_RIGHT);
    app->Make_Crater(99.5f - 0.5f * TILE_WIDTH);
    EXPECT_EQ(tiles[5999], TILE_CRATER_AGAIN_LEFT);
    EXPECT_EQ(tiles[0], TILE_CRATER_AGAIN_RIGHT);

    // A bridge covers two columns; one laid over it moves outwards on both sides.
    uint8_t* bridges = P().floor.bridges;
    const float x = 1.0f + 0.5f * TILE_WIDTH; // (x + 0.5) / width = 90.5
    app->Lay_Bridge(x);
    EXPECT_EQ(bridges[91] + bridges[92], 2);
    app->Lay_Bridge(x);
    EXPECT_EQ(bridges[90] + bridges[93], 2);
    int laid = 0;
    for (uint8_t b : P().floor.bridges)
        laid += b;
    EXPECT_EQ(laid, 4);
}

TEST_F(FloorTest, TheBuggyMayNotDriveIntoARockOrCraterWithinFiveColumnsUntilABridgeLiesOnIt)
{
    struct Case
    {
        int offset;    // from the buggy's column
        uint8_t tile;  // put there
        int bridge_at; // offset of a bridge piece, or 99 for none
        bool left, right;
    };
    const Case cases[] = {
        {4, TILE_ROCK, 99, true, false},         {5, TILE_ROCK, 99, true, true},
        {0, TILE_CRATER_LEFT, 99, false, false}, {-4, TILE_CRATER_AGAIN_RIGHT, 99, false, true},
        {-5, TILE_ROCK, 99, true, true},         {3, TILE_ROCK, 3, true, true},
        {3, TILE_ROCK, 4, true, true},           {3, TILE_ROCK, 2, true, false}, // the piece must lie ahead
        {-3, TILE_ROCK, -4, true, true},         {-3, TILE_ROCK, -2, false, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "offset " << c.offset << " bridge " << c.bridge_at);
        New_Game();
        const int c0 = Centre_Column(P().buggy_x);
        P().floor.tiles[Wrap_Column(c0 + c.offset)] = c.tile;
        if (c.bridge_at != 99)
            P().floor.bridges[Wrap_Column(c0 + c.bridge_at)] = 1;
        EXPECT_EQ(app->Can_Drive(-1), c.left);
        EXPECT_EQ(app->Can_Drive(1), c.right);
    }
}

class ItemsTest : public Player_Test
{
  protected:
    // The pilot on the ground at this distance from the buggy, pressing use.
    void Use_At(float offset)
    {
        P().pilot_x = Wrap_X(P().buggy_x + offset);
        P().pilot_y = G;
        app->controls.use_frames = 1;
        Step();
        app->controls.use_frames = 0;
    }
};

TEST_F(ItemsTest, UseAtTheBuggysCentreBoardsAndAtItsRearTakesABridge)
{
    struct Case
    {
        float buggy_facing;
        float offset;
        bool carrying; // already holding a bomb
        int32_t state; // afterwards
        bool bridge;   // a bridge in the pilot's hands
    };
    const Case cases[] = {
        {-1.0f, 0.0f, false, STATE_DRIVING, false},  {-1.0f, 0.015f, false, STATE_DRIVING, false},
        {-1.0f, 0.036f, false, STATE_ON_FOOT, true}, {1.0f, -0.04f, false, STATE_ON_FOOT, true},
        {1.0f, 0.036f, false, STATE_ON_FOOT, false}, {-1.0f, 0.06f, false, STATE_ON_FOOT, false},
        {-1.0f, 0.036f, true, STATE_ON_FOOT, false}, // use only drops what is carried
        {-1.0f, 0.0f, true, STATE_DRIVING, false},   // boarding drops it too
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message()
                     << "facing " << c.buggy_facing << " offset " << c.offset << " carrying " << c.carrying);
        New_Game();
        app->buggy_facing = c.buggy_facing;
        Game_Object* bomb = nullptr;
        if (c.carrying)
            app->carried_item = bomb =
                &Add_Object(OBJ_BOMB, 5.0f, 0.5f, OBJECT_CARRIED); // far from the buggy
        Use_At(c.offset);
        EXPECT_EQ(app->game_state, c.state);
        if (bomb)
        {
            EXPECT_EQ(bomb->state, OBJECT_FALLING);
        }
        const Game_Object* carried = app->carried_item;
        EXPECT_EQ(carried != nullptr && carried->type == OBJ_BRIDGE, c.bridge);
        if (c.bridge)
        {
            EXPECT_EQ(carried->state, OBJECT_CARRIED);
            EXPECT_FLOAT_EQ(carried->size, 2.0f * TILE_WIDTH);
            EXPECT_EQ(carried->flags, static_cast<int32_t>(SPR_BOTTOM));
        }
    }
}

TEST_F(ItemsTest, BoardingNeedsTheGroundAndTheUsePress)
{
    P().pilot_x = P().buggy_x;
    P().pilot_y = G - 0.02f;
    app->controls.use_frames = 1;
    app->Update_Play();
    EXPECT_EQ(app->game_state, STATE_ON_FOOT);
    P().pilot_y = G;
    app->controls.use_frames = 2; // held from before
    app->Update_Play();
    EXPECT_EQ(app->game_state, STATE_ON_FOOT);
}

TEST_F(ItemsTest, ADroppedItemLoadsOntoTheBuggyOnlyWhereTheCargoFits)
{
    struct Case
    {
        int32_t dropped;
        bool cargo_aboard; // a teleporter already loaded
        bool loads;
    };
    for (const Case& c :
         {Case{OBJ_BOMB, false, true}, Case{OBJ_TELEPORTER_1, false, true}, Case{OBJ_BOMB, true, false},
          Case{OBJ_TELEPORTER_2, true, false}, Case{OBJ_GUN, true, true}, Case{OBJ_GUN, false, true}})
    {
        SCOPED_TRACE(testing::Message() << "item " << c.dropped << " cargo " << c.cargo_aboard);
        New_Game();
        app->buggy_facing = -1.0f;
        app->Update_Cargo_Point();
        EXPECT_FLOAT_EQ(app->cargo_x, 20.03f);
        EXPECT_FLOAT_EQ(app->cargo_y, P().buggy_y + 0.015f);
        Game_Object* aboard = nullptr;
        if (c.cargo_aboard)
        {
            aboard = &Add_Object(OBJ_TELEPORTER_1, app->cargo_x, app->cargo_y, OBJECT_LOADED);
            P().teleporter1 = app->cargo_item = aboard;
        }
        Game_Object& item = Add_Object(c.dropped, app->cargo_x + 0.03f, app->cargo_y - 0.04f, OBJECT_FALLING);
        if (c.dropped == OBJ_GUN)
            P().gun = &item;
        else if (c.dropped == OBJ_BOMB)
            P().bomb = &item;
        else if (c.dropped == OBJ_TELEPORTER_1)
            P().teleporter1 = &item;
        else
            P().teleporter2 = &item;
        app->Load_Buggy();
        EXPECT_EQ(item.state, c.loads ? OBJECT_LOADED : OBJECT_FALLING);
        EXPECT_EQ(P().gun_mounted, c.dropped == OBJ_GUN ? 1 : 0);
        EXPECT_EQ(app->cargo_item, c.cargo_aboard ? aboard : (c.dropped == OBJ_GUN ? nullptr : &item));
    }

    // Too far from the cargo point, or not falling: not loaded.
    New_Game();
    Game_Object& bomb = Add_Object(OBJ_BOMB, app->cargo_x + 0.056f, app->cargo_y, OBJECT_FALLING);
    P().bomb = &bomb;
    app->Load_Buggy();
    EXPECT_EQ(bomb.state, OBJECT_FALLING);
    bomb.x = app->cargo_x;
    bomb.state = OBJECT_RESTING;
    app->Load_Buggy();
    EXPECT_EQ(bomb.state, OBJECT_RESTING);
}

TEST_F(ItemsTest, TheLaserFiresWhileHeldAtItsPeriodAndWaitsForAFreeBeam)
{
    for (Laser_Beam& beam : app->lasers)
        beam.active = 1;
    app->controls.fire_frames = 5;
    app->Fire_Laser();
    EXPECT_TRUE(app->fire_timer.Expired()); // nothing fired, so the next frame tries again

    app->lasers[7].active = 0;
    app->Fire_Laser();
    EXPECT_FALSE(app->fire_timer.Expired());
    Advance(0.09f);
    EXPECT_FALSE(app->fire_timer.Expired());
    Advance(0.02f);
    EXPECT_TRUE(app->fire_timer.Expired());

    app->controls.fire_frames = 0;
    app->lasers[7].active = 0;
    app->Fire_Laser();
    EXPECT_TRUE(app->fire_timer.Expired());
}

TEST_F(ItemsTest, ANewLifeSweepsAwayAliensAndLooseBridgesAndDropsWhatIsCarried)
{
    int32_t kept_types[] = {OBJ_DEFENCE, OBJ_LAUNCHER,     OBJ_DECOY_MISSILE, OBJ_HOMING_MISSILE,
                            OBJ_BOMB,    OBJ_TELEPORTER_1, OBJ_TELEPORTER_2,  OBJ_GUN};
    Game_Object* kept[8];
    for (int i = 0; i < 8; ++i)
        kept[i] = &Add_Object(kept_types[i], 5.0f, 0.5f);
    Game_Object& meteor = Add_Object(OBJ_METEOR, 5.0f, 0.5f, OBJECT_ALIVE);
    Game_Object& saturn = Add_Object(OBJ_SATURN, 5.0f, 0.5f, OBJECT_ALIVE);
    Game_Object& loose = Add_Object(OBJ_BRIDGE, 5.0f, 0.5f, OBJECT_FALLING);
    Game_Object& held = Add_Object(OBJ_BRIDGE, 5.0f, 0.5f, OBJECT_CARRIED);
    app->carried_item = &held;
    app->Respawn_Pilot();
    for (Game_Object* object : kept)
        EXPECT_EQ(object->state, OBJECT_RESTING) << object->type;
    EXPECT_EQ(meteor.state, OBJECT_FREE);
    EXPECT_EQ(saturn.state, OBJECT_FREE);
    EXPECT_EQ(loose.state, OBJECT_FREE);
    EXPECT_EQ(held.state, OBJECT_FREE);
    EXPECT_EQ(app->carried_item, nullptr);
    EXPECT_EQ(app->game_state, STATE_ON_FOOT);
    EXPECT_FLOAT_EQ(P().pilot_x, P().buggy_x);
    EXPECT_FLOAT_EQ(P().pilot_y, G);
    EXPECT_FALSE(app->state_timer.Expired()); // "Get Ready" for 3 s
}
} // namespace
