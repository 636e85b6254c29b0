// Vorta_Window: one desktop window of the engine with its viewports, frame limiter and per-frame work.
#pragma once
#include "engine/core/vorta_timer.h"
#include "engine/input/touch_state.h"
#include "platform/os_window.h"

#include <cstdint>

class Vorta_Engine;
class Vorta_Viewport;
class Vorta_Callbacks;
class Vorta_Camera;
class D3D_Device;
class D3D_SwapChain;
class GFX_Buffer;
class Sprite;
class Input_System;
class Sound_System;
class Gui_Host;
class Intuition;
class Console;

class Vorta_Window
{
  public:
    static constexpr int MAX_VIEWPORTS = 4;

    // Made by Vorta_Engine::Create_Window, which puts it in window slot `slot`.
    Vorta_Window(Vorta_Engine* engine, int slot);
    Vorta_Window(const Vorta_Window&) = delete;
    Vorta_Window& operator=(const Vorta_Window&) = delete;
    ~Vorta_Window();

    // The opening steps of Create_Window. False after logging the step that failed.
    bool Open(int adapter, int display, int width, int height, bool full_screen, int fps, bool vsync,
              const char* title);
    // Closes the window and releases what it created, in reverse order.
    void Destroy();

    // Index -1 gives the current viewport; 0 to 3 creates it on first use and makes it current; anything
    // above 3 ends the program with the error box.
    Vorta_Viewport* Get_Viewport(int index);
    Vorta_Camera* Get_Camera(int index);
    // The viewport in slot index when it exists, else null; creates nothing and changes nothing.
    Vorta_Viewport* Find_Viewport(int index) const
    {
        return index >= 0 && index < MAX_VIEWPORTS ? m_viewports[index] : nullptr;
    }

    void Set_Callbacks(Vorta_Callbacks* callbacks) { m_callbacks = callbacks; }
    Vorta_Callbacks* Get_Callbacks() const { return m_callbacks; }

    // The number of 1/60-second ticks that the last frame stands for.
    float Get_Frame_Factor() const { return m_target_frame_time * 59.999996f * m_time_scale; }
    // Target frame time = 1 / fps; an fps of 0 or less leaves the frames unlimited.
    void Set_Target_Fps(float fps);
    void Set_Lock(bool lock) { m_lock = lock; }
    void Set_Icon(const platform::Icon_Image& icon);

    // Saves the back buffer as "<name> <slot>-<n>.jpg" with n = 000, 001, ... the first that does not exist
    // (in the data pack or on disk). False when nothing could be saved.
    bool Screen_Grab(const char* name);
    // Refreshes the mouse's normalised position from the engine's mouse position and returns the input
    // object (null before the window is open).
    Input_System* Get_Input();
    // The fingers on the window as the last pump saw them.
    Touch_State* Get_Touch() { return &m_touch; }

    // One frame of this window.
    void Frame();
    // The frame limiter: frames per second, busy-wait to the target period, time scale.
    void Limit_Frame();

    bool Is_Open() const { return m_os_window.Is_Open(); }
    int Get_Slot() const { return m_slot; }
    bool Is_Full_Screen() const { return m_full_screen; }
    // Switches the open window to full screen at its size, or back to a window; the render size stays.
    // False when the desktop refused (nothing changes).
    bool Set_Full_Screen(bool full_screen);
    float Get_Time_Scale() const { return m_time_scale; }
    uint32_t Get_Fps() const { return m_frames_per_second; }
    float Get_Target_Frame_Time() const { return m_target_frame_time; }
    bool Get_Lock() const { return m_lock; }
    // The size the window renders at, in pixels: the swap chain's once there is one.
    void Get_Render_Size(int& width, int& height) const;
    const platform::Os_Window& Get_Os_Window() const { return m_os_window; }
    Sound_System* Get_Sound_System() const { return m_sound_system; }
    // The gadget manager and its console; null before the opening made them.
    Intuition* Get_Intuition() const { return m_intuition; }
    Console* Get_Console() const { return m_console; }
    Vorta_Engine* Get_Engine() const { return m_engine; }
    // The device of the window's adapter; null before Create_Device.
    D3D_Device* Get_Device() const;
    D3D_SwapChain* Get_Swap_Chain() const { return m_swap_chain; }
    GFX_Buffer* Get_Offscreen_Buffer() const { return m_offscreen_buffer; }
    Sprite* Get_Composition_Sprite() const { return m_composition; }
    GFX_Buffer* Get_Glow_Buffer(int index) const
    {
        return index == 0 || index == 1 ? m_glow_buffers[index] : nullptr;
    }

  private:
    // With the fixed-step clock: holds the frame to its period on the real clock.
    void Pace_Real_Time();
    // Draws the off-screen buffer onto the back buffer over a normalised rectangle, with the given draw
    // flags.
    void Compose(float x, float y, float width, float height, uint32_t flags);

    Vorta_Engine* m_engine;
    int m_slot;
    int m_adapter = 0;
    bool m_full_screen = false;
    int m_width = 0;
    int m_height = 0;
    platform::Os_Window m_os_window;
    D3D_SwapChain* m_swap_chain = nullptr;
    GFX_Buffer* m_offscreen_buffer = nullptr;
    GFX_Buffer* m_glow_buffers[2] = {};
    Sprite* m_composition = nullptr; // draws the buffers onto the back buffer
    Sound_System* m_sound_system = nullptr;
    Gui_Host* m_gui_host = nullptr;   // owned; what the gadget manager sees of this window
    Intuition* m_intuition = nullptr; // owned
    Console* m_console = nullptr;     // owned by the gadget manager

    Vorta_Timer m_second_timer;
    uint32_t m_frames_per_second = 0;
    uint32_t m_frame_count = 0;
    bool m_lock = true;
    float m_target_frame_time = 1.0f / 60.0f;
    Vorta_Timer m_frame_timer;
    float m_time_scale = 1.0f;
    int64_t m_paced_frame_start = 0; // real-clock ticks; 0 before the first paced frame

    Input_System* m_input = nullptr; // owned
    Touch_State m_touch;

    Vorta_Viewport* m_current_viewport = nullptr;
    Vorta_Viewport* m_viewports[MAX_VIEWPORTS] = {};
    Vorta_Camera* m_current_camera = nullptr;
    Vorta_Callbacks* m_callbacks = nullptr; // borrowed
};
