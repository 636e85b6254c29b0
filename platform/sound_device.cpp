// The sound device on OpenAL Soft. One device and one mixer context serve the whole process; a buffer's
// samples are one OpenAL buffer and each voice over them is one OpenAL source.
#include "platform/sound_device.h"

#include "platform/sound_core.h"

#include <cmath>
#include <cstring>
#include <mutex>

namespace platform
{
namespace
{
std::mutex g_core_mutex;
std::weak_ptr<Sound_Core> g_core;

// Enough sources for every voice of a few hundred loaded effects; voices are made only when first used.
constexpr ALCint SOURCES_PER_KIND = 2048;
constexpr uint32_t BUFFER_BYTES_MIN = 4;
constexpr uint32_t BUFFER_BYTES_MAX = 0x0FFFFFFF;

Sound_Result From_Alc_Error(ALCenum error)
{
    switch (error)
    {
    case ALC_INVALID_DEVICE:
        return Sound_Result::UNINITIALIZED;
    case ALC_INVALID_VALUE:
        return Sound_Result::INVALID_PARAM;
    case ALC_OUT_OF_MEMORY:
        return Sound_Result::OUT_OF_MEMORY;
    default:
        return Sound_Result::OTHER;
    }
}
} // namespace

Sound_Core::~Sound_Core()
{
    if (context)
    {
        if (alcGetCurrentContext() == context)
            alcMakeContextCurrent(nullptr);
        alcDestroyContext(context);
    }
    if (device)
        alcCloseDevice(device);
}

ALenum Al_Format(const Wave_Format& format)
{
    if (format.channels == 1)
        return format.bits_per_sample == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16;
    return format.bits_per_sample == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16;
}

float Al_Gain(int32_t hundredths_db)
{
    return hundredths_db <= SOUND_VOLUME_MIN ? 0.0f
                                             : static_cast<float>(std::pow(10.0, hundredths_db / 2000.0));
}

Sound_Result Check_Buffer_Format(const Wave_Format& format)
{
    if (format.format_tag != WAVE_FORMAT_PCM || (format.channels != 1 && format.channels != 2) ||
        (format.bits_per_sample != 8 && format.bits_per_sample != 16) ||
        format.samples_per_sec < SOUND_FREQUENCY_MIN || format.samples_per_sec > SOUND_FREQUENCY_MAX ||
        format.block_align != format.channels * format.bits_per_sample / 8)
        return Sound_Result::BAD_FORMAT;
    return Sound_Result::OK;
}

// Sound_Device

Sound_Device::~Sound_Device()
{
    Close();
}

bool Sound_Device::Open()
{
    if (m_core)
        return true;
    std::lock_guard<std::mutex> hold(g_core_mutex);
    m_core = g_core.lock();
    if (m_core)
        return true;
    ALCdevice* device = alcOpenDevice(nullptr);
    if (!device)
        return false;
    m_core = std::make_shared<Sound_Core>();
    m_core->device = device;
    g_core = m_core;
    return true;
}

Sound_Result Sound_Device::Create_Primary(const Wave_Format& format)
{
    if (!m_core)
        return Sound_Result::UNINITIALIZED;
    std::lock_guard<std::mutex> hold(g_core_mutex);
    if (m_core->context)
        return Sound_Result::OK;
    if (format.samples_per_sec < SOUND_FREQUENCY_MIN || format.samples_per_sec > SOUND_FREQUENCY_MAX)
        return Sound_Result::INVALID_PARAM;
    // No frequency is asked for: the mixer runs at the device's own rate, whatever the primary format
    // says, so effects keep everything above half the format's rate; each buffer is resampled from its
    // own rate.
    const ALCint attributes[] = {ALC_MONO_SOURCES, SOURCES_PER_KIND, ALC_STEREO_SOURCES, SOURCES_PER_KIND, 0};
    alcGetError(m_core->device);
    ALCcontext* context = alcCreateContext(m_core->device, attributes);
    if (!context)
        return From_Alc_Error(alcGetError(m_core->device));
    if (!alcMakeContextCurrent(context))
    {
        alcDestroyContext(context);
        return Sound_Result::OTHER;
    }
    m_core->context = context;
    return Sound_Result::OK;
}

bool Sound_Device::Set_Primary_Format(const Wave_Format& format)
{
    if (!Has_Mixer())
        return false;
    return Check_Buffer_Format(format) == Sound_Result::OK;
}

bool Sound_Device::Has_Mixer() const
{
    return m_core && m_core->context;
}

bool Sound_Device::Has_Listener() const
{
    return Has_Mixer();
}

void Sound_Device::Set_Listener(const float position[3], const float velocity[3], const float front[3],
                                const float top[3]) const
{
    if (!Has_Mixer())
        return;
    const float orientation[6] = {front[0], front[1], front[2], top[0], top[1], top[2]};
    alListenerfv(AL_POSITION, position);
    alListenerfv(AL_VELOCITY, velocity);
    alListenerfv(AL_ORIENTATION, orientation);
}

uint32_t Sound_Device::Mix_Rate() const
{
    if (!Has_Mixer())
        return 0;
    ALCint rate = 0;
    alcGetIntegerv(m_core->device, ALC_FREQUENCY, 1, &rate);
    return static_cast<uint32_t>(rate);
}

void Sound_Device::Close()
{
    m_core.reset();
}

// Sound_Buffer

struct Sample_Store
{
    std::shared_ptr<Sound_Core> core;
    ALuint buffer = 0;
    bool duplicated = false;
    ~Sample_Store()
    {
        if (buffer)
            alDeleteBuffers(1, &buffer);
    }
};

Sound_Result Sound_Buffer::Create(const Sound_Device& device, const Wave_Format& format, uint32_t bytes,
                                  uint32_t caps)
{
    Release();
    if (!device.Has_Mixer())
        return Sound_Result::UNINITIALIZED;
    Sound_Result checked = Check_Buffer_Format(format);
    if (checked != Sound_Result::OK)
        return checked;
    if (bytes < BUFFER_BYTES_MIN || bytes > BUFFER_BYTES_MAX)
        return Sound_Result::INVALID_PARAM;

    auto store = std::make_shared<Sample_Store>();
    store->core = device.m_core;
    alGetError();
    alGenBuffers(1, &store->buffer);
    if (alGetError() != AL_NO_ERROR)
    {
        store->buffer = 0;
        return Sound_Result::OUT_OF_MEMORY;
    }
    // A new buffer holds silence.
    uint32_t whole = bytes - bytes % format.block_align;
    std::unique_ptr<uint8_t[]> silence(new (std::nothrow) uint8_t[whole]);
    if (!silence)
        return Sound_Result::OUT_OF_MEMORY;
    std::memset(silence.get(), format.bits_per_sample == 8 ? 0x80 : 0, whole);
    alBufferData(store->buffer, Al_Format(format), silence.get(), static_cast<ALsizei>(whole),
                 static_cast<ALsizei>(format.samples_per_sec));
    if (alGetError() != AL_NO_ERROR)
        return Sound_Result::OUT_OF_MEMORY;

    m_store = std::move(store);
    m_format = format;
    m_bytes = bytes;
    m_caps = caps;
    m_frequency = format.samples_per_sec;
    m_volume = 0;
    return Sound_Result::OK;
}

bool Sound_Buffer::Duplicate(const Sound_Buffer& original)
{
    Release();
    if (!original.Exists())
        return false;
    m_store = original.m_store;
    m_store->duplicated = true;
    m_format = original.m_format;
    m_bytes = original.m_bytes;
    m_caps = original.m_caps;
    m_frequency = original.m_frequency;
    m_volume = original.m_volume;
    std::memcpy(m_position, original.m_position, sizeof(m_position));
    m_duplicated = true;
    return true;
}

void Sound_Buffer::Release()
{
    if (m_source)
    {
        alDeleteSources(1, &m_source);
        m_source = 0;
    }
    m_locked.reset();
    m_store.reset();
    m_duplicated = false;
}

uint8_t* Sound_Buffer::Lock(uint32_t& bytes)
{
    bytes = 0;
    if (!Exists() || m_duplicated || m_store->duplicated)
        return nullptr;
    if (!m_locked)
    {
        m_locked.reset(new (std::nothrow) uint8_t[m_bytes]);
        if (!m_locked)
            return nullptr;
        std::memset(m_locked.get(), m_format.bits_per_sample == 8 ? 0x80 : 0, m_bytes);
    }
    bytes = m_bytes;
    return m_locked.get();
}

bool Sound_Buffer::Unlock()
{
    if (!m_locked)
        return false;
    if (m_source)
    {
        alSourceStop(m_source);
        alSourcei(m_source, AL_BUFFER, 0);
    }
    alGetError();
    uint32_t whole = m_bytes - m_bytes % m_format.block_align;
    alBufferData(m_store->buffer, Al_Format(m_format), m_locked.get(), static_cast<ALsizei>(whole),
                 static_cast<ALsizei>(m_format.samples_per_sec));
    bool ok = alGetError() == AL_NO_ERROR;
    m_locked.reset(); // the mixer holds the only copy of the samples now
    if (m_source)
        alSourcei(m_source, AL_BUFFER, static_cast<ALint>(m_store->buffer));
    return ok;
}

bool Sound_Buffer::Ensure_Source()
{
    if (m_source)
        return true;
    if (!Exists())
        return false;
    alGetError();
    alGenSources(1, &m_source);
    if (alGetError() != AL_NO_ERROR)
    {
        m_source = 0;
        return false;
    }
    alSourcei(m_source, AL_BUFFER, static_cast<ALint>(m_store->buffer));
    alSourcef(m_source, AL_GAIN, Al_Gain(m_volume));
    alSourcef(m_source, AL_PITCH,
              static_cast<float>(m_frequency) / static_cast<float>(m_format.samples_per_sec));
    if (m_caps & SOUND_CTRL_3D)
    {
        alSourcei(m_source, AL_SOURCE_RELATIVE, AL_FALSE);
        alSourcefv(m_source, AL_POSITION, m_position);
    }
    else
    {
        // A plain voice sounds at the listener, unattenuated.
        alSourcei(m_source, AL_SOURCE_RELATIVE, AL_TRUE);
        alSource3f(m_source, AL_POSITION, 0.0f, 0.0f, 0.0f);
        alSourcef(m_source, AL_ROLLOFF_FACTOR, 0.0f);
    }
    return true;
}

bool Sound_Buffer::Play(bool looping)
{
    if (!Ensure_Source())
        return false;
    alGetError();
    alSourcei(m_source, AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
    ALint state = AL_STOPPED;
    alGetSourcei(m_source, AL_SOURCE_STATE, &state);
    if (state != AL_PLAYING)
        alSourcePlay(m_source);
    return alGetError() == AL_NO_ERROR;
}

// Stopping keeps the play position, so a later Play goes on from there.
void Sound_Buffer::Stop()
{
    if (m_source)
        alSourcePause(m_source);
}

void Sound_Buffer::Rewind()
{
    if (m_source)
        alSourceRewind(m_source);
}

bool Sound_Buffer::Set_Volume(int32_t hundredths_db)
{
    if (!Exists() || !(m_caps & SOUND_CTRL_VOLUME) || hundredths_db < SOUND_VOLUME_MIN ||
        hundredths_db > SOUND_VOLUME_MAX)
        return false;
    m_volume = hundredths_db;
    if (m_source)
        alSourcef(m_source, AL_GAIN, Al_Gain(m_volume));
    return true;
}

bool Sound_Buffer::Set_Frequency(uint32_t hz)
{
    if (!Exists() || !(m_caps & SOUND_CTRL_FREQUENCY))
        return false;
    if (hz == 0)
        hz = m_format.samples_per_sec;
    if (hz < SOUND_FREQUENCY_MIN || hz > SOUND_FREQUENCY_MAX)
        return false;
    m_frequency = hz;
    if (m_source)
        alSourcef(m_source, AL_PITCH, static_cast<float>(hz) / static_cast<float>(m_format.samples_per_sec));
    return true;
}

bool Sound_Buffer::Is_Playing() const
{
    if (!m_source)
        return false;
    ALint state = AL_STOPPED;
    alGetSourcei(m_source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

bool Sound_Buffer::Is_Looping() const
{
    if (!Is_Playing())
        return false;
    ALint looping = AL_FALSE;
    alGetSourcei(m_source, AL_LOOPING, &looping);
    return looping == AL_TRUE;
}

bool Sound_Buffer::Set_3d_Position(float x, float y, float z)
{
    if (!Has_3d())
        return false;
    m_position[0] = x;
    m_position[1] = y;
    m_position[2] = z;
    if (m_source)
        alSourcefv(m_source, AL_POSITION, m_position);
    return true;
}
} // namespace platform
