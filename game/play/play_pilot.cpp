// The pilot on the play field by state (standing, walking, flying with the jet flame, tumbling), the centre
// messages, and the teleport effect; with the two pieces of play that belong to the drawn frame: the pilot's
// ground contact and the jump to the other teleporter at mid-teleport.
#include "engine/audio/sound.h"
#include "engine/render/sprite.h"
#include "game/app/app.h"
#include "game/play/random.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float PILOT_WIDTH = 0.055f;
constexpr float TELEPORT_PITCH_RANGE = 100000.0f; // Hz added to the sample rate at the top of the bend
constexpr int TELEPORT_LINES = 16;
constexpr float TELEPORT_LINE_STEP = 0.3926991f; // pi / 8
constexpr float TELEPORT_SCROLL = 0.3f;

void Put_Centred(const App& app, int id, int cell, float x, float y, float width)
{
    app.Put(id, cell, {x, y}, {width, -1.0f}, 0.0f, COLOUR_WHITE, SPR_CENTRE);
}
} // namespace

void App::Apply_Ground_Contact()
{
    if (player->pilot_y >= ground_y)
    {
        player->pilot_y = ground_y;
        pilot_vy = std::max(pilot_vy, 0.0f);
    }
}

void App::Teleport_Jump()
{
    const Game_Object* target = teleport_target == 0 ? player->teleporter1 : player->teleporter2;
    if (target)
    {
        player->pilot_x = target->x;
        scroll += teleport_target == 0 ? TELEPORT_SCROLL : -TELEPORT_SCROLL;
    }
    for (Laser_Beam& beam : lasers)
        beam.active = 0;
    teleport_phase = 0.0f; // made
}

void App::Write_Pilot()
{
    const float pilot_y = player->pilot_y;
    switch (game_state)
    {
    case STATE_FALLING:
    {
        float spin = static_cast<float>(draw_watch.Elapsed_Ms()) * 0.01f;
        if (facing > 0.0f)
            spin = -spin;
        Put(SPRITE_KVR_DEATH, 0, {0.5f, pilot_y}, {PILOT_WIDTH * 1.25f, -1.0f}, spin, COLOUR_WHITE,
            SPR_CENTRE);
        if (player->lives <= 0)
            Write_Game_Over();
        break;
    }
    case STATE_LIFE_LOST:
        if (player->lives <= 0)
            Write_Game_Over();
        break;
    case STATE_TELEPORTING:
        Put_Centred(*this, SPRITE_TELEPORT_MESSAGE, 0, 0.5f, 0.5f, 0.35f);
        Write_Teleport_Effect();
        break;
    case STATE_PAUSED_MESSAGE:
        Put_Centred(*this, SPRITE_MISSILE_LAUNCH, 0, 0.5f, 0.5f, 0.5015625f);
        if (saved_state != STATE_DRIVING)
            Write_Pilot_On_Foot(false);
        break;
    case STATE_ON_FOOT:
        Write_Pilot_On_Foot(true);
        break;
    default: // driving: the pilot sits in the buggy, drawn by its body cell
        break;
    }
}

void App::Write_Pilot_On_Foot(bool start_message)
{
    Apply_Ground_Contact();
    const float pilot_y = player->pilot_y;
    const int64_t ms = draw_watch.Elapsed_Ms();
    if (pilot_y >= ground_y)
    {
        if (pilot_vx != 0.0f)
        {
            const int half = std::max(1, Cell_Count(SPRITE_KVR_WALK) / 2);
            const int cell = static_cast<int>(ms / 66 % half) + (pilot_vx < 0.0f ? half : 0);
            Put_Centred(*this, SPRITE_KVR_WALK, cell, 0.5f, pilot_y, PILOT_WIDTH);
        }
        else
            Put_Centred(*this, SPRITE_KVR_STAND, facing < 0.0f ? 1 : 0, 0.5f, pilot_y, PILOT_WIDTH);
    }
    else
    {
        // Three cells a side, leaning further the faster the pilot flies.
        const int lean = std::min(2, static_cast<int>(std::fabs(pilot_vx) / (0.015f * 0.5f)));
        Put_Centred(*this, SPRITE_KVR_FLY, (facing < 0.0f ? 3 : 0) + lean, 0.5f, pilot_y, PILOT_WIDTH);
        if (horizontal_push != 0.0f || vertical_push != 0.0f)
        {
            const int flame = game_state == STATE_PAUSED_MESSAGE ? 0 : Random_Int() % 3;
            Put_Centred(*this, SPRITE_KVR_JET, flame, facing < 0.0f ? 0.515f : 0.485f, pilot_y + 0.024f,
                        0.00815972f);
        }
    }
    if (start_message && !state_timer.Expired())
    {
        Put_Centred(*this, SPRITE_GET_READY, 0, 0.5f, 0.5f, 0.3375f);
        Put_Centred(*this, SPRITE_PLAYERS, current_player_index, 0.5f, 0.54f, 0.133f);
    }
}

void App::Write_Game_Over()
{
    Put_Centred(*this, SPRITE_GAME_OVER, 0, 0.5f, 0.5f, 0.27083f);
    Put_Centred(*this, SPRITE_PLAYERS, current_player_index, 0.5f, 0.575f, 0.133f);
}

void App::Write_Teleport_Effect()
{
    const float p = state_timer.Progress();
    const float a = Aspect();
    const float pilot_y = player->pilot_y;
    CSound_2d* sound = Get_Sound(SOUND_TELEPORT);

    // First half: the lines grow out of the pilot and fly apart. Second half (after the jump): they fly
    // back in at the arrival point and shrink away.
    const bool first_half = p < 0.5f;
    float length, spread;
    if (first_half)
    {
        length = 2.0f * p;
        spread = length > 0.5f ? (length - 0.5f) * 2.0f : 0.0f;
    }
    else
    {
        const float d = 2.0f * p - 1.0f;
        if (teleport_phase < 0.0f)
            Teleport_Jump();
        length = 1.0f - d;
        spread = d < 0.5f ? 1.0f - 2.0f * d : 0.0f;
    }
    for (int j = 0; j < TELEPORT_LINES; ++j)
    {
        const float theta = static_cast<float>(j) * TELEPORT_LINE_STEP;
        const Vector2 at = {0.5f - std::sin(theta) * spread, pilot_y - std::cos(theta) / a * spread};
        Put(SPRITE_TELEPORT_LINES, 0, at, {0.025f, length}, theta, Random_Colour(), SPR_BOTTOM);
    }

    if (sound)
    {
        if (first_half && !sound->Is_Voice_Playing(0))
            sound->Play_Looped(1.0f, 0);
        // The pitch bends up and down with the lines' length.
        sound->Set_Voice_Frequency(static_cast<uint32_t>(static_cast<float>(sound->Get_Sample_Rate()) +
                                                         length * TELEPORT_PITCH_RANGE),
                                   0);
    }
    // Negative while the jump is still to come (also on a first frame drawn at the very start).
    teleport_phase = first_half ? -std::max(length, 1e-6f) : 2.0f * p - 1.0f;
}
