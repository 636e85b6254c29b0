// Windows of the desktop: the video system (the "window class"), displays, one owning window type and the
// event pump that turns the desktop's events into calls on an Event_Sink.
#pragma once
#include <cstdint>

namespace platform
{
struct Rect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Text of the last error of the windowing library.
const char* Last_Window_Error();

// Owns the video subsystem for as long as a window class is registered.
class Window_Class
{
  public:
    Window_Class() = default;
    Window_Class(const Window_Class&) = delete;
    Window_Class& operator=(const Window_Class&) = delete;
    ~Window_Class() { Unregister(); }

    // False when there is no display to open windows on.
    bool Register(const char* name);
    void Unregister();
    bool Registered() const { return m_registered; }
    const char* Name() const { return m_name; }

  private:
    bool m_registered = false;
    char m_name[64] = {};
};

// The video system for the rest of this layer, counted: each successful open needs one close. A driver
// without a screen (offscreen, dummy) is used only when SDL_VIDEODRIVER asks for it by name.
bool Open_Video_System();
void Close_Video_System();

// Holds the video system open for as long as it lives, so that the calls made meanwhile share one
// connection to the display.
class Video_System_Use
{
  public:
    Video_System_Use() : m_open(Open_Video_System()) {}
    Video_System_Use(const Video_System_Use&) = delete;
    Video_System_Use& operator=(const Video_System_Use&) = delete;
    ~Video_System_Use()
    {
        if (m_open)
            Close_Video_System();
    }
    bool Open() const { return m_open; }

  private:
    bool m_open;
};

// Number of displays, and a display's desktop rectangle. Both need a registered window class.
int Display_Count();
bool Display_Bounds(int display, Rect& out);

// A 32-bit RGBA picture for a window icon, rows top to bottom.
struct Icon_Image
{
    int width = 0;
    int height = 0;
    const uint32_t* pixels = nullptr; // 0xAABBGGRR in memory order R, G, B, A
};

class Os_Window
{
  public:
    Os_Window() = default;
    Os_Window(const Os_Window&) = delete;
    Os_Window& operator=(const Os_Window&) = delete;
    ~Os_Window() { Destroy(); }

    // Windowed: a window whose client area is width x height at (x, y) of the desktop. Full screen: the
    // display's mode is switched to width x height and the window covers the display.
    bool Create(const char* title, int display, int x, int y, int width, int height, bool full_screen);
    void Show();
    void Focus();
    // Restores the display mode of a full-screen window and closes it.
    void Destroy();
    // Switches a shown window to full screen (the display's mode switched to width x height, or the closest
    // it has) or back to a window at its size and place. False when the desktop refused.
    bool Set_Full_Screen(bool full_screen, int width, int height);

    bool Is_Open() const { return m_window != nullptr; }
    uint32_t Id() const { return m_id; }
    bool Full_Screen() const { return m_full_screen; }
    void Client_Size(int& width, int& height) const;
    void Set_Icon(const Icon_Image& icon);
    // The windowing library's own handle, for the other parts of this layer.
    void* Handle() const { return m_window; }

  private:
    void* m_window = nullptr;
    uint32_t m_id = 0;
    bool m_full_screen = false;
    bool m_was_windowed = false; // the window has had a place on the desktop
};

void Show_Cursor(bool show);

// A finger on a window, normalised over its client area (0 to 1, y downwards).
struct Touch_Point
{
    float x = 0.0f;
    float y = 0.0f;
};

// Receives what the pump takes from the desktop's queue.
class Event_Sink
{
  public:
    virtual ~Event_Sink() = default;
    virtual void On_Quit() = 0;
    virtual void On_Close(uint32_t window_id) = 0;
    virtual void On_Mouse_Move(uint32_t window_id, int x, int y) = 0;
    // Once a pump for each window with fingers on it: every finger that is down, or came up in this pump
    // (at most 10; further fingers are ignored while they stay down).
    virtual void On_Touch(uint32_t /*window_id*/, const Touch_Point* /*points*/, int /*count*/) {}
    // Alt+Return went down in the window: the player asks for full screen or a window. The Return press
    // itself does not reach the keyboard device.
    virtual void On_Toggle_Full_Screen(uint32_t /*window_id*/) {}
};

// Takes every waiting event off the queue and hands it to the sink. Keyboard, mouse, focus and finger
// events also feed the input devices (platform/input_devices.h).
void Pump_Events(Event_Sink& sink);
// Puts a quit request on the queue.
void Post_Quit();
// Puts a close request for the window on the queue, as the window's close button does.
void Post_Close(const Os_Window& window);
} // namespace platform
