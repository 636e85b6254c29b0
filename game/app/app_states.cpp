// The game-state machine: what Update and Render do in each state, and the attract loop's timers.
#include "engine/core/vorta_window.h"
#include "engine/input/input_system.h"
#include "engine/render/sprite.h"
#include "game/app/app.h"

void App::Update(Vorta_Window* /*window*/)
{
    Follow_Pads();
    Sample_Controls();

    switch (game_state)
    {
    case STATE_MENU:
        Menu_Update();
        break;
    case STATE_HISCORES:
        if (state_timer.Expired())
        {
            game_state = STATE_CREDITS;
            state_timer.Start(10.0f);
        }
        if (controls.Fire_Pressed())
        {
            game_state = STATE_MENU;
            state_timer.Start(10.0f);
        }
        break;
    case STATE_HISCORE_ENTRY:
        Name_Entry_Update();
        break;
    case STATE_CREDITS:
        if (state_timer.Expired() || controls.Fire_Pressed())
        {
            game_state = STATE_MENU;
            state_timer.Start(10.0f);
        }
        break;
    case STATE_COMPLETED:
        if (state_timer.Expired())
        {
            game_state = STATE_LIFE_LOST;
            player->lives = 0;
            player->score += 25000; // the completion bonus earns no extra life
        }
        break;
    default:
        Update_Play();
        break;
    }

    const Keyboard* keyboard = Get_Keyboard();
    if (keyboard && window && keyboard->Key_Pressed(Keyboard::SYSRQ))
        window->Screen_Grab("screen_grab");
}

void App::Render(Vorta_Window* /*window*/)
{
    for (Sprite* sprite : sprites)
        if (sprite)
            sprite->Clear_Frames();
    if (font)
        font->Clear_Frames();

    switch (game_state)
    {
    case STATE_MENU:
        Menu_Render();
        break;
    case STATE_HISCORES:
        Render_Hiscores(false);
        break;
    case STATE_HISCORE_ENTRY:
        Render_Hiscores(true);
        break;
    case STATE_CREDITS:
        Render_Credits();
        break;
    case STATE_COMPLETED:
        Render_Play();
        Render_Completed();
        break;
    default:
        Render_Play();
        break;
    }

    Draw_Touch_Controls();
}

void App::Play_Music(const char* file_name)
{
    if (!music)
        return;
    music->Stop_All();
    music->Play(file_name, 1.0f);
}
