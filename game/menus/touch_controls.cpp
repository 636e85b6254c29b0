// Sampling the controls once a frame (keyboard, then the selected pad, then the touch areas) and drawing
// the touch overlay.
#include "engine/core/vorta_window.h"
#include "engine/input/controller.h"
#include "engine/input/input_system.h"
#include "engine/input/touch_state.h"
#include "engine/render/sprite.h"
#include "game/app/app.h"
#include "game/menus/controls.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace
{
// The value of a pad axis binding: axis |binding|, negated when the binding is negative; `none` when the
// binding names no axis of the pad.
float Pad_Axis(const Controller& pad, int32_t binding, float none)
{
    const int64_t index = std::llabs(static_cast<int64_t>(binding));
    if (index >= pad.Get_Axis_Count())
        return none;
    const float value = pad.Get_Axis(static_cast<int>(index));
    return binding < 0 ? -value : value;
}

float Distance(float dx, float dy, float aspect)
{
    return std::sqrt((dx / aspect) * (dx / aspect) + dy * dy);
}
} // namespace

void Sample_Controls(Controls& controls, const Keyboard* keyboard, const Touch_State* touch, float aspect)
{
    const int32_t fire_before = controls.fire_frames;
    const int32_t use_before = controls.use_frames;
    const int32_t* binding = controls.bindings;
    controls.x = 0.0f;
    controls.y = 0.0f;

    if (keyboard)
    {
        if (keyboard->Key_Held(binding[BIND_RIGHT]))
            controls.x = 1.0f;
        if (keyboard->Key_Held(binding[BIND_LEFT]))
            controls.x = -1.0f;
        if (keyboard->Key_Held(binding[BIND_UP]))
            controls.y = 1.0f;
        if (keyboard->Key_Held(binding[BIND_DOWN]))
            controls.y = -1.0f;
        if (keyboard->Key_Held(binding[BIND_USE]))
            ++controls.use_frames;
        if (keyboard->Key_Held(binding[BIND_FIRE]))
            ++controls.fire_frames;
    }

    // A pad that was unplugged keeps its last state; it reads as let go.
    const Controller* pad = controls.pad;
    if (pad && pad->Is_Attached())
    {
        if (controls.x == 0.0f)
            controls.x = Pad_Axis(*pad, binding[BIND_PAD_X], 0.0f);
        if (controls.y == 0.0f)
            controls.y = Pad_Axis(*pad, binding[BIND_PAD_Y], 0.0f);
        if (pad->Button_Held(binding[BIND_PAD_USE]))
            ++controls.use_frames;
        if (pad->Button_Held(binding[BIND_PAD_FIRE]))
            ++controls.fire_frames;
    }

    if (controls.touch_sprite && touch)
    {
        const float r = aspect > 0.0f ? aspect : 1.0f;
        for (int i = 0; i < touch->Get_Count(); ++i)
        {
            const float tx = touch->Get_X(i);
            const float ty = touch->Get_Y(i);
            const float dx = tx - controls.stick_x;
            const float dy = ty - controls.stick_y;
            const float d = Distance(dx, dy, r);
            if (d > controls.dead_zone && d < 8.0f * controls.stick_radius)
            {
                controls.x = std::clamp(dx / controls.stick_radius, -1.0f, 1.0f);
                controls.y = std::clamp((controls.stick_y - ty) / controls.stick_radius, -1.0f, 1.0f);
            }
            if (Distance(tx - controls.fire_x, ty - controls.fire_y, r) < controls.button_radius)
                ++controls.fire_frames;
            if (Distance(tx - controls.use_x, ty - controls.use_y, r) < controls.button_radius)
                ++controls.use_frames;
        }
    }

    if (controls.use_frames == use_before)
        controls.use_frames = 0;
    if (controls.fire_frames == fire_before)
        controls.fire_frames = 0;
}

void App::Sample_Controls()
{
    ::Sample_Controls(controls, Get_Keyboard(), window ? window->Get_Touch() : nullptr, Aspect());
}

void App::Draw_Touch_Controls()
{
    Sprite* sprite = controls.touch_sprite;
    if (!sprite || !controls.touch_visible)
        return;
    const Colour colour = {1.0f, 1.0f, 1.0f, 0.5f};
    const float r = Aspect();
    const Controls& c = controls;
    sprite->Clear_Frames();
    Put(sprite, 1, {c.stick_x, c.stick_y}, {1.85f * c.stick_radius, -1.0f}, 0.0f, colour, SPR_CENTRE);
    float vx = c.x, vy = c.y;
    const float length = std::sqrt(vx * vx + vy * vy);
    if (length > 1.0f)
    {
        vx /= length;
        vy /= length;
    }
    Put(sprite, 0, {c.stick_x + vx * 0.5f * c.stick_radius, c.stick_y - vy * 0.5f * c.stick_radius / r},
        {0.75f * c.button_radius, -1.0f}, 0.0f, colour, SPR_CENTRE);
    Put(sprite, c.fire_frames > 0 ? 3 : 2, {c.fire_x, c.fire_y}, {c.button_radius, -1.0f}, 0.0f, colour,
        SPR_CENTRE);
    Put(sprite, c.use_frames > 0 ? 3 : 2, {c.use_x, c.use_y}, {c.button_radius, -1.0f}, 0.0f, colour,
        SPR_CENTRE);
    sprite->Draw({0.0f, 0.0f}, {1.0f, 1.0f}, 0.0f, 0, SPR_ALPHA | SPR_LINEAR | SPR_CLAMP, COLOUR_WHITE, 1.0f,
                 {0.0f, 0.0f});
}
