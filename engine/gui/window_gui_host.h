// Window_Gui_Host: the gadget toolkit's view of a Vorta_Window: sprites made on the window, its keyboard
// and mouse, its frame rate, the engine's CPU load, camera 0 and the frame limiter.
#pragma once
#include "engine/gui/gui_host.h"

class Vorta_Window;

class Window_Gui_Host final : public Gui_Host
{
  public:
    // The window is borrowed and must outlive the host.
    explicit Window_Gui_Host(Vorta_Window* window) : m_window(window) {}

    Gui_Sprite* Load_Sprite(const char* script) override;
    float Get_Aspect() const override;
    Gui_Vec2 Get_Mouse() const override;
    uint32_t Mouse_Held(int button) const override;
    uint32_t Mouse_Released(int button) const override;
    uint32_t Key_Held(int code) const override;
    int Typed_Keys(int* codes, int max) const override;
    bool Shift_Down() const override;
    bool Caps_Lock_On() const override;
    char Char_From_Key(int code, bool shift, bool caps_lock) const override;
    uint32_t Get_Fps() const override;
    int Get_CPU_Load() const override;
    bool Get_Camera(float position[3], float rotation[3]) const override;
    void Set_Target_Fps(float fps) override;
    void Set_Lock(bool lock) override;
    const Controller* Get_Pad(int index) const override;

  private:
    Vorta_Window* m_window;
};
