// Input_Frame: one poll of a window's devices as the input layer sampled it (keyboard, mouse, joypads, caps
// lock and touch points), and the two ends it can go to or come from instead of the devices: Input_Tap
// sees every poll (a recorder), Input_Source supplies every poll (a recording played back, a random
// driver).
#pragma once
#include "platform/input_devices.h"

#include <cstdint>

// How a device's read went in one poll.
enum Input_Reading : uint8_t
{
    INPUT_NO_DEVICE = 0, // nothing to read: the device does not exist (a joypad: it is pulled out)
    INPUT_READ = 1,      // read; the state below holds what it gave
    INPUT_LOST = 2,      // the read failed: the keyboard or mouse lost the focus and lets go of its keys or
                         // buttons; a joypad is gone, pulled out
};

// What happened to a place in the joypad list in a poll, before the pads were read (both: pulled out,
// then another one plugged into its place).
enum Pad_Event : uint8_t
{
    PAD_PULLED_OUT = 1,
    PAD_PLUGGED_IN = 2, // pad_info says which; a place past the end of the list is a new pad at the end
};

constexpr int INPUT_MAX_PADS = 16;
constexpr int INPUT_MAX_TYPED = 32;
constexpr int INPUT_MAX_TOUCH = 10;

struct Input_Pad_Info
{
    char name[256] = {};
    int buttons = 0; // the device's button count, at most 32 of which are read
};

struct Input_Frame
{
    uint8_t keyboard = INPUT_NO_DEVICE;
    uint8_t keys[256] = {}; // by scan code, 0x80 for down
    int typed_count = 0;    // the keys that went down since the poll before, in the order they went down
    uint8_t typed[INPUT_MAX_TYPED] = {};
    uint8_t mouse = INPUT_NO_DEVICE;
    platform::Mouse_Reading mouse_reading;
    float mouse_x = 0.0f, mouse_y = 0.0f; // the window's mouse position, normalised over the client area
    bool caps_lock = false;
    int pad_count = 0;                      // the joypad list's length after this poll's plugging in
    uint8_t pad[INPUT_MAX_PADS] = {};       // Input_Reading of each
    bool pad_attached[INPUT_MAX_PADS] = {}; // plugged in after this poll
    uint8_t pad_event[INPUT_MAX_PADS] = {};
    Input_Pad_Info pad_info[INPUT_MAX_PADS]; // of a pad plugged in
    platform::Joystick_Reading pad_reading[INPUT_MAX_PADS];
    int touch_count = 0;
    float touch_x[INPUT_MAX_TOUCH] = {}, touch_y[INPUT_MAX_TOUCH] = {};
};

// Supplies each poll in place of the devices.
class Input_Source
{
  public:
    virtual ~Input_Source() = default;
    // The joypads the input system makes in place of the attached ones at its start (at most
    // INPUT_MAX_PADS); later ones come with a poll's PAD_PLUGGED_IN.
    virtual int Pad_Count() const = 0;
    virtual const Input_Pad_Info& Pad_Info(int index) const = 0;
    // Fills the next poll; called once a frame.
    virtual void Next_Frame(Input_Frame& frame) = 0;
};

// Sees each poll as it was sampled.
class Input_Tap
{
  public:
    virtual ~Input_Tap() = default;
    // The joypads in the input system's list, once, when it is created (at most INPUT_MAX_PADS); later
    // changes come with the polls.
    virtual void Take_Devices(const Input_Pad_Info* pads, int count) = 0;
    virtual void Take_Frame(const Input_Frame& frame) = 0;
};
