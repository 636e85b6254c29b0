// Sound_Stream on OpenAL Soft: the two halves are two buffers queued on one source. A half counts as played
// when the source has processed its buffer; waiting for that polls the source every few milliseconds.
#include "platform/sound_stream.h"

#include "platform/sound_core.h"

#include <cstring>

namespace platform
{
namespace
{
constexpr int POLL_MS = 4;
}

void Sound_Stream::Use_Device(const Sound_Device& device)
{
    std::lock_guard<std::mutex> hold(m_mutex);
    if (!m_closed)
        m_core = device.m_core;
}

Sound_Result Sound_Stream::Create(const Wave_Format& format, uint32_t half_bytes, uint32_t caps)
{
    std::lock_guard<std::mutex> hold(m_mutex);
    if (m_closed || m_source)
        return Sound_Result::INVALID_CALL;
    if (!m_core || !m_core->context)
        return Sound_Result::UNINITIALIZED;
    if (Check_Buffer_Format(format) != Sound_Result::OK || format.bits_per_sample != 16)
        return Sound_Result::BAD_FORMAT;
    if (half_bytes < format.block_align || !(caps & SOUND_CTRL_VOLUME))
        return Sound_Result::INVALID_PARAM;
    for (auto& memory : m_memory)
    {
        memory.reset(new (std::nothrow) uint8_t[half_bytes]);
        if (!memory)
            return Sound_Result::OUT_OF_MEMORY;
        std::memset(memory.get(), 0, half_bytes);
    }
    alGetError();
    alGenBuffers(2, m_buffers);
    if (alGetError() != AL_NO_ERROR)
    {
        m_buffers[0] = m_buffers[1] = 0;
        return Sound_Result::OUT_OF_MEMORY;
    }
    alGenSources(1, &m_source);
    if (alGetError() != AL_NO_ERROR)
    {
        m_source = 0;
        alDeleteBuffers(2, m_buffers);
        m_buffers[0] = m_buffers[1] = 0;
        return Sound_Result::OUT_OF_MEMORY;
    }
    alSourcei(m_source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(m_source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSourcef(m_source, AL_ROLLOFF_FACTOR, 0.0f);
    m_format = format;
    m_half_bytes = half_bytes - half_bytes % format.block_align;
    return Sound_Result::OK;
}

uint8_t* Sound_Stream::Lock_Half(int half)
{
    std::lock_guard<std::mutex> hold(m_mutex);
    if (!m_source || (half != 0 && half != 1) || m_queued[half])
        return nullptr;
    m_lent[half] = true;
    return m_memory[half].get();
}

bool Sound_Stream::Unlock_Half(int half)
{
    std::lock_guard<std::mutex> hold(m_mutex);
    if (half != 0 && half != 1)
        return false;
    m_lent[half] = false;
    if (m_closed)
    {
        // Closed while the half was being written: its memory comes back now.
        m_memory[half].reset();
        return false;
    }
    if (!m_source || m_queued[half])
        return false;
    alGetError();
    alBufferData(m_buffers[half], Al_Format(m_format), m_memory[half].get(),
                 static_cast<ALsizei>(m_half_bytes), static_cast<ALsizei>(m_format.samples_per_sec));
    alSourceQueueBuffers(m_source, 1, &m_buffers[half]);
    if (alGetError() != AL_NO_ERROR)
        return false;
    m_queued[half] = true;
    // A voice that ran dry before this half arrived starts again.
    if (m_playing)
    {
        ALint state = AL_STOPPED;
        alGetSourcei(m_source, AL_SOURCE_STATE, &state);
        if (state != AL_PLAYING)
            alSourcePlay(m_source);
    }
    return true;
}

bool Sound_Stream::Play()
{
    std::lock_guard<std::mutex> hold(m_mutex);
    if (!m_source)
        return false;
    m_playing = true;
    m_free_count = 0;
    for (int half = 0; half < 2; ++half)
        if (!m_queued[half])
            m_free[m_free_count++] = half;
    alGetError();
    if (m_queued[0] || m_queued[1])
        alSourcePlay(m_source);
    return alGetError() == AL_NO_ERROR;
}

void Sound_Stream::Stop()
{
    std::lock_guard<std::mutex> hold(m_mutex);
    if (!m_source)
        return;
    m_playing = false;
    alSourceStop(m_source);
}

bool Sound_Stream::Set_Volume(int32_t hundredths_db)
{
    std::lock_guard<std::mutex> hold(m_mutex);
    if (!m_source || hundredths_db < SOUND_VOLUME_MIN || hundredths_db > SOUND_VOLUME_MAX)
        return false;
    alSourcef(m_source, AL_GAIN, Al_Gain(hundredths_db));
    return true;
}

void Sound_Stream::Collect_Played()
{
    ALint processed = 0;
    alGetSourcei(m_source, AL_BUFFERS_PROCESSED, &processed);
    while (processed-- > 0)
    {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(m_source, 1, &buffer);
        int half = buffer == m_buffers[0] ? 0 : buffer == m_buffers[1] ? 1 : -1;
        if (half < 0 || !m_queued[half])
            continue;
        m_queued[half] = false;
        if (m_free_count < 2)
            m_free[m_free_count++] = half;
    }
    if (m_playing && (m_queued[0] || m_queued[1]))
    {
        ALint state = AL_STOPPED;
        alGetSourcei(m_source, AL_SOURCE_STATE, &state);
        if (state != AL_PLAYING)
            alSourcePlay(m_source);
    }
}

int Sound_Stream::Wait_Free_Half(Auto_Event& stop)
{
    for (;;)
    {
        if (stop.Wait_For(0))
            return STOPPED;
        {
            std::lock_guard<std::mutex> hold(m_mutex);
            if (!m_source)
                return STOPPED;
            if (m_playing)
                Collect_Played();
            if (m_free_count > 0)
            {
                int half = m_free[0];
                m_free[0] = m_free[1];
                --m_free_count;
                return half;
            }
        }
        if (stop.Wait_For(POLL_MS))
            return STOPPED;
    }
}

void Sound_Stream::Close()
{
    std::lock_guard<std::mutex> hold(m_mutex);
    m_closed = true;
    if (m_source)
    {
        alSourceStop(m_source);
        alSourcei(m_source, AL_BUFFER, 0);
        alDeleteSources(1, &m_source);
        m_source = 0;
    }
    if (m_buffers[0] || m_buffers[1])
    {
        alDeleteBuffers(2, m_buffers);
        m_buffers[0] = m_buffers[1] = 0;
    }
    // A half another thread is writing into is freed when that thread unlocks it.
    for (int half = 0; half < 2; ++half)
        if (!m_lent[half])
            m_memory[half].reset();
    m_queued[0] = m_queued[1] = false;
    m_free_count = 0;
    m_playing = false;
    m_core.reset();
}
} // namespace platform
