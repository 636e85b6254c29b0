// The play field on a real window: where the renderer puts the buggy, the floor, the fuel gauge and the
// lives icons (test sprites with one colour a cell, checked by pixels); the rules that measure sprite
// cells (refuelling at the buggy, the teleporter's box, the reach of the hands); and Escape pressed in the
// running frame loop.
#include "player_fixture.h"

#include "engine/core/vorta_window.h"
#include "platform/os_window.h"
#include "support/sdl_events.h"

#include <cstdlib>

namespace
{
constexpr float G = 0.88f;

// Within a few steps of 255 on every channel (blending and rounding).
testing::AssertionResult Near_Rgb(uint32_t got, uint32_t want, int tolerance = 3)
{
    for (int shift : {16, 8, 0})
        if (std::abs(static_cast<int>(got >> shift & 0xFF) - static_cast<int>(want >> shift & 0xFF)) >
            tolerance)
            return testing::AssertionFailure() << std::hex << "got 0x" << got << ", expected 0x" << want;
    return testing::AssertionSuccess();
}

class PlayWindowTest : public Player_Window_Test
{
};

TEST_F(PlayWindowTest, TheBuggyIsDrawnAtTheShortestWrappedDistanceFromThePilot)
{
    const uint32_t body = Test_Cell_Colour(SPRITE_BUGGY_BODY, 1); // facing left, nobody aboard
    const int row = static_cast<int>(0.858f * HEIGHT);
    struct Case
    {
        float pilot_x, buggy_x;
        int screen_x; // -1: not on screen
    };
    for (const Case& c : {Case{30.0f, 30.3f, 1536}, Case{0.1f, 99.8f, 384}, Case{30.0f, 30.0f + 49.9f, -1},
                          Case{30.0f, 30.0f + 50.1f, -1}, Case{99.9f, 0.1f, 1344}})
    {
        SCOPED_TRACE(testing::Message() << "pilot " << c.pilot_x << " buggy " << c.buggy_x);
        P().pilot_x = c.pilot_x;
        P().buggy_x = c.buggy_x;
        Draw_Play_Field();
        if (c.screen_x < 0)
            EXPECT_FALSE(Row_Has(row - 20, row + 20, body));
        else
        {
            EXPECT_TRUE(Near_Rgb(Pixel(c.screen_x, row), body));
            // 0.153 of the width across, centred there.
            EXPECT_TRUE(Near_Rgb(Pixel(c.screen_x - 140, row), body));
            EXPECT_FALSE(Near_Rgb(Pixel(c.screen_x - 152, row), body));
        }
    }
    // Driving shows the pilot aboard (the next cells); facing right the cells before.
    P().pilot_x = 30.0f;
    P().buggy_x = 30.3f;
    app->game_state = STATE_DRIVING;
    Draw_Play_Field();
    EXPECT_TRUE(Near_Rgb(Pixel(1536, row), Test_Cell_Colour(SPRITE_BUGGY_BODY, 3)));
    app->buggy_facing = 1.0f;
    Draw_Play_Field();
    EXPECT_TRUE(Near_Rgb(Pixel(1536, row), Test_Cell_Colour(SPRITE_BUGGY_BODY, 2)));
}

TEST_F(PlayWindowTest, WithThePilotAtZeroColumnZeroLiesJustOffTheLeftEdge)
{
    uint8_t* tiles = P().floor.tiles;
    P().pilot_x = 0.0f;
    tiles[0] = TILE_ROCK;
    tiles[1] = 1;
    tiles[31] = 2;
    tiles[60] = TILE_CRATER_RIGHT;
    tiles[61] = TILE_CRATER_LEFT;
    Draw_Play_Field();
    const int row = 1015; // the tiles' top is at 0.925, 32 pixels a tile
    EXPECT_TRUE(Near_Rgb(Pixel(0, row), Test_Cell_Colour(SPRITE_FLOOR_TILES, 1)));
    EXPECT_TRUE(Near_Rgb(Pixel(31, row), Test_Cell_Colour(SPRITE_FLOOR_TILES, 1)));
    EXPECT_TRUE(Near_Rgb(Pixel(32, row), Test_Cell_Colour(SPRITE_FLOOR_TILES, 0)));
    EXPECT_TRUE(Near_Rgb(Pixel(960 + 16, row), Test_Cell_Colour(SPRITE_FLOOR_TILES, 2))); // under the pilot
    EXPECT_TRUE(Near_Rgb(Pixel(1919, row), Test_Cell_Colour(SPRITE_FLOOR_TILES, TILE_CRATER_RIGHT)));
    EXPECT_FALSE(Row_Has(1000, 1030, Test_Cell_Colour(SPRITE_FLOOR_TILES, TILE_ROCK)));
    EXPECT_FALSE(Row_Has(1000, 1030, Test_Cell_Colour(SPRITE_FLOOR_TILES, TILE_CRATER_LEFT)));

    // Half a column on, everything moves half a tile to the left.
    P().pilot_x = 0.5f * TILE_WIDTH;
    Draw_Play_Field();
    EXPECT_TRUE(Near_Rgb(Pixel(15, row), Test_Cell_Colour(SPRITE_FLOOR_TILES, 1)));
    EXPECT_TRUE(Near_Rgb(Pixel(17, row), Test_Cell_Colour(SPRITE_FLOOR_TILES, 0)));
}

TEST_F(PlayWindowTest, TheFuelGaugeFillsFromTheLeftAndAnEmptyTankShowsOnlyTheBackAndTheDivider)
{
    const uint32_t green = 0x00CC00; // (0, 1, 0) at alpha 0.8 over black
    const uint32_t grey = 0x4C4C4C;  // 0.3
    const int row = 75;              // 0.06 + half the thickness
    const int start = 250;           // 0.13 of the width
    app->fuel = 0.0f;
    Draw_Play_Field();
    EXPECT_TRUE(Near_Rgb(Pixel(start - 8, row), 0));
    EXPECT_TRUE(Near_Rgb(Pixel(start - 1, row), green)); // the divider, 0.004 wide, centred on 0.13
    EXPECT_TRUE(Near_Rgb(Pixel(start + 10, row), grey));
    EXPECT_TRUE(Near_Rgb(Pixel(1720, row), grey));
    EXPECT_TRUE(Near_Rgb(Pixel(1735, row), 0)); // 0.77 long

    app->fuel = 0.5f;
    Draw_Play_Field();
    EXPECT_TRUE(Near_Rgb(Pixel(start + 10, row), green));
    EXPECT_TRUE(Near_Rgb(Pixel(980, row), green));
    EXPECT_TRUE(Near_Rgb(Pixel(1000, row), grey));

    app->fuel = 1.0f;
    Draw_Play_Field();
    EXPECT_TRUE(Near_Rgb(Pixel(1720, row), green));
}

TEST_F(PlayWindowTest, FiveLivesIconsAPlayerLitForEachLifeUpToFive)
{
    struct Case
    {
        int32_t lives1, lives2;
    };
    for (const Case& c : {Case{7, 0}, Case{2, 3}, Case{0, 5}})
    {
        SCOPED_TRACE(testing::Message() << c.lives1 << " and " << c.lives2 << " lives");
        app->players[0].lives = c.lives1;
        app->players[1].lives = c.lives2;
        Draw_Play_Field();
        for (int j = 0; j < 5; ++j)
        {
            const int x1 = static_cast<int>((0.325f + 0.0175f * static_cast<float>(j)) * WIDTH);
            const int x2 = static_cast<int>((0.675f - 0.0175f * static_cast<float>(j)) * WIDTH);
            EXPECT_TRUE(Near_Rgb(Pixel(x1, 19), Test_Cell_Colour(SPRITE_LIVES, j < c.lives1 ? 0 : 1))) << j;
            EXPECT_TRUE(Near_Rgb(Pixel(x2, 19), Test_Cell_Colour(SPRITE_LIVES, j < c.lives2 ? 2 : 3))) << j;
        }
    }
}

TEST_F(PlayWindowTest, TheTankFillsWithinHalfTheBuggysWidth)
{
    // The buggy's cell is 240 pixels of 1920 across: a radius of 0.0625, whatever the window's size.
    struct Case
    {
        float dx;
        bool fills;
    };
    for (const Case& c : {Case{0.05f, true}, Case{-0.05f, true}, Case{0.06f, false}})
    {
        SCOPED_TRACE(c.dx);
        New_Game();
        P().pilot_x = P().buggy_x + c.dx;
        app->fuel = 0.5f;
        Step();
        EXPECT_FLOAT_EQ(app->fuel, c.fills ? 1.0f : 0.5f);
    }
}

TEST_F(PlayWindowTest, FireInsideATeleportersBoxTeleportsUnlessATeleporterIsCarried)
{
    struct Case
    {
        float dx, y;
        int32_t carried; // OBJ_NONE for empty hands
        bool teleports;
    };
    // The box: 96 x 108 pixels of 1920 x 1080, 0.05 wide and 0.1 high, standing on the teleporter's y.
    for (const Case& c : {Case{0.02f, G, OBJ_NONE, true}, Case{-0.02f, G, OBJ_NONE, true},
                          Case{0.03f, G, OBJ_NONE, false}, Case{0.0f, 0.82f, OBJ_NONE, false},
                          Case{0.0f, G, OBJ_TELEPORTER_2, false}, Case{0.0f, G, OBJ_BOMB, true}})
    {
        SCOPED_TRACE(testing::Message() << "dx " << c.dx << " y " << c.y << " carrying " << c.carried);
        New_Game();
        Game_Object& one = Add_Object(OBJ_TELEPORTER_1, 15.0f, 0.925f);
        Game_Object& two = Add_Object(OBJ_TELEPORTER_2, 40.0f, 0.925f);
        P().teleporter1 = &one;
        P().teleporter2 = &two;
        if (c.carried != OBJ_NONE)
        {
            Game_Object& item = c.carried == OBJ_TELEPORTER_2 ? two : Add_Object(c.carried, 15.0f, 0.8f);
            item.state = OBJECT_CARRIED;
            app->carried_item = &item;
        }
        P().pilot_x = 15.0f + c.dx;
        P().pilot_y = c.y;
        app->controls.fire_frames = 1;
        app->Update_Play();
        EXPECT_EQ(app->game_state, c.teleports ? STATE_TELEPORTING : STATE_ON_FOOT);
        if (c.teleports)
        {
            EXPECT_EQ(app->teleport_target, 1);
        }
    }
}

TEST_F(PlayWindowTest, UsePicksUpTheFirstItemWithinReachButNotAMountedGun)
{
    // Bombs are 64 x 54 pixels: a reach of 1/30 around a point half their height up.
    Game_Object& gun = Add_Object(OBJ_GUN, 10.0f, 0.925f, OBJECT_LOADED);
    gun.sprite = SPRITE_GUN;
    P().gun = &gun;
    Game_Object& far_bomb = Add_Object(OBJ_BOMB, 10.03f, 0.925f);
    far_bomb.sprite = SPRITE_BOMB;
    app->controls.use_frames = 1;
    app->Update_Play();
    EXPECT_EQ(app->carried_item, nullptr);
    EXPECT_EQ(gun.state, OBJECT_LOADED);

    far_bomb.x = 10.02f;
    app->Update_Play();
    EXPECT_EQ(app->carried_item, &far_bomb);
    EXPECT_EQ(far_bomb.state, OBJECT_CARRIED);

    // A teleporter taken off the buggy is no longer its cargo.
    app->Use_Control(); // puts the bomb down
    EXPECT_EQ(far_bomb.state, OBJECT_FALLING);
    far_bomb.state = OBJECT_FREE;
    // On the buggy the reach is measured a whole cell (0.1) above it.
    Game_Object& teleporter = Add_Object(OBJ_TELEPORTER_1, 10.0f, G + 0.1f, OBJECT_LOADED);
    teleporter.sprite = SPRITE_TELEPORTER;
    P().teleporter1 = app->cargo_item = &teleporter;
    app->Use_Control();
    EXPECT_EQ(app->carried_item, &teleporter);
    EXPECT_EQ(app->cargo_item, nullptr);
}

TEST_F(PlayWindowTest, EscapeInTheFrameLoopEndsThisPlayersGameAfterTheTwoSecondFall)
{
    Frame_Pass();
    ASSERT_EQ(app->game_state, STATE_ON_FOOT);
    test_support::Push_Key(window->Get_Os_Window().Id(), SDL_SCANCODE_ESCAPE, true);
    Frame_Pass();
    test_support::Push_Key(window->Get_Os_Window().Id(), SDL_SCANCODE_ESCAPE, false);
    // Standing on the ground, the pilot lands in the same frame.
    EXPECT_EQ(app->game_state, STATE_LIFE_LOST);
    EXPECT_EQ(P().lives, 0);
    EXPECT_EQ(P().buggy_destroyed, 1);
    for (int i = 0; i < 10; ++i)
        Frame_Pass();
    EXPECT_EQ(app->game_state, STATE_LIFE_LOST);
    // The rest of the two seconds without presenting each frame.
    int frames = 10;
    while (app->game_state == STATE_FALLING || app->game_state == STATE_LIFE_LOST)
    {
        ASSERT_LT(++frames, 300);
        Step();
    }
    EXPECT_GE(frames, 118);
    EXPECT_EQ(app->game_state, STATE_HISCORES);
}
} // namespace
