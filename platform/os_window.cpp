// Windows, displays and the event pump on SDL2.
#include "platform/os_window.h"

#include "platform/input_events.h"

#include <SDL.h>
#include <cstdio>

namespace platform
{
const char* Last_Window_Error()
{
    return SDL_GetError();
}

bool Open_Video_System()
{
    // Signals are the program's own business (a quit request), and no key of ours reaches the desktop.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0)
        return false;
    // A driver without a screen is used only when asked for by name (SDL_VIDEODRIVER): a player without a
    // display gets the error, not an invisible window.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    bool screenless = driver && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0);
    if (screenless && !(asked && *asked))
    {
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        SDL_SetError("no display");
        return false;
    }
    return true;
}

void Close_Video_System()
{
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
}

bool Window_Class::Register(const char* name)
{
    if (m_registered)
        return true;
    std::snprintf(m_name, sizeof(m_name), "%s", name ? name : "");
    SDL_SetHint(SDL_HINT_APP_NAME, m_name);
    if (!Open_Video_System())
        return false;
    m_registered = true;
    return true;
}

void Window_Class::Unregister()
{
    if (!m_registered)
        return;
    Close_Video_System();
    m_registered = false;
}

int Display_Count()
{
    int n = SDL_GetNumVideoDisplays();
    return n > 0 ? n : 0;
}

bool Display_Bounds(int display, Rect& out)
{
    SDL_Rect r;
    if (SDL_GetDisplayBounds(display, &r) != 0)
        return false;
    out.left = r.x;
    out.top = r.y;
    out.right = r.x + r.w;
    out.bottom = r.y + r.h;
    return true;
}

namespace
{
// The display mode closest to width x height becomes the full-screen mode of the window.
void Choose_Display_Mode(SDL_Window* window, int display, int width, int height)
{
    SDL_DisplayMode want = {SDL_PIXELFORMAT_RGB888, width, height, 0, nullptr};
    SDL_DisplayMode mode;
    if (SDL_GetClosestDisplayMode(display, &want, &mode))
        SDL_SetWindowDisplayMode(window, &mode);
}

// Alt+Return: the standard desktop shortcut between full screen and a window.
bool Is_Full_Screen_Toggle(const SDL_KeyboardEvent& key)
{
    return key.keysym.scancode == SDL_SCANCODE_RETURN && (key.keysym.mod & KMOD_ALT) != 0 &&
           (key.keysym.mod & (KMOD_CTRL | KMOD_SHIFT | KMOD_GUI)) == 0;
}
} // namespace

bool Os_Window::Create(const char* title, int display, int x, int y, int width, int height, bool full_screen)
{
    Destroy();
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    if (full_screen)
    {
        flags |= SDL_WINDOW_FULLSCREEN;
        x = SDL_WINDOWPOS_UNDEFINED_DISPLAY(display);
        y = SDL_WINDOWPOS_UNDEFINED_DISPLAY(display);
    }
    SDL_Window* window = SDL_CreateWindow(title, x, y, width, height, flags);
    if (!window)
        return false;
    if (full_screen)
        Choose_Display_Mode(window, display, width, height);
    m_window = window;
    m_id = SDL_GetWindowID(window);
    m_full_screen = full_screen;
    m_was_windowed = !full_screen;
    return true;
}

void Os_Window::Show()
{
    if (m_window)
        SDL_ShowWindow(static_cast<SDL_Window*>(m_window));
}

void Os_Window::Focus()
{
    if (m_window)
        SDL_RaiseWindow(static_cast<SDL_Window*>(m_window));
}

void Os_Window::Destroy()
{
    if (!m_window)
        return;
    SDL_Window* window = static_cast<SDL_Window*>(m_window);
    Input_Forget_Window(m_id);
    if (m_full_screen)
        SDL_SetWindowFullscreen(window, 0); // gives the display its desktop mode back
    SDL_DestroyWindow(window);
    m_window = nullptr;
    m_id = 0;
    m_full_screen = false;
}

bool Os_Window::Set_Full_Screen(bool full_screen, int width, int height)
{
    SDL_Window* window = static_cast<SDL_Window*>(m_window);
    if (!window)
        return false;
    if (full_screen == m_full_screen)
        return true;
    int display = SDL_GetWindowDisplayIndex(window);
    display = display < 0 ? 0 : display;
    if (full_screen)
        Choose_Display_Mode(window, display, width, height);
    if (SDL_SetWindowFullscreen(window, full_screen ? SDL_WINDOW_FULLSCREEN : 0) != 0)
        return false;
    if (!full_screen)
    {
        // Not every desktop gives the window its size back (none does without a window manager); a window
        // that opened full screen has no place on the desktop yet and goes to the middle of its display.
        SDL_SetWindowSize(window, width, height);
        if (!m_was_windowed)
            SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED_DISPLAY(display),
                                  SDL_WINDOWPOS_CENTERED_DISPLAY(display));
    }
    m_full_screen = full_screen;
    m_was_windowed = m_was_windowed || !full_screen;
    return true;
}

void Os_Window::Client_Size(int& width, int& height) const
{
    width = height = 0;
    if (m_window)
        SDL_GetWindowSize(static_cast<SDL_Window*>(m_window), &width, &height);
}

void Os_Window::Set_Icon(const Icon_Image& icon)
{
    if (!m_window || !icon.pixels || icon.width <= 0 || icon.height <= 0)
        return;
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(icon.pixels), icon.width, icon.height, 32,
                                           icon.width * 4, SDL_PIXELFORMAT_ABGR8888);
    if (!surface)
        return;
    SDL_SetWindowIcon(static_cast<SDL_Window*>(m_window), surface);
    SDL_FreeSurface(surface);
}

void Show_Cursor(bool show)
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void Pump_Events(Event_Sink& sink)
{
    if (!SDL_WasInit(SDL_INIT_EVENTS))
        return;
    SDL_Event event;
    while (SDL_PollEvent(&event))
    {
        // Alt+Return is the desktop's, not the game's: every Return press while Alt is held (its repeats too)
        // stays away from the keyboard device.
        if (event.type == SDL_KEYDOWN && Is_Full_Screen_Toggle(event.key))
        {
            if (!event.key.repeat)
                sink.On_Toggle_Full_Screen(event.key.windowID);
            continue;
        }
        Input_Event(event);
        switch (event.type)
        {
        case SDL_QUIT:
            sink.On_Quit();
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE)
                sink.On_Close(event.window.windowID);
            break;
        case SDL_MOUSEMOTION:
            sink.On_Mouse_Move(event.motion.windowID, event.motion.x, event.motion.y);
            break;
        default:
            break;
        }
    }
    Input_Deliver_Touch(sink);
}

void Post_Quit()
{
    if (!SDL_WasInit(SDL_INIT_EVENTS))
        return;
    SDL_Event event = {};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
}

void Post_Close(const Os_Window& window)
{
    if (!SDL_WasInit(SDL_INIT_EVENTS) || !window.Is_Open())
        return;
    SDL_Event event = {};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    event.window.windowID = window.Id();
    SDL_PushEvent(&event);
}
} // namespace platform
