// Score and lives: extra lives, the buggy's destruction ending a player's game, the turn order of two
// players, and the end of a game handing over to the hiscore screens.
#include "player_fixture.h"

namespace
{
constexpr float G = 0.88f;

class TurnsTest : public Player_Test
{
  protected:
    // Frames until the state changes from `state` (at most `limit`); the frames taken.
    int Run_While(int32_t state, int limit = 1000)
    {
        int frames = 0;
        while (app->game_state == state && frames < limit)
        {
            Step();
            ++frames;
        }
        return frames;
    }
    // The pilot hit by an alien where he stands, the fall, and the two seconds after it.
    void Lose_A_Life()
    {
        Add_Object(OBJ_CROSS, P().pilot_x, P().pilot_y, OBJECT_ALIVE);
        Step();
        ASSERT_EQ(app->game_state, STATE_FALLING);
        Run_While(STATE_FALLING);
        ASSERT_EQ(app->game_state, STATE_LIFE_LOST);
        Run_While(STATE_LIFE_LOST);
    }
};

TEST_F(TurnsTest, OneExtraLifeACallAndTheNextThresholdTenThousandOn)
{
    struct Case
    {
        int32_t score, points;
        int32_t lives, next; // afterwards, from 3 lives and a threshold of 10000
    };
    for (const Case& c : {Case{9990, 10110, 4, 20000}, Case{9990, 10, 3, 10000}, Case{9990, 11, 4, 20000},
                          Case{0, 25000, 4, 20000}})
    {
        SCOPED_TRACE(testing::Message() << c.score << " + " << c.points);
        New_Game();
        P().score = c.score;
        app->Add_Score(c.points);
        EXPECT_EQ(P().score, c.score + c.points);
        EXPECT_EQ(P().lives, c.lives);
        EXPECT_EQ(P().next_extra_life, c.next);
    }
    // After the jump to 20100 the next call that stays above 20000 gives the second life.
    New_Game();
    P().score = 9990;
    app->Add_Score(10110);
    app->Add_Score(110);
    EXPECT_EQ(P().lives, 5);
    EXPECT_EQ(P().next_extra_life, 30000);
    EXPECT_EQ(app->players[1].score, 0); // only the current player scores
}

TEST_F(TurnsTest, TheDestroyedBuggyEndsThisPlayersGameAfterTheFall)
{
    Game_Object& bomb = Add_Object(OBJ_BOMB, 20.03f, 0.873f, OBJECT_LOADED);
    Game_Object& gun = Add_Object(OBJ_GUN, 20.0f, 0.865f, OBJECT_LOADED);
    P().bomb = app->cargo_item = &bomb;
    P().gun = &gun;
    P().gun_mounted = 1;
    P().pilot_y = 0.6f;
    P().buggy_x = 20.0f + 0.5f * TILE_WIDTH; // mid-column, so that each crater's column is plain
    app->Destroy_Buggy();
    EXPECT_EQ(app->game_state, STATE_FALLING);
    EXPECT_EQ(P().lives, 0);
    EXPECT_EQ(P().buggy_destroyed, 1);
    EXPECT_EQ(bomb.state, OBJECT_FREE);
    EXPECT_EQ(gun.state, OBJECT_FREE);
    EXPECT_EQ(app->cargo_item, nullptr);
    // Seven columns of craters around the buggy.
    const int c = Column_Of(P().buggy_x);
    for (int k = -3; k <= 4; ++k)
        EXPECT_GE(P().floor.tiles[c + k], TILE_CRATER_LEFT) << k;
    EXPECT_LT(P().floor.tiles[c - 4], TILE_ROCK);
    EXPECT_LT(P().floor.tiles[c + 5], TILE_ROCK);

    Run_While(STATE_FALLING);
    EXPECT_EQ(app->game_state, STATE_LIFE_LOST);
    EXPECT_GT(Run_While(STATE_LIFE_LOST), 110); // two seconds
    // Nobody has a life left, and a zero score takes no row.
    EXPECT_EQ(app->game_state, STATE_HISCORES);
    EXPECT_EQ(app->new_entry_row, -1);
    EXPECT_FALSE(app->state_timer.Expired());
}

TEST_F(TurnsTest, TwoPlayersTakeTurnsUntilOneIsOutOfLivesThenTheOtherPlaysOn)
{
    New_Game(false);
    ASSERT_EQ(app->current_player_index, 0);
    EXPECT_EQ(app->players[1].lives, 3);
    app->players[1].pilot_x = 60.0f;
    app->players[1].buggy_x = 60.0f;

    Lose_A_Life();
    EXPECT_EQ(app->current_player_index, 1);
    EXPECT_EQ(app->player, &app->players[1]);
    EXPECT_EQ(app->game_state, STATE_ON_FOOT);
    EXPECT_FLOAT_EQ(P().pilot_x, 60.0f); // at the new player's buggy
    EXPECT_EQ(app->players[0].lives, 2);

    Lose_A_Life();
    EXPECT_EQ(app->current_player_index, 0);
    EXPECT_EQ(app->players[1].lives, 2);

    // Player 1 loses the rest; player 2 then plays on alone.
    app->players[0].lives = 1;
    Lose_A_Life();
    EXPECT_EQ(app->current_player_index, 1);
    Lose_A_Life();
    EXPECT_EQ(app->current_player_index, 1);
    EXPECT_EQ(app->game_state, STATE_ON_FOOT);
    EXPECT_EQ(P().lives, 1);
    Lose_A_Life();
    EXPECT_EQ(app->game_state, STATE_HISCORES);
}

TEST_F(TurnsTest, TheCargoAboardIsTheCurrentPlayersOwn)
{
    New_Game(false);
    Game_Object& bomb = Add_Object(OBJ_BOMB, 20.03f, 0.873f, OBJECT_LOADED);
    P().bomb = app->cargo_item = &bomb;
    Lose_A_Life();
    ASSERT_EQ(app->current_player_index, 1);
    EXPECT_EQ(app->cargo_item, nullptr); // player 2's buggy is empty, so it can load
    Lose_A_Life();
    ASSERT_EQ(app->current_player_index, 0);
    EXPECT_EQ(app->cargo_item, &bomb);
}

TEST_F(TurnsTest, AOnePlayerGameEndsWhenTheLastLifeIsLost)
{
    P().lives = 1;
    Lose_A_Life();
    EXPECT_EQ(app->game_state, STATE_HISCORES);
    EXPECT_EQ(app->current_player_index, 0);
}
} // namespace
