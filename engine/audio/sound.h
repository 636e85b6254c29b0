// Sound effects: CSound, the loaded sample with its buffer; CSound_2d, an effect with 32 voices over the
// same samples; CSound_3d, one positioned voice.
#pragma once
#include "platform/sound_device.h"

#include <cstdint>

class Sound_System;

// The play volume (0 to 1) as an attenuation in hundredths of a decibel: 5000 x log10(v), truncated, and
// -10000 for silence. Volumes below 0.01 come out as -10000 too, the quietest a voice can be.
int32_t Sound_Attenuation(float volume);

class CSound
{
  public:
    explicit CSound(Sound_System* system) : m_system(system) {}
    CSound(const CSound&) = delete;
    CSound& operator=(const CSound&) = delete;
    virtual ~CSound();

    // A silent buffer of `bytes` in the format.
    virtual bool Create_Buffer(uint32_t bytes, const platform::Wave_Format& format, uint32_t flags);
    // A buffer holding a copy of the samples; the sound has no name.
    virtual bool Create_From_Memory(const uint8_t* samples, uint32_t bytes,
                                    const platform::Wave_Format& format, uint32_t flags);
    // A buffer loaded from a WAVE file (from the data pack when it holds the path, else from disk).
    virtual bool Load_File(const char* path, uint32_t flags);
    virtual void Stop_All() = 0;
    virtual void Release_Voices() = 0;
    // Linear in hundredths of a decibel: 1 is full volume, 0 is -10000.
    virtual void Set_Volume(float volume);
    virtual void Set_Frequency(uint32_t hz);
    virtual uint32_t Get_Frequency();
    virtual uint32_t Get_Sample_Rate();
    virtual bool Is_Playing();

    const char* Get_Name() const { return m_name; }
    int Get_Kind() const { return m_kind; }
    uint32_t Get_Data_Size() const { return m_data_size; }
    uint16_t Get_Channels() const { return m_channels; }
    uint16_t Get_Bytes_Per_Sample() const { return m_bytes_per_sample; }
    float Get_Length() const { return m_length; }
    const platform::Sound_Buffer& Get_Buffer() const { return m_buffer; }

  protected:
    void Set_Name(const char* name);
    void Record_Format(const platform::Wave_Format& format, uint32_t data_size);

    Sound_System* m_system;
    int m_kind = 2;
    char* m_name = nullptr;
    platform::Sound_Buffer m_buffer;
    platform::Wave_Format m_format;
    uint32_t m_flags = 0;
    uint32_t m_buffer_bytes = 0;
    uint32_t m_sample_rate = 0;
    uint32_t m_data_size = 0;
    uint16_t m_channels = 0;
    uint16_t m_bytes_per_sample = 0;
    float m_length = 0.0f;
};

class CSound_2d : public CSound
{
  public:
    static constexpr int VOICES = 32;
    static constexpr int ANY_VOICE = 255; // as a voice argument: let the sound pick, or the current voice
    static constexpr int ALL_BUSY = 253;  // returned when nothing could play

    explicit CSound_2d(Sound_System* system) : CSound(system) {}
    ~CSound_2d() override;

    bool Create_From_Memory(const uint8_t* samples, uint32_t bytes, const platform::Wave_Format& format,
                            uint32_t flags) override;
    bool Load_File(const char* path, uint32_t flags) override;
    void Stop_All() override;
    void Release_Voices() override;

    // Plays once on the voice (ANY_VOICE: a free one) and gives the voice used, or ALL_BUSY.
    int Play(float volume, int voice = ANY_VOICE);
    int Play_Looped(float volume, int voice = ANY_VOICE);
    bool Is_Voice_Playing(int voice = ANY_VOICE);
    // Gives the current voice index.
    int Set_Voice_Frequency(uint32_t hz, int voice = ANY_VOICE);
    // A voice from 32 up stops all of them.
    void Stop_Voice(int voice);
    // The first voice, from the current one on in rotation, that is not playing; ALL_BUSY when none.
    int Find_Free_Voice();

    int Get_Current_Voice() const { return m_current_voice; }
    const platform::Sound_Buffer& Get_Voice(int voice) const { return m_voices[voice]; }

  private:
    int Start_Voice(float volume, int voice, bool looping);
    void Duplicate_Voices();

    platform::Sound_Buffer m_voices[VOICES];
    int m_current_voice = 254;
};

class CSound_3d : public CSound
{
  public:
    explicit CSound_3d(Sound_System* system) : CSound(system) {}
    ~CSound_3d() override;

    // Takes the 3D controls of the loaded buffer; false when it has none.
    bool Query_3d();
    void Stop_All() override;
    void Release_Voices() override;

    // Plays from the start at the current position.
    bool Play(float volume, bool looping = false);
    void Set_Position(float x, float y, float z);
    const float* Get_Position() const { return m_position; }
    bool Has_3d() const { return m_3d; }

  private:
    bool m_3d = false;
    float m_position[3] = {};
};
