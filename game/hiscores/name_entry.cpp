// Name entry: the stick picks the letters of a new hiscore's name, fire confirms it; in a two-player game
// the second player's score is offered once the first has entered a name.
#include "game/app/app.h"

void App::Name_Entry_Update()
{
    if (new_entry_row >= 0 && new_entry_row < HISCORE_ROWS && repeat_timer.Expired())
    {
        repeat_timer.Start(0.1f);
        char* name = hiscore_table->rows[new_entry_row].name;
        if (controls.x < -0.75f && name_cursor > 0)
            name[name_cursor--] = 0;
        else if (controls.x > 0.75f && name_cursor < HISCORE_NAME_LENGTH - 1)
            name[++name_cursor] = 'A';

        int c = name[name_cursor];
        if (controls.y < -0.75f)
            --c;
        else if (controls.y > 0.75f)
            ++c;
        if (c < 'A')
            c = 'Z';
        else if (c > 'Z')
            c = 'A';
        name[name_cursor] = static_cast<char>(c);
    }

    if (!controls.Fire_Pressed())
        return;
    if (new_entry_row >= 0 && new_entry_row < HISCORE_ROWS && name_cursor + 1 < 16)
        hiscore_table->rows[new_entry_row].name[name_cursor + 1] = 0;
    // The table is kept on disk as soon as a name stands in it, so a crash later loses nothing.
    Save_Hiscores(*hiscore_table, Hiscore_File_Name(difficulty));

    if (current_player_index == 0)
    {
        current_player_index = 1;
        player = &players[1];
        const int row = Insert_Hiscore(*hiscore_table, player->score, player->level);
        if (row >= 0)
        {
            new_entry_row = row;
            name_cursor = 0;
            return;
        }
    }
    game_state = STATE_HISCORES;
    state_timer.Start(10.0f);
    Play_Music(MUSIC_TITLE);
}
