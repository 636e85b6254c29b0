// A new game: both player records, their levels, the play fields and the play music.
#include "game/app/app.h"
#include "game/play/random.h"

void App::Start_Game(bool one_player)
{
    Seed_Sky_Stars();

    if (one_player)
        Clear_Player(players[1]);
    else
    {
        current_player_index = 1;
        player = &players[1];
        Reset_Player(players[1]);
        Set_Up_Level(players[1], false);
    }
    current_player_index = 0;
    player = &players[0];
    Reset_Player(players[0]);
    Set_Up_Level(players[0], true);

    Seed_Random(2103);

    game_state = STATE_ON_FOOT;
    pilot_vx = pilot_vy = 0.0f;
    facing = 0.0f;
    scroll = 0.0f;
    horizontal_push = vertical_push = 0.0f;
    buggy_velocity = 0.0f;
    buggy_facing = -1.0f;
    buggy_max_speed = 0.01f;
    wheel_angle = 0.0f;
    fire_timer.Clear();
    laser_period = 0.1f;
    for (Laser_Beam& beam : lasers)
        beam = Laser_Beam();
    for (Plasma_Ball& ball : plasma_balls)
        ball = Plasma_Ball();
    fuel = 1.0f;
    cargo_item = nullptr;
    carried_item = nullptr;
    Respawn_Pilot();

    new_entry_row = -1;
    name_cursor = 0;
    Play_Music(MUSIC_PLAY);
}
