// CDirectSoundOgg: the worker fills whichever half the voice has just played, until the stream's end has
// been played or it is told to stop. Everything one play uses lives in its Session, which the worker
// shares; a worker that Stop gave up waiting for finds its voice closed and ends on its own.
#include "engine/audio/ogg_stream.h"

#include "engine/audio/sound.h"
#include "engine/audio/sound_system.h"
#include "engine/core/vorta_log.h"
#include "platform/ogg_decoder.h"
#include "platform/sound_stream.h"
#include "platform/thread_event.h"

#include <cstring>
#include <string>

namespace
{
// Reads in a row that give nothing but errors before a stream counts as ended.
constexpr int MAX_BAD_READS = 64;
} // namespace

struct CDirectSoundOgg::Session
{
    std::string path;
    bool loop = false;
    int32_t volume = 0;
    platform::Ogg_Decoder decoder;
    platform::Sound_Stream stream;
    platform::Auto_Event stop;
    platform::Auto_Event done;
    bool ended = false;
    int end_half = -1;
    bool decoded_since_rewind = false;

    std::mutex mutex;
    CDirectSoundOgg* owner = nullptr; // null once Stop has given up on this worker

    bool Open();
    bool Fill(int half);
    int Run();
    void Finish();
};

bool CDirectSoundOgg::Session::Fill(int half)
{
    uint8_t* memory = stream.Lock_Half(half);
    if (!memory)
        return false;
    uint32_t written = 0;
    int bad_reads = 0;
    while (written < HALF_BYTES)
    {
        if (ended)
        {
            std::memset(memory + written, 0, HALF_BYTES - written);
            break;
        }
        long got = decoder.Read(memory + written, static_cast<int>(HALF_BYTES - written));
        if (got > 0)
        {
            written += static_cast<uint32_t>(got);
            bad_reads = 0;
            decoded_since_rewind = true;
        }
        else if (got < 0)
        {
            // A gap or a damaged packet: go on with the next one.
            if (++bad_reads >= MAX_BAD_READS)
                ended = true;
        }
        else if (loop && decoded_since_rewind && decoder.Rewind())
        {
            decoded_since_rewind = false;
        }
        else
        {
            ended = true;
        }
    }
    return stream.Unlock_Half(half);
}

bool CDirectSoundOgg::Session::Open()
{
    if (!decoder.Open(path.c_str()))
        return false;
    platform::Wave_Format format;
    format.format_tag = platform::WAVE_FORMAT_PCM;
    format.channels = static_cast<uint16_t>(decoder.Channels());
    format.samples_per_sec = decoder.Rate();
    format.bits_per_sample = 16;
    format.block_align = static_cast<uint16_t>(format.channels * 2);
    format.avg_bytes_per_sec = format.samples_per_sec * format.block_align;
    if (stream.Create(format, HALF_BYTES, platform::SOUND_CTRL_VOLUME) != platform::Sound_Result::OK)
        return false;
    if (!Fill(0))
        return false;
    if (ended)
        end_half = 0;
    return true;
}

int CDirectSoundOgg::Session::Run()
{
    ended = false;
    end_half = -1;
    if (!Open())
        return 1;
    stream.Set_Volume(volume);
    stream.Play();
    int result = 0;
    for (;;)
    {
        int half = stream.Wait_Free_Half(stop);
        // Stopped, or the half holding the end of the stream has been heard.
        if (half == platform::Sound_Stream::STOPPED || half == end_half)
            break;
        if (!Fill(half))
        {
            result = 1;
            break;
        }
        if (ended && end_half < 0)
            end_half = half;
    }
    stream.Stop();
    return result;
}

void CDirectSoundOgg::Session::Finish()
{
    std::lock_guard<std::mutex> hold(mutex);
    if (owner)
    {
        std::lock_guard<std::mutex> playing(owner->m_lock);
        owner->m_playing = false;
    }
}

void CDirectSoundOgg::Worker(std::shared_ptr<Session> session)
{
    session->Run();
    session->stream.Close();
    session->decoder.Close();
    session->Finish();
    session->done.Set();
}

CDirectSoundOgg::CDirectSoundOgg(const char* file_name, Sound_System* sound)
    : m_file_name(file_name), m_sound(sound)
{
}

CDirectSoundOgg::~CDirectSoundOgg()
{
    Stop();
}

bool CDirectSoundOgg::Is_Playing()
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_playing;
}

void CDirectSoundOgg::Play(float volume, bool loop)
{
    Stop();
    m_loop = loop;
    m_volume = Sound_Attenuation(volume);
    auto session = std::make_shared<Session>();
    session->path = m_file_name ? m_file_name : "";
    session->loop = m_loop;
    session->volume = m_volume;
    session->owner = this;
    if (m_sound)
        session->stream.Use_Device(m_sound->Get_Device());
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_playing = true;
    }
    try
    {
        m_worker = std::thread(Worker, session);
        m_session = std::move(session);
    }
    catch (...)
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_playing = false;
    }
}

void CDirectSoundOgg::Stop()
{
    bool playing;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        playing = m_playing;
    }
    if (!m_session)
        return;
    if (playing)
    {
        m_session->stop.Set();
        if (!m_session->done.Wait_For(STOP_WAIT_MS))
        {
            // The worker is stuck (in a slow file read, say). It is left to end on its own: its voice is
            // closed now, so it can no longer reach the device; the half it may be decoding into stays its
            // own until it hands it back, and its session keeps everything else it still uses.
            {
                std::lock_guard<std::mutex> hold(m_session->mutex);
                m_session->owner = nullptr;
            }
            m_session->stream.Close();
            m_worker.detach();
            Print_Message("Warning: Ogg thread did not exit cleanly\n");
        }
    }
    if (m_worker.joinable())
        m_worker.join();
    m_session.reset();
    std::lock_guard<std::mutex> hold(m_lock);
    m_playing = false;
}
