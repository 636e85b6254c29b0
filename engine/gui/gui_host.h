// What the gadget toolkit and the console need of the window they live in: sprites to draw with, the
// mouse and keyboard, the frame-rate read-outs and the frame limiter. Vorta_Window provides the real
// one (Window_Gui_Host); tests provide their own.
#pragma once
#include <cstdint>

class Controller;

struct Gui_Vec2
{
    float x = 0.0f;
    float y = 0.0f;
};

struct Gui_Colour
{
    float r = 1.0f;
    float g = 1.0f;
    float b = 1.0f;
    float a = 1.0f;
};

struct Gui_Rect
{
    float x = 0.0f;
    float y = 0.0f;
    float w = 0.0f;
    float h = 0.0f;

    // Edges count as inside.
    bool Contains(Gui_Vec2 p) const { return p.x >= x && p.x <= x + w && p.y >= y && p.y <= y + h; }
    bool Contains(const Gui_Rect& r) const
    {
        return r.x >= x && r.y >= y && r.x + r.w <= x + w && r.y + r.h <= y + h;
    }
};

// Sprite flags the toolkit passes on (same bit values as the sprite renderer's).
enum Gui_Sprite_Flags : uint32_t
{
    GUI_CENTRE = 0x1,
    GUI_BASELINE = 0x2,
    GUI_LEFT = 0x4,
    GUI_RIGHT = 0x8,
    GUI_TOP = 0x10,
    GUI_BOTTOM = 0x20,
    GUI_FIXED = 0x80000,
};

// Where the sprite renderer's boxed print puts the pen for a box and alignment flags.
inline Gui_Vec2 Gui_Box_Pen(Gui_Vec2 position, Gui_Vec2 size, uint32_t flags)
{
    Gui_Vec2 pen = position;
    if (flags & GUI_CENTRE)
        pen = {position.x + size.x * 0.5f, position.y + size.y * 0.5f};
    if (flags & GUI_LEFT)
        pen.x = position.x;
    if (flags & GUI_RIGHT)
        pen.x = position.x + size.x;
    if (flags & GUI_TOP)
        pen.y = position.y;
    if (flags & GUI_BOTTOM)
        pen.y = position.y + size.y;
    return pen;
}

// The sprite operations gadgets draw with; coordinates are normalised window space.
class Gui_Sprite
{
  public:
    virtual ~Gui_Sprite() = default;
    virtual void Clear_Frames() = 0;
    virtual int Get_Frame() = 0;
    virtual void Set_Frame(int frame, int cell, Gui_Vec2 position, Gui_Vec2 size, float rotation,
                           const Gui_Colour& colour, uint32_t flags) = 0;
    virtual void Print(Gui_Vec2& pen, float height, Gui_Colour& colour, uint32_t flags, const char* text) = 0;
    virtual float Text_Width(const char* text, float height, bool pixels, bool fixed) = 0;
    virtual void Draw_Box(bool second_set, Gui_Vec2 position, Gui_Vec2 size, Gui_Vec2 border,
                          const Gui_Colour& colour) = 0;
    virtual bool Draw(Gui_Vec2 position, uint32_t flags) = 0;
};

class Gui_Host
{
  public:
    virtual ~Gui_Host() = default;

    // A sprite loaded from its script, owned by the caller; null when the script cannot be loaded.
    virtual Gui_Sprite* Load_Sprite(const char* script) = 0;
    // The viewport's height-to-width ratio.
    virtual float Get_Aspect() const = 0;

    // Mouse in normalised window space; button states as frame counters (held, released-with-count).
    virtual Gui_Vec2 Get_Mouse() const = 0;
    virtual uint32_t Mouse_Held(int button) const = 0;
    virtual uint32_t Mouse_Released(int button) const = 0;
    // Keyboard by scan code.
    virtual uint32_t Key_Held(int code) const = 0;
    // The scan codes of the keys that went down in this frame, in the order they were typed (a key pressed
    // twice is there twice); at most `max`. The count. A host that does not know the order gives the keys
    // whose held count is 1, by scan code.
    virtual int Typed_Keys(int* codes, int max) const
    {
        int n = 0;
        for (int code = 1; code < 256 && n < max; ++code)
            if (Key_Held(code) == 1)
                codes[n++] = code;
        return n;
    }
    virtual bool Shift_Down() const = 0;
    virtual bool Caps_Lock_On() const = 0;
    // The character a key types, 0 when it types none.
    virtual char Char_From_Key(int code, bool shift, bool caps_lock) const = 0;

    // Read-outs.
    virtual uint32_t Get_Fps() const = 0;
    virtual int Get_CPU_Load() const = 0;
    // Position and rotation (radians) of camera 0; false when there is none.
    virtual bool Get_Camera(float position[3], float rotation[3]) const = 0;

    // Frame limiter.
    virtual void Set_Target_Fps(float fps) = 0;
    virtual void Set_Lock(bool lock) = 0;

    // Joypads; null past the end.
    virtual const Controller* Get_Pad(int index) const = 0;
};
