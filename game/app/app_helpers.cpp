// Helpers the game's files share: sprite cells and batches, sounds, the frame factor and the keyboard.
#include "engine/audio/sound.h"
#include "engine/core/vorta_viewport.h"
#include "engine/core/vorta_window.h"
#include "engine/input/input_system.h"
#include "engine/render/sprite.h"
#include "game/app/app.h"

namespace
{
// Rules of play measure sprite cells against this render size, whatever the window's.
constexpr float k_reference_width = 1920.0f;
constexpr float k_reference_height = 1080.0f;
} // namespace

int App::Cell_Count(int id) const
{
    const Sprite* sprite = Get_Sprite(id);
    const int count = sprite ? sprite->Get_Cell_Count() : 0;
    return count > 0 ? count : 1;
}

Vector2 App::Rule_Cell_Size(int id, int cell) const
{
    const Sprite* sprite = Get_Sprite(id);
    const Sprite_Cell* c = sprite ? sprite->Get_Cell(cell) : nullptr;
    if (!c || !sprite->Get_Texture(0))
        return {0.0f, 0.0f};
    return {c->pixel_width / k_reference_width, c->pixel_height / k_reference_height};
}

void App::Put(Sprite* sprite, int cell, Vector2 position, Vector2 size, float rotation, const Colour& colour,
              uint32_t flags) const
{
    if (!sprite)
        return;
    const int frame = sprite->Get_Frame();
    if (frame >= 0)
        sprite->Set_Frame(frame, cell, position, size, rotation, colour, flags);
}

void App::Put(int id, int cell, Vector2 position, Vector2 size, float rotation, const Colour& colour,
              uint32_t flags) const
{
    Put(Get_Sprite(id), cell, position, size, rotation, colour, flags);
}

void App::Draw_Batch(Sprite* sprite, uint32_t flags) const
{
    if (sprite)
        sprite->Draw({0.0f, 0.0f}, {1.0f, 1.0f}, 0.0f, 0, flags, COLOUR_WHITE, 1.0f, {0.0f, 0.0f});
}

void App::Draw_Batch(int id, uint32_t flags) const
{
    Draw_Batch(Get_Sprite(id), flags);
}

int App::Play_Sound(int id, float volume, int voice) const
{
    CSound_2d* sound = Get_Sound(id);
    return sound ? sound->Play(volume, voice) : -1;
}

float App::Frame_Factor() const
{
    return window ? window->Get_Frame_Factor() : 1.0f;
}

float App::Aspect() const
{
    return viewport ? viewport->Get_Aspect() : 9.0f / 16.0f;
}

const Keyboard* App::Get_Keyboard() const
{
    Input_System* input = window ? window->Get_Input() : nullptr;
    return input ? input->Get_Keyboard() : nullptr;
}
