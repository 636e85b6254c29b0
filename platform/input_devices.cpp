// Keyboard, mouse and joysticks on SDL2, and the touch points of each window.
//
// Keyboard and mouse state is kept here from the events of the pump rather than read from SDL's own state,
// so that events pushed by the program itself count like the desktop's. Every device remembers how many
// presses of each key it has seen: a key pressed and let go between two reads still reads down once.
#include "platform/input_devices.h"

#include "platform/input_events.h"
#include "platform/scan_codes.h"

#include <cstring>

namespace platform
{
namespace
{
constexpr int MAX_FOCUS_WINDOWS = 16;
constexpr int MAX_TOUCH_WINDOWS = 8;
constexpr int MAX_CONTACTS = 10;

struct Focus_Record
{
    uint32_t window_id;
    uint32_t losses;
};

struct Contact
{
    SDL_TouchID touch;
    SDL_FingerID finger;
    float x, y;
    bool lifted;
};

struct Touch_Window
{
    uint32_t window_id;
    int count;
    Contact contacts[MAX_CONTACTS];
};

struct Desktop_Input
{
    bool sdl_key_down[SDL_NUM_SCANCODES];
    uint8_t keys_down[256]; // physical keys down per scan code (two keys may share one)
    uint32_t key_presses[256];
    uint8_t typed[Keyboard_Device::TYPED_MEMORY]; // scan codes of the latest presses, round and round
    uint32_t typed_count;                         // presses ever; the next goes at typed_count % TYPED_MEMORY
    int64_t mouse_total[3];
    bool mouse_down[8];
    uint32_t mouse_presses[8];
    Focus_Record focus[MAX_FOCUS_WINDOWS];
    Touch_Window touch[MAX_TOUCH_WINDOWS];
};

Desktop_Input g_input = {};

uint32_t* Focus_Losses(uint32_t window_id, bool add)
{
    for (Focus_Record& record : g_input.focus)
        if (record.window_id == window_id)
            return &record.losses;
    if (!add)
        return nullptr;
    for (Focus_Record& record : g_input.focus)
        if (record.window_id == 0 || !SDL_GetWindowFromID(record.window_id))
        {
            record = {window_id, 0};
            return &record.losses;
        }
    return nullptr;
}

uint32_t Losses_Of(uint32_t window_id)
{
    uint32_t* losses = Focus_Losses(window_id, false);
    return losses ? *losses : 0;
}

void Release_All_Keys_And_Buttons()
{
    std::memset(g_input.sdl_key_down, 0, sizeof(g_input.sdl_key_down));
    std::memset(g_input.keys_down, 0, sizeof(g_input.keys_down));
    std::memset(g_input.mouse_down, 0, sizeof(g_input.mouse_down));
}

void On_Key(SDL_Scancode scancode, bool down)
{
    if (scancode < 0 || scancode >= SDL_NUM_SCANCODES || g_input.sdl_key_down[scancode] == down)
        return;
    g_input.sdl_key_down[scancode] = down;
    int code = Scan_Code_From_Sdl(scancode);
    if (code == 0)
        return;
    if (down)
    {
        ++g_input.keys_down[code];
        ++g_input.key_presses[code];
        g_input.typed[g_input.typed_count % Keyboard_Device::TYPED_MEMORY] = static_cast<uint8_t>(code);
        ++g_input.typed_count;
    }
    else if (g_input.keys_down[code] > 0)
    {
        --g_input.keys_down[code];
    }
}

// SDL numbers the buttons left 1, middle 2, right 3, then the side buttons; DirectInput has left, right,
// middle, then the rest.
int Mouse_Button_Index(Uint8 button)
{
    switch (button)
    {
    case SDL_BUTTON_LEFT:
        return 0;
    case SDL_BUTTON_RIGHT:
        return 1;
    case SDL_BUTTON_MIDDLE:
        return 2;
    default:
        return button >= 4 && button <= 8 ? button - 1 : -1;
    }
}

void On_Mouse_Button(Uint8 button, bool down)
{
    int index = Mouse_Button_Index(button);
    if (index < 0 || g_input.mouse_down[index] == down)
        return;
    g_input.mouse_down[index] = down;
    if (down)
        ++g_input.mouse_presses[index];
}

Touch_Window* Touch_Of(uint32_t window_id, bool add)
{
    for (Touch_Window& window : g_input.touch)
        if (window.count > 0 && window.window_id == window_id)
            return &window;
    if (!add)
        return nullptr;
    for (Touch_Window& window : g_input.touch)
        if (window.count == 0)
        {
            window.window_id = window_id;
            return &window;
        }
    return nullptr;
}

void On_Finger(const SDL_TouchFingerEvent& finger)
{
    uint32_t window_id = finger.windowID;
    if (window_id == 0)
    {
        SDL_Window* focus = SDL_GetKeyboardFocus();
        window_id = focus ? SDL_GetWindowID(focus) : 0;
    }
    if (window_id == 0)
        return;
    Touch_Window* window = Touch_Of(window_id, finger.type == SDL_FINGERDOWN);
    if (!window)
        return;
    Contact* contact = nullptr;
    for (int i = 0; i < window->count; ++i)
        if (window->contacts[i].touch == finger.touchId && window->contacts[i].finger == finger.fingerId)
            contact = &window->contacts[i];
    if (!contact)
    {
        // A finger beyond the tenth is ignored for as long as it stays down.
        if (finger.type != SDL_FINGERDOWN || window->count == MAX_CONTACTS)
            return;
        contact = &window->contacts[window->count++];
        contact->touch = finger.touchId;
        contact->finger = finger.fingerId;
    }
    contact->x = finger.x;
    contact->y = finger.y;
    contact->lifted = finger.type == SDL_FINGERUP;
}
} // namespace

void Input_Event(const SDL_Event& event)
{
    switch (event.type)
    {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        On_Key(event.key.keysym.scancode, event.type == SDL_KEYDOWN);
        break;
    case SDL_MOUSEMOTION:
        g_input.mouse_total[0] += event.motion.xrel;
        g_input.mouse_total[1] += event.motion.yrel;
        break;
    case SDL_MOUSEWHEEL:
        g_input.mouse_total[2] += static_cast<int64_t>(event.wheel.y) *
                                  (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -120 : 120);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        On_Mouse_Button(event.button.button, event.type == SDL_MOUSEBUTTONDOWN);
        break;
    case SDL_FINGERDOWN:
    case SDL_FINGERMOTION:
    case SDL_FINGERUP:
        On_Finger(event.tfinger);
        break;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST)
        {
            if (uint32_t* losses = Focus_Losses(event.window.windowID, true))
                ++*losses;
            Release_All_Keys_And_Buttons();
            Input_Forget_Window(event.window.windowID);
        }
        break;
    default:
        break;
    }
}

// A finger that rests keeps its point: the desktop reports only changes, so the contacts held here are handed
// out again at every pump for as long as they are down.
void Input_Deliver_Touch(Event_Sink& sink)
{
    for (Touch_Window& window : g_input.touch)
    {
        if (window.count == 0)
            continue;
        Touch_Point points[MAX_CONTACTS];
        for (int i = 0; i < window.count; ++i)
            points[i] = {window.contacts[i].x, window.contacts[i].y};
        sink.On_Touch(window.window_id, points, window.count);
        int kept = 0;
        for (int i = 0; i < window.count; ++i)
            if (!window.contacts[i].lifted)
                window.contacts[kept++] = window.contacts[i];
        window.count = kept;
    }
}

void Input_Forget_Window(uint32_t window_id)
{
    if (Touch_Window* window = Touch_Of(window_id, false))
        window->count = 0;
}

bool Input_Open()
{
    // Joypads are read whether or not the window has the focus, as a background device is.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    return SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
}

void Input_Close()
{
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

bool Caps_Lock_On()
{
    return (SDL_GetModState() & KMOD_CAPS) != 0;
}

bool Keyboard_Device::Create(uint32_t window_id)
{
    Release();
    if (window_id == 0 || !SDL_WasInit(SDL_INIT_VIDEO) || !SDL_GetWindowFromID(window_id))
        return false;
    m_window_id = window_id;
    m_focus_losses = Losses_Of(window_id);
    std::memcpy(m_presses, g_input.key_presses, sizeof(m_presses));
    m_typed_seen = g_input.typed_count;
    return true;
}

void Keyboard_Device::Release()
{
    m_window_id = 0;
}

bool Keyboard_Device::Acquire()
{
    if (!Is_Created() || !SDL_GetWindowFromID(m_window_id))
        return false;
    m_focus_losses = Losses_Of(m_window_id);
    // Keys typed while the device was lost are not reported afterwards.
    m_typed_seen = g_input.typed_count;
    return true;
}

int Keyboard_Device::Read_Typed(uint8_t* codes, int max)
{
    if (!Is_Created() || !codes || max <= 0)
        return 0;
    uint32_t count = g_input.typed_count - m_typed_seen;
    uint32_t limit = static_cast<uint32_t>(max < TYPED_MEMORY ? max : TYPED_MEMORY);
    uint32_t first = count > limit ? g_input.typed_count - limit : m_typed_seen;
    int n = 0;
    for (uint32_t i = first; i != g_input.typed_count; ++i)
        codes[n++] = g_input.typed[i % TYPED_MEMORY];
    m_typed_seen = g_input.typed_count;
    return n;
}

bool Keyboard_Device::Read(uint8_t state[256])
{
    if (!Is_Created() || m_focus_losses != Losses_Of(m_window_id))
        return false;
    for (int code = 0; code < 256; ++code)
    {
        bool down = g_input.keys_down[code] != 0 || g_input.key_presses[code] != m_presses[code];
        state[code] = down ? 0x80 : 0;
        m_presses[code] = g_input.key_presses[code];
    }
    return true;
}

bool Mouse_Device::Create(uint32_t window_id)
{
    Release();
    if (window_id == 0 || !SDL_WasInit(SDL_INIT_VIDEO) || !SDL_GetWindowFromID(window_id))
        return false;
    m_window_id = window_id;
    m_focus_losses = Losses_Of(window_id);
    std::memcpy(m_seen, g_input.mouse_total, sizeof(m_seen));
    std::memcpy(m_presses, g_input.mouse_presses, sizeof(m_presses));
    return true;
}

void Mouse_Device::Release()
{
    m_window_id = 0;
}

bool Mouse_Device::Acquire()
{
    if (!Is_Created() || !SDL_GetWindowFromID(m_window_id))
        return false;
    m_focus_losses = Losses_Of(m_window_id);
    // Motion while the device was lost is not reported afterwards.
    std::memcpy(m_seen, g_input.mouse_total, sizeof(m_seen));
    return true;
}

bool Mouse_Device::Read(Mouse_Reading& out)
{
    if (!Is_Created() || m_focus_losses != Losses_Of(m_window_id))
        return false;
    int32_t* deltas[3] = {&out.dx, &out.dy, &out.dz};
    for (int axis = 0; axis < 3; ++axis)
    {
        *deltas[axis] = static_cast<int32_t>(g_input.mouse_total[axis] - m_seen[axis]);
        m_seen[axis] = g_input.mouse_total[axis];
    }
    for (int button = 0; button < 8; ++button)
    {
        bool down = g_input.mouse_down[button] || g_input.mouse_presses[button] != m_presses[button];
        out.buttons[button] = down ? 0x80 : 0;
        m_presses[button] = g_input.mouse_presses[button];
    }
    return true;
}

int Joystick_Device::Count()
{
    int count = SDL_WasInit(SDL_INIT_JOYSTICK) ? SDL_NumJoysticks() : 0;
    return count > 0 ? count : 0;
}

const char* Joystick_Device::Name(int index)
{
    const char* name = SDL_JoystickNameForIndex(index);
    return name ? name : "";
}

bool Joystick_Device::Open(int index)
{
    Release();
    m_joystick = SDL_JoystickOpen(index);
    return m_joystick != nullptr;
}

void Joystick_Device::Release()
{
    if (m_joystick)
        SDL_JoystickClose(static_cast<SDL_Joystick*>(m_joystick));
    m_joystick = nullptr;
}

bool Joystick_Device::Capabilities(int& axes, int& buttons, int& hats) const
{
    SDL_Joystick* joystick = static_cast<SDL_Joystick*>(m_joystick);
    if (!joystick)
        return false;
    axes = SDL_JoystickNumAxes(joystick);
    buttons = SDL_JoystickNumButtons(joystick);
    hats = SDL_JoystickNumHats(joystick);
    return axes >= 0 && buttons >= 0 && hats >= 0;
}

bool Joystick_Device::Acquire()
{
    return m_joystick && SDL_JoystickGetAttached(static_cast<SDL_Joystick*>(m_joystick));
}

namespace
{
int32_t Hat_Angle(Uint8 hat)
{
    switch (hat)
    {
    case SDL_HAT_UP:
        return 0;
    case SDL_HAT_RIGHTUP:
        return 4500;
    case SDL_HAT_RIGHT:
        return 9000;
    case SDL_HAT_RIGHTDOWN:
        return 13500;
    case SDL_HAT_DOWN:
        return 18000;
    case SDL_HAT_LEFTDOWN:
        return 22500;
    case SDL_HAT_LEFT:
        return 27000;
    case SDL_HAT_LEFTUP:
        return 31500;
    default:
        return -1;
    }
}
} // namespace

bool Joystick_Device::Read(Joystick_Reading& out)
{
    SDL_Joystick* joystick = static_cast<SDL_Joystick*>(m_joystick);
    if (!joystick || !SDL_JoystickGetAttached(joystick))
        return false;
    SDL_JoystickUpdate();
    out = Joystick_Reading();
    // SDL lists a device's axes in the order of their Linux event codes: X, Y, Z, Rx, Ry, Rz, then the
    // throttle-like axes, which DirectInput reports as sliders.
    int32_t* fields[8] = {&out.x, &out.y, &out.z, &out.rx, &out.ry, &out.rz, &out.slider[0], &out.slider[1]};
    int axes = SDL_JoystickNumAxes(joystick);
    for (int i = 0; i < axes && i < 8; ++i)
        *fields[i] = static_cast<int32_t>(SDL_JoystickGetAxis(joystick, i)) + 32768;
    int hats = SDL_JoystickNumHats(joystick);
    for (int i = 0; i < hats && i < 4; ++i)
        out.pov[i] = Hat_Angle(SDL_JoystickGetHat(joystick, i));
    int buttons = SDL_JoystickNumButtons(joystick);
    for (int i = 0; i < buttons && i < MAX_BUTTONS; ++i)
        out.buttons[i] = SDL_JoystickGetButton(joystick, i) ? 0x80 : 0;
    return true;
}
} // namespace platform
