// Window_Gui_Host: sprites through Sprite, input through Input_System, read-outs from the window.
#include "engine/gui/window_gui_host.h"

#include "engine/core/vorta_callbacks.h"
#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_viewport.h"
#include "engine/core/vorta_window.h"
#include "engine/input/input_system.h"
#include "engine/input/key_names.h"
#include "engine/render/sprite.h"

#include <new>

namespace
{
// A Sprite seen through the toolkit's drawing seam.
class Window_Sprite final : public Gui_Sprite
{
  public:
    explicit Window_Sprite(Vorta_Window* window) : m_sprite(window) {}
    bool Initialize(const char* script) { return m_sprite.Initialize(script); }

    void Clear_Frames() override { m_sprite.Clear_Frames(); }
    int Get_Frame() override { return m_sprite.Get_Frame(); }
    void Set_Frame(int frame, int cell, Gui_Vec2 position, Gui_Vec2 size, float rotation,
                   const Gui_Colour& colour, uint32_t flags) override
    {
        m_sprite.Set_Frame(frame, cell, {position.x, position.y}, {size.x, size.y}, rotation,
                           To_Colour(colour), flags);
    }
    void Print(Gui_Vec2& pen, float height, Gui_Colour& colour, uint32_t flags, const char* text) override
    {
        Vector2 sprite_pen{pen.x, pen.y};
        Colour sprite_colour = To_Colour(colour);
        m_sprite.Print(sprite_pen, height, sprite_colour, flags, text);
        pen = {sprite_pen.x, sprite_pen.y};
        colour = {sprite_colour.r, sprite_colour.g, sprite_colour.b, sprite_colour.a};
    }
    float Text_Width(const char* text, float height, bool pixels, bool fixed) override
    {
        return m_sprite.Text_Width(text, height, pixels, fixed);
    }
    void Draw_Box(bool second_set, Gui_Vec2 position, Gui_Vec2 size, Gui_Vec2 border,
                  const Gui_Colour& colour) override
    {
        m_sprite.Draw_Box(second_set, {position.x, position.y}, {size.x, size.y}, {border.x, border.y},
                          To_Colour(colour));
    }
    // The batch stays: gadgets rebuild it only when they change.
    bool Draw(Gui_Vec2 position, uint32_t flags) override
    {
        return m_sprite.Draw({position.x, position.y}, {1.0f, 1.0f}, 0.0f, 0, flags, COLOUR_WHITE, 1.0f,
                             {0.0f, 0.0f});
    }

  private:
    static Colour To_Colour(const Gui_Colour& c) { return {c.r, c.g, c.b, c.a}; }

    Sprite m_sprite;
};
} // namespace

Gui_Sprite* Window_Gui_Host::Load_Sprite(const char* script)
{
    Window_Sprite* sprite = new (std::nothrow) Window_Sprite(m_window);
    if (sprite && !sprite->Initialize(script))
    {
        delete sprite;
        sprite = nullptr;
    }
    return sprite;
}

float Window_Gui_Host::Get_Aspect() const
{
    if (Vorta_Viewport* viewport = m_window->Get_Viewport(-1))
        return viewport->Get_Aspect();
    int width = 0, height = 0;
    m_window->Get_Render_Size(width, height);
    return width > 0 && height > 0 ? static_cast<float>(height) / static_cast<float>(width) : 1.0f;
}

Gui_Vec2 Window_Gui_Host::Get_Mouse() const
{
    Input_System* input = m_window->Get_Input(); // refreshes the normalised position
    if (!input || !input->Get_Mouse())
        return {-1.0f, -1.0f};
    const float* position = input->Get_Mouse()->Get_Position();
    return {position[0], position[1]};
}

uint32_t Window_Gui_Host::Mouse_Held(int button) const
{
    Input_System* input = m_window->Get_Input();
    return input && input->Get_Mouse() ? input->Get_Mouse()->Get_Button(button).held : 0;
}

uint32_t Window_Gui_Host::Mouse_Released(int button) const
{
    Input_System* input = m_window->Get_Input();
    return input && input->Get_Mouse() ? input->Get_Mouse()->Get_Button(button).released : 0;
}

uint32_t Window_Gui_Host::Key_Held(int code) const
{
    Input_System* input = m_window->Get_Input();
    return input && input->Get_Keyboard() ? input->Get_Keyboard()->Key_Held(code) : 0;
}

int Window_Gui_Host::Typed_Keys(int* codes, int max) const
{
    Input_System* input = m_window->Get_Input();
    Keyboard* keyboard = input ? input->Get_Keyboard() : nullptr;
    if (!keyboard)
        return 0;
    int n = 0;
    for (int i = 0; i < keyboard->Typed_Count() && n < max; ++i)
        codes[n++] = keyboard->Typed_Key(i);
    return n;
}

bool Window_Gui_Host::Shift_Down() const
{
    Input_System* input = m_window->Get_Input();
    return input && input->Shift_Down(input->Get_Keyboard());
}

bool Window_Gui_Host::Caps_Lock_On() const
{
    Input_System* input = m_window->Get_Input();
    return input && input->Caps_Lock_On();
}

char Window_Gui_Host::Char_From_Key(int code, bool shift, bool caps_lock) const
{
    return ::Char_From_Key(code, shift, caps_lock);
}

uint32_t Window_Gui_Host::Get_Fps() const
{
    return m_window->Get_Fps();
}

int Window_Gui_Host::Get_CPU_Load() const
{
    return m_window->Get_Engine() ? m_window->Get_Engine()->Get_CPU_Load() : 0;
}

bool Window_Gui_Host::Get_Camera(float position[3], float rotation[3]) const
{
    Vorta_Viewport* viewport = m_window->Find_Viewport(0);
    Vorta_Camera* camera = viewport ? viewport->Get_Camera() : nullptr;
    if (!camera)
        return false;
    camera->Get_Position(position);
    camera->Get_Rotation(rotation);
    return true;
}

void Window_Gui_Host::Set_Target_Fps(float fps)
{
    m_window->Set_Target_Fps(fps);
}

void Window_Gui_Host::Set_Lock(bool lock)
{
    m_window->Set_Lock(lock);
}

const Controller* Window_Gui_Host::Get_Pad(int index) const
{
    Input_System* input = m_window->Get_Input();
    return input ? input->Get_Controller(index) : nullptr;
}
