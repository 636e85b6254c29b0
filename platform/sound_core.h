// Inside the sound layer only: the opened output device and its mixer, shared by every sound object.
#pragma once
#include "platform/sound_device.h"

#include <AL/al.h>
#include <AL/alc.h>

namespace platform
{
struct Sound_Core
{
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    ~Sound_Core();
};

// The OpenAL format of a checked PCM wave format.
ALenum Al_Format(const Wave_Format& format);
// Hundredths of a decibel as an OpenAL gain.
float Al_Gain(int32_t hundredths_db);
} // namespace platform
