// Lives, score and turns: a new life, points and extra lives, the buggy's destruction, the turn order of two
// players with the end of a game, and the player records' new-game and empty states.
#include "engine/audio/sound.h"
#include "game/app/app.h"
#include "game/play/random.h"

namespace
{
constexpr float RESPAWN_MESSAGE_SECONDS = 3.0f; // "Get Ready" shows while this runs
constexpr float FALL_SECONDS = 2.0f;
constexpr float HISCORES_SECONDS = 10.0f;
constexpr int32_t EXTRA_LIFE_STEP = 10000;
constexpr int32_t START_LIVES = 3;

// Aliens (0 to 11) and bridges go at a new life; Defences, launcher, missiles, bomb, teleporters and gun
// stay.
bool Stays_At_New_Life(int32_t type)
{
    return type >= OBJ_DEFENCE && type <= OBJ_GUN;
}

bool Is_Cargo_Type(int32_t type)
{
    return type == OBJ_BOMB || type == OBJ_TELEPORTER_1 || type == OBJ_TELEPORTER_2;
}
} // namespace

void App::Respawn_Pilot()
{
    game_state = STATE_ON_FOOT;
    player->pilot_x = player->buggy_x;
    player->pilot_y = ground_y;
    pilot_vx = pilot_vy = 0.0f;
    facing = 0.0f;
    scroll = player->pilot_x;
    // Dropped before the sweep, so that a bridge still in the pilot's hands goes with the loose ones.
    Drop_Carried_Item();
    for (Game_Object& object : player->objects)
        if (object.state != OBJECT_FREE && !Stays_At_New_Life(object.type))
            object.state = OBJECT_FREE;
    state_timer.Start(RESPAWN_MESSAGE_SECONDS);
}

void App::Drop_Carried_Item()
{
    if (!carried_item)
        return;
    carried_item->state = OBJECT_FALLING;
    carried_item = nullptr;
}

void App::Add_Score(int32_t points)
{
    player->score += points;
    if (player->score > player->next_extra_life)
    {
        ++player->lives;
        player->next_extra_life += EXTRA_LIFE_STEP;
        Play_Sound(SOUND_EXTRA_LIFE, 0.9f, 0);
    }
}

void App::Destroy_Buggy()
{
    for (int k = -3; k <= 3; ++k)
        Make_Crater(player->buggy_x + static_cast<float>(k) * TILE_WIDTH);
    // The teleport sound loops until its state ends; this ends the state, so it ends the sound too.
    if (game_state == STATE_TELEPORTING)
        if (CSound_2d* sound = Get_Sound(SOUND_TELEPORT))
            sound->Stop_Voice(0);
    player->lives = 0;
    game_state = STATE_FALLING;
    player->buggy_destroyed = 1;
    state_timer.Start(FALL_SECONDS);
    Spawn_Burst(player->buggy_x, player->buggy_y, BURST_BUGGY);
    if (cargo_item)
    {
        cargo_item->state = OBJECT_FREE;
        cargo_item = nullptr;
    }
    if (player->gun && player->gun->state == OBJECT_LOADED)
        player->gun->state = OBJECT_FREE;
}

Game_Object* App::Find_Cargo() const
{
    for (Game_Object* item : {player->bomb, player->teleporter1, player->teleporter2})
        if (item && item->state == OBJECT_LOADED && Is_Cargo_Type(item->type))
            return item;
    return nullptr;
}

void App::Make_Current_Player(int index)
{
    current_player_index = index;
    player = &players[index];
    Select_Current_Level();
    // The cargo belongs to this player's buggy, not to the one that was played before.
    cargo_item = Find_Cargo();
}

void App::End_Turn()
{
    const bool alive[2] = {players[0].lives > 0, players[1].lives > 0};
    if (alive[0] || alive[1])
    {
        if (alive[0] && alive[1])
        {
            Pause_Countdown(*player);
            Make_Current_Player(1 - current_player_index);
        }
        else
            Make_Current_Player(alive[0] ? 0 : 1);
        Resume_Countdown(*player);
        Respawn_Pilot();
        return;
    }

    // The game is over: the first player to take a row of the hiscore table enters a name.
    int row = Insert_Hiscore(*hiscore_table, players[0].score, players[0].level);
    int qualifier = 0;
    if (row < 0)
    {
        row = Insert_Hiscore(*hiscore_table, players[1].score, players[1].level);
        qualifier = 1;
    }
    new_entry_row = row;
    if (row < 0)
    {
        game_state = STATE_HISCORES;
        state_timer.Start(HISCORES_SECONDS);
        Play_Music(MUSIC_TITLE);
    }
    else
    {
        current_player_index = qualifier;
        player = &players[qualifier];
        game_state = STATE_HISCORE_ENTRY;
        Play_Music(MUSIC_HISCORE);
    }
    // The stars of the screens after play.
    for (Sky_Star& star : sky_stars)
    {
        star.x = Random_Range(-1.0f, 1.0f);
        star.y = Random_Range(0.0f, 1.0f);
        star.size = Random_Range(-1.0f, 1.0f);
    }
}

// An empty record: no floor, nobody in play, no objects or mission links, the first extra life at 10000.
void App::Clear_Player(Player_Record& record)
{
    record = Player_Record{};
    record.next_extra_life = EXTRA_LIFE_STEP;
}

void App::Reset_Player(Player_Record& record)
{
    Clear_Player(record);
    record.pilot_y = ground_y;
    record.buggy_y = wide_screen ? 0.858f : 0.8875f;
    record.lives = START_LIVES;
    Generate_Floor(record);
}
