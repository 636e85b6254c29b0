// CSound_2d: 32 voices over one loaded buffer, picked in rotation.
#include "engine/audio/sound.h"

#include "engine/core/vorta_log.h"

CSound_2d::~CSound_2d()
{
    Release_Voices();
}

void CSound_2d::Duplicate_Voices()
{
    for (platform::Sound_Buffer& voice : m_voices)
        voice.Duplicate(m_buffer);
}

bool CSound_2d::Create_From_Memory(const uint8_t* samples, uint32_t bytes,
                                   const platform::Wave_Format& format, uint32_t flags)
{
    if (!CSound::Create_From_Memory(samples, bytes, format, flags))
        return false;
    Duplicate_Voices();
    Print_Message("  done\n\n");
    return true;
}

bool CSound_2d::Load_File(const char* path, uint32_t flags)
{
    if (!CSound::Load_File(path, flags))
        return false;
    Duplicate_Voices();
    return true;
}

void CSound_2d::Stop_All()
{
    for (platform::Sound_Buffer& voice : m_voices)
        voice.Stop();
}

void CSound_2d::Release_Voices()
{
    for (platform::Sound_Buffer& voice : m_voices)
        voice.Release();
}

int CSound_2d::Find_Free_Voice()
{
    if (m_current_voice < 0 || m_current_voice >= VOICES)
        m_current_voice = 0;
    for (int i = 0; i < VOICES; ++i)
    {
        int voice = (m_current_voice + i) % VOICES;
        const platform::Sound_Buffer& buffer = m_voices[voice];
        if (!m_buffer.Exists() || !buffer.Exists() || !(buffer.Is_Playing() || buffer.Is_Looping()))
            return voice;
    }
    return ALL_BUSY;
}

// A voice that does not exist (nothing loaded, or an index past the last voice) plays nothing.
int CSound_2d::Start_Voice(float volume, int voice, bool looping)
{
    if (voice == ANY_VOICE)
    {
        voice = Find_Free_Voice();
        if (voice == ALL_BUSY)
            return ALL_BUSY;
    }
    if (voice < 0 || voice >= VOICES || !m_voices[voice].Exists())
        return ALL_BUSY;
    m_current_voice = voice;
    platform::Sound_Buffer& buffer = m_voices[voice];
    buffer.Stop();
    buffer.Set_Volume(Sound_Attenuation(volume));
    buffer.Rewind();
    buffer.Play(looping);
    return voice;
}

int CSound_2d::Play(float volume, int voice)
{
    return Start_Voice(volume, voice, false);
}

int CSound_2d::Play_Looped(float volume, int voice)
{
    return Start_Voice(volume, voice, true);
}

bool CSound_2d::Is_Voice_Playing(int voice)
{
    if (voice == ANY_VOICE)
        voice = m_current_voice;
    if (!m_buffer.Exists() || voice < 0 || voice >= VOICES)
        return false;
    return m_voices[voice].Is_Playing() || m_voices[voice].Is_Looping();
}

int CSound_2d::Set_Voice_Frequency(uint32_t hz, int voice)
{
    if (voice == ANY_VOICE)
        voice = m_current_voice;
    if (voice >= 0 && voice < VOICES)
        m_voices[voice].Set_Frequency(hz);
    return m_current_voice;
}

void CSound_2d::Stop_Voice(int voice)
{
    if (voice >= 0 && voice < VOICES)
    {
        m_voices[voice].Stop();
        return;
    }
    Stop_All();
}
