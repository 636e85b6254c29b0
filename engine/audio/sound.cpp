// CSound: buffers from a format, from memory or from a WAVE file, and the controls of the loaded buffer.
#include "engine/audio/sound.h"

#include "engine/audio/sound_system.h"
#include "engine/audio/wave_file.h"
#include "engine/core/vorta_log.h"

#include <cmath>
#include <cstring>
#include <new>

int32_t Sound_Attenuation(float volume)
{
    if (!(volume > 0.0f))
        return platform::SOUND_VOLUME_MIN;
    if (volume >= 1.0f)
        return 0;
    // In single precision, as the volumes are floats: 0.1 gives exactly -5000.
    auto attenuation = static_cast<int32_t>(5000.0f * std::log10(volume));
    return attenuation < platform::SOUND_VOLUME_MIN ? platform::SOUND_VOLUME_MIN : attenuation;
}

CSound::~CSound()
{
    m_buffer.Release();
    delete[] m_name;
}

void CSound::Set_Name(const char* name)
{
    delete[] m_name;
    m_name = nullptr;
    if (!name)
        return;
    size_t length = std::strlen(name) + 1;
    m_name = new (std::nothrow) char[length];
    if (m_name)
        std::memcpy(m_name, name, length);
}

void CSound::Record_Format(const platform::Wave_Format& format, uint32_t data_size)
{
    m_data_size = data_size;
    m_channels = format.channels;
    m_bytes_per_sample = format.bits_per_sample / 8;
    m_sample_rate = format.samples_per_sec;
    m_length = m_channels && m_bytes_per_sample && m_sample_rate
                   ? static_cast<float>(m_data_size) / m_channels / m_bytes_per_sample / m_sample_rate
                   : 0.0f;
}

bool CSound::Create_Buffer(uint32_t bytes, const platform::Wave_Format& format, uint32_t flags)
{
    if (!m_system || !m_system->Is_Allocated())
    {
        Print_Message("Failed to load sound as Direct Sound has not been allocated!!!\n");
        return false;
    }
    m_flags = flags;
    m_buffer_bytes = bytes;
    m_format = format;
    if (m_buffer.Create(m_system->Get_Device(), format, bytes, flags) != platform::Sound_Result::OK)
    {
        Print_Message("Failed to create sound buffer\n");
        return false;
    }
    return true;
}

bool CSound::Create_From_Memory(const uint8_t* samples, uint32_t bytes, const platform::Wave_Format& format,
                                uint32_t flags)
{
    Set_Name(nullptr);
    if (!Create_Buffer(bytes, format, flags))
        return false;
    uint32_t locked_bytes = 0;
    uint8_t* locked = m_buffer.Lock(locked_bytes);
    if (!locked)
    {
        Print_Message("  Unable to lock sound buffer!!!\n");
        m_buffer.Release();
        return false;
    }
    Print_Message("  importing sample data...");
    uint32_t copied = samples ? (bytes < locked_bytes ? bytes : locked_bytes) : 0;
    if (copied)
        std::memcpy(locked, samples, copied);
    Print_Message("Ok\n");
    m_buffer.Unlock();
    Record_Format(format, copied);
    m_sample_rate = m_buffer.Get_Frequency();
    Print_Message("  done\n\n");
    return true;
}

bool CSound::Load_File(const char* path, uint32_t flags)
{
    Set_Name(path);
    Print_Message("Sound \"%s\" loading ", path ? path : "");
    CWaveFile wave;
    if (!wave.Open(path))
    {
        Print_Message("Failed to open the sound file\n");
        return false;
    }
    if (!Create_Buffer(wave.Get_Size(), *wave.Get_Format(), flags))
    {
        Print_Message("Failed to allocate sound buffer\n");
        return false;
    }
    uint32_t locked_bytes = 0;
    uint8_t* locked = m_buffer.Lock(locked_bytes);
    if (!locked)
    {
        Print_Message("  Failed to lock sound buffer!!!\n");
        m_buffer.Release();
        return false;
    }
    uint32_t read = 0;
    if (!wave.Read(locked, locked_bytes, &read))
        Print_Message("Failed to load sample data!!!\n");
    Record_Format(*wave.Get_Format(), read);
    m_buffer.Unlock();
    wave.Close();
    Print_Message("OK\n");
    return true;
}

void CSound::Set_Volume(float volume)
{
    m_buffer.Set_Volume(static_cast<int32_t>((1.0f - volume) * -10000.0f));
}

void CSound::Set_Frequency(uint32_t hz)
{
    m_buffer.Set_Frequency(hz);
}

uint32_t CSound::Get_Frequency()
{
    return m_buffer.Exists() ? m_buffer.Get_Frequency() : 0;
}

uint32_t CSound::Get_Sample_Rate()
{
    return m_sample_rate;
}

bool CSound::Is_Playing()
{
    return m_buffer.Is_Playing() || m_buffer.Is_Looping();
}
