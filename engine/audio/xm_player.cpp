// The process-wide XM player: start-up, loading, play and stop, and the hand-over with the audio thread
// through two flags (busy while mixing, silent while the main thread owns the song).
#include "engine/audio/xm_player.h"

#include "engine/audio/xm_tables.h"
#include "platform/block_audio.h"

#include <new>
#include <thread>

XM_Player g_xm_player;

XM_Player::XM_Player() = default;

XM_Player::~XM_Player()
{
    Shutdown();
}

bool XM_Player::Initialise(int rate, bool interpolation, bool ramping, bool open_device)
{
    if (m_initialised)
        return true;
    Halt();
    g_xm_tables.Build();
    m_replayer.Configure(rate, interpolation, ramping);
    m_replayer.Attach(nullptr);
    if (open_device)
    {
        m_audio = new (std::nothrow) platform::Block_Audio;
        if (!m_audio || !m_audio->Open(rate, BLOCK_FRAMES, BLOCKS, &XM_Player::Fill, this))
        {
            delete m_audio;
            m_audio = nullptr;
            return false;
        }
    }
    m_initialised = true;
    return true;
}

void XM_Player::Halt()
{
    m_silent.store(true);
    while (m_busy.load())
        std::this_thread::yield();
}

bool XM_Player::Load(const uint8_t* bytes, size_t size)
{
    Halt();
    m_replayer.Attach(nullptr);
    m_song.Free();
    m_loaded = false;
    if (!m_initialised || !m_song.Load(bytes, size))
    {
        m_song.Free();
        return false;
    }
    m_replayer.Attach(&m_song);
    m_replayer.Start(64);
    m_loaded = true;
    return true;
}

void XM_Player::Play(float volume)
{
    if (!m_loaded)
        return;
    Halt();
    if (!(volume >= 0.0f))
        volume = 0.0f;
    if (volume > 1.0f)
        volume = 1.0f;
    m_replayer.Start(static_cast<int>(volume * 64.0f));
    m_silent.store(false);
}

void XM_Player::Stop()
{
    Halt();
    m_replayer.Reset_Channels();
}

void XM_Player::Shutdown()
{
    Halt();
    if (m_audio)
    {
        m_audio->Close();
        delete m_audio;
        m_audio = nullptr;
    }
    m_replayer.Attach(nullptr);
    m_song.Free();
    m_loaded = false;
    m_initialised = false;
}

void XM_Player::Set_Row_Listener(XM_Row_Listener* listener)
{
    // The listener changes only while the callback is kept out of the replayer.
    bool silent = m_silent.load();
    Halt();
    m_replayer.Set_Row_Listener(listener);
    m_silent.store(silent);
}

void XM_Player::Render(int16_t* out, int frames)
{
    m_busy.store(true);
    if (m_silent.load())
    {
        for (int i = 0; i < 2 * frames; ++i)
            out[i] = 0;
    }
    else
        m_replayer.Mix(out, frames);
    m_busy.store(false);
}

void XM_Player::Fill(void* self, int16_t* out, int frames)
{
    static_cast<XM_Player*>(self)->Render(out, frames);
}
