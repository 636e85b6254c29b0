// Inside the recordings: a joypad reading's axes and hats by their names in a frame line.
#pragma once
#include "platform/input_devices.h"

constexpr int PAD_FIELD_COUNT = 12;
constexpr const char* k_pad_field_names[PAD_FIELD_COUNT] = {"x",  "y",  "z",    "rx",   "ry",   "rz",
                                                            "s0", "s1", "pov0", "pov1", "pov2", "pov3"};

inline int32_t* Pad_Field(platform::Joystick_Reading& reading, int field)
{
    int32_t* const fields[PAD_FIELD_COUNT] = {&reading.x,         &reading.y,         &reading.z,
                                              &reading.rx,        &reading.ry,        &reading.rz,
                                              &reading.slider[0], &reading.slider[1], &reading.pov[0],
                                              &reading.pov[1],    &reading.pov[2],    &reading.pov[3]};
    return field >= 0 && field < PAD_FIELD_COUNT ? fields[field] : nullptr;
}

inline const int32_t* Pad_Field(const platform::Joystick_Reading& reading, int field)
{
    return Pad_Field(const_cast<platform::Joystick_Reading&>(reading), field);
}
