// Sound_System: device start-up with its log lines, loading through the sample cache.
#include "engine/audio/sound_system.h"

#include "engine/audio/sound.h"
#include "engine/core/no_case.h"
#include "engine/core/vorta_log.h"

#include <cstdio>
#include <new>

namespace
{
const char* Result_Name(platform::Sound_Result result)
{
    using platform::Sound_Result;
    switch (result)
    {
    case Sound_Result::UNSUPPORTED:
        return "DSERR_UNSUPPORTED\n";
    case Sound_Result::NO_AGGREGATION:
        return "DSERR_NOAGGREGATION\n";
    case Sound_Result::OUT_OF_MEMORY:
        return "DSERR_OUTOFMEMORY\n";
    case Sound_Result::INVALID_PARAM:
        return "DSERR_INVALIDPARAM\n";
    case Sound_Result::ALLOCATED:
        return "DSERR_ALLOCATED\n";
    case Sound_Result::CONTROL_UNAVAILABLE:
        return "DSERR_CONTROLUNAVAIL\n";
    case Sound_Result::INVALID_CALL:
        return "DSERR_INVALIDCALL\n";
    case Sound_Result::BAD_FORMAT:
        return "DSERR_BADFORMAT\n";
    case Sound_Result::UNINITIALIZED:
        return "DSERR_UNINITIALIZED\n";
    case Sound_Result::BUFFER_TOO_SMALL:
        return "DSERR_BUFFERTOOSMALL\n";
    case Sound_Result::DS8_REQUIRED:
        return "DSERR_DS8_REQUIRED\n";
    default:
        return "Unable to create primary 3d sound buffer!\n";
    }
}

} // namespace

Sound_System::~Sound_System()
{
    for (CSound*& sound : m_cache)
    {
        delete sound;
        sound = nullptr;
    }
    for (CSound* sound : m_uncached)
        delete sound;
    m_uncached.clear();
}

void Sound_System::Init(const void* window)
{
    if (m_device.Is_Open())
    {
        Print_Message("Direct Sound already allocated???\n");
        return;
    }
    Print_Message("Allocating direct sound instance... ");
    if (!m_device.Open())
    {
        Print_Message("FAILED to setup Direct Sound\n");
        return;
    }
    Print_Message("Ok\n");

    Print_Message("  Setting copperative level... ");
    if (!m_device.Set_Cooperative_Level(window))
        Print_Message("FAILED to set Direct Sound cooperative level\n");
    Print_Message("Ok\n");

    // The primary format: 16-bit stereo at 22050 Hz. The mixer runs at the device's own rate all the
    // same, as sound cards mix whatever the primary format says, so bright effects keep their top end.
    platform::Wave_Format primary;
    primary.format_tag = platform::WAVE_FORMAT_PCM;
    primary.channels = 2;
    primary.samples_per_sec = 22050;
    primary.avg_bytes_per_sec = 88200;
    primary.block_align = 4;
    primary.bits_per_sample = 16;

    Print_Message("  Creating primary sound buffer... ");
    platform::Sound_Result result = m_device.Create_Primary(primary);
    if (result != platform::Sound_Result::OK)
    {
        Print_Message("Sound_System::Init - Error - %s", Result_Name(result));
        return;
    }
    Print_Message("Ok\n");

    Print_Message("  Setting format... ");
    if (!m_device.Set_Primary_Format(primary))
    {
        Print_Message("Failed - Unable to set the format of the primary 3d sound buffer!");
        return;
    }
    Print_Message("Ok\n");

    Print_Message("  Get 3d sound interface... ");
    if (!m_device.Has_Listener())
        Print_Message("Failed - Error - Unable to obtain IID_IDirectSound3DListener8 interface!");
    else
        Print_Message("Ok\n");
}

CSound* Sound_System::Load(const char* name, int kind)
{
    if (!name || (kind != SOUND_2D && kind != SOUND_3D))
        return nullptr;
    char path[512];
    std::snprintf(path, sizeof(path), "data/sounds/%s", name);

    for (CSound* sound : m_cache)
    {
        if (sound && sound->Get_Name() && Equal_No_Case(sound->Get_Name(), path))
        {
            Print_Message("Sound \"%s\" found in sample cache... OK\n", name);
            return sound;
        }
    }

    CSound* sound = nullptr;
    bool loaded = false;
    if (kind == SOUND_3D)
    {
        auto* sound_3d = new (std::nothrow) CSound_3d(this);
        sound = sound_3d;
        loaded = sound_3d &&
                 sound_3d->Load_File(path, platform::SOUND_CTRL_VOLUME | platform::SOUND_CTRL_FREQUENCY |
                                               platform::SOUND_CTRL_3D);
        if (loaded)
            sound_3d->Query_3d();
    }
    else
    {
        sound = new (std::nothrow) CSound_2d(this);
        loaded =
            sound && sound->Load_File(path, platform::SOUND_CTRL_VOLUME | platform::SOUND_CTRL_FREQUENCY);
    }
    if (!loaded)
    {
        Print_Message(kind == SOUND_3D ? "Sound_System::Load - Error - Unable to load 3d sound \"%s\"\n"
                                       : "Sound_System::Load - Error - Unable to load 2d sound \"%s\"\n",
                      name);
        delete sound;
        return nullptr;
    }

    for (CSound*& slot : m_cache)
    {
        if (!slot)
        {
            slot = sound;
            return sound;
        }
    }
    try
    {
        m_uncached.push_back(sound);
    }
    catch (...)
    {
        delete sound;
        return nullptr;
    }
    return sound;
}

void Sound_System::Set_Listener(const float position[3], const float velocity[3], const float front[3],
                                const float top[3])
{
    const float* vectors[4] = {position, velocity, front, top};
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < 3; ++k)
            m_listener[i][k] = vectors[i][k];
    m_device.Set_Listener(m_listener[0], m_listener[1], m_listener[2], m_listener[3]);
}
