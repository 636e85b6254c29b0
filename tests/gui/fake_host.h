// A host for the gadget toolkit in tests: keys, mouse and read-outs set by hand, and sprites that record
// what they are asked to draw.
#pragma once
#include "engine/gui/gui_host.h"
#include "engine/input/controller.h"
#include "engine/input/key_names.h"

#include <cstring>
#include <map>
#include <string>
#include <vector>

struct Printed
{
    std::string text;
    Gui_Vec2 pen;
    float height;
    uint32_t flags;
};

struct Quad
{
    int cell;
    Gui_Vec2 position;
    Gui_Vec2 size;
};

struct Box
{
    bool second_set;
    Gui_Vec2 position;
    Gui_Vec2 size;
    Gui_Vec2 border;
};

class Fake_Sprite : public Gui_Sprite
{
  public:
    explicit Fake_Sprite(std::string script) : script(std::move(script)) {}
    void Clear_Frames() override
    {
        frames = 0;
        quads.clear();
        printed.clear();
        boxes.clear();
    }
    int Get_Frame() override { return frames++; }
    void Set_Frame(int, int cell, Gui_Vec2 position, Gui_Vec2 size, float, const Gui_Colour&,
                   uint32_t) override
    {
        quads.push_back({cell, position, size});
    }
    void Print(Gui_Vec2& pen, float height, Gui_Colour&, uint32_t flags, const char* text) override
    {
        printed.push_back({text, pen, height, flags});
        pen.x += Text_Width(text, height, false, false);
    }
    // Every character is 0.01 wide.
    float Text_Width(const char* text, float, bool, bool) override { return 0.01f * std::strlen(text); }
    void Draw_Box(bool second_set, Gui_Vec2 position, Gui_Vec2 size, Gui_Vec2 border,
                  const Gui_Colour&) override
    {
        boxes.push_back({second_set, position, size, border});
    }
    bool Draw(Gui_Vec2 position, uint32_t) override
    {
        draws.push_back(position);
        return frames > 0;
    }

    std::string script;
    int frames = 0;
    std::vector<Quad> quads;
    std::vector<Printed> printed;
    std::vector<Box> boxes;
    std::vector<Gui_Vec2> draws;
};

class Fake_Pad : public Controller
{
  public:
    void Poll() override {}
    const char* Get_Name() const override { return name.c_str(); }
    int Get_Button_Count() const override { return static_cast<int>(buttons.size()); }
    uint32_t Button_Held(int index) const override
    {
        return index >= 0 && index < Get_Button_Count() && buttons[index] ? 1 : 0;
    }
    int Get_Axis_Count() const override { return static_cast<int>(axes.size()); }
    float Get_Axis(int index) const override
    {
        return index >= 0 && index < Get_Axis_Count() ? axes[index] : 0.0f;
    }

    std::string name = "Pad";
    std::vector<bool> buttons;
    std::vector<float> axes;
};

class Fake_Host : public Gui_Host
{
  public:
    Gui_Sprite* Load_Sprite(const char* script) override
    {
        if (std::string(script).find("missing") != std::string::npos)
            return nullptr;
        ++sprites_loaded;
        made.push_back(new Fake_Sprite(script));
        return made.back();
    }
    float Get_Aspect() const override { return aspect; }
    Gui_Vec2 Get_Mouse() const override { return mouse; }
    uint32_t Mouse_Held(int button) const override { return button == 0 ? mouse_held : 0; }
    uint32_t Mouse_Released(int button) const override { return button == 0 ? mouse_released : 0; }
    uint32_t Key_Held(int code) const override
    {
        auto it = keys.find(code);
        return it == keys.end() ? 0 : it->second;
    }
    int Typed_Keys(int* codes, int max) const override
    {
        int n = 0;
        for (int code : typed)
            if (n < max)
                codes[n++] = code;
        return n;
    }
    bool Shift_Down() const override { return shift; }
    bool Caps_Lock_On() const override { return caps_lock; }
    char Char_From_Key(int code, bool with_shift, bool with_caps) const override
    {
        return ::Char_From_Key(code, with_shift, with_caps);
    }
    uint32_t Get_Fps() const override { return fps; }
    int Get_CPU_Load() const override { return cpu; }
    bool Get_Camera(float position[3], float rotation[3]) const override
    {
        if (!has_camera)
            return false;
        std::memcpy(position, camera_position, sizeof(camera_position));
        std::memcpy(rotation, camera_rotation, sizeof(camera_rotation));
        return true;
    }
    void Set_Target_Fps(float value) override { target_fps = value; }
    void Set_Lock(bool value) override { lock = value; }
    const Controller* Get_Pad(int index) const override
    {
        return index >= 0 && index < static_cast<int>(pads.size()) ? pads[index] : nullptr;
    }

    // One poll: each key in `down` is held one frame longer, every other key is let go. The keys that go
    // down in this poll count as typed in the order they are listed.
    void Hold(std::initializer_list<int> down)
    {
        std::map<int, uint32_t> next;
        typed.clear();
        for (int code : down)
        {
            next[code] = Key_Held(code) + 1;
            if (next[code] == 1)
                typed.push_back(code);
        }
        keys = next;
    }
    // A key that goes down in one frame and comes up in the next.
    void Tap(int code) { Hold({code}); }
    // The left mouse button at a point: pressed (held grows) or let go (released holds the count).
    void Mouse_Down(Gui_Vec2 at)
    {
        mouse = at;
        ++mouse_held;
        mouse_released = 0;
    }
    void Mouse_Up(Gui_Vec2 at)
    {
        mouse = at;
        mouse_released = mouse_held;
        mouse_held = 0;
    }
    void Mouse_Idle()
    {
        mouse_released = 0;
        mouse_held = 0;
    }

    float aspect = 0.5625f;
    Gui_Vec2 mouse{-1.0f, -1.0f};
    uint32_t mouse_held = 0;
    uint32_t mouse_released = 0;
    std::map<int, uint32_t> keys;
    std::vector<int> typed; // keys that went down in this poll, in typing order
    bool shift = false;
    bool caps_lock = false;
    uint32_t fps = 60;
    int cpu = 12;
    bool has_camera = false;
    float camera_position[3] = {};
    float camera_rotation[3] = {};
    float target_fps = 60.0f;
    bool lock = true;
    std::vector<Fake_Pad*> pads; // borrowed
    int sprites_loaded = 0;
    std::vector<Fake_Sprite*> made; // every sprite handed out, owned by whoever asked for it
};

inline Fake_Sprite* Fake(Gui_Sprite* sprite)
{
    return static_cast<Fake_Sprite*>(sprite);
}
