// The sound device: the default output device with its mixer and 3D listener, and sound buffers (voices)
// whose samples are stored once and shared by every duplicate.
#pragma once
#include <cstdint>
#include <memory>

namespace platform
{
// The wave format of a buffer, laid out like a WAVEFORMATEX.
struct Wave_Format
{
    uint16_t format_tag = 0;
    uint16_t channels = 0;
    uint32_t samples_per_sec = 0;
    uint32_t avg_bytes_per_sec = 0;
    uint16_t block_align = 0;
    uint16_t bits_per_sample = 0;
    uint16_t extra_size = 0;
};
constexpr uint16_t WAVE_FORMAT_PCM = 1;

// Buffer capabilities.
enum Sound_Caps : uint32_t
{
    SOUND_CTRL_3D = 0x10,
    SOUND_CTRL_FREQUENCY = 0x20,
    SOUND_CTRL_VOLUME = 0x80,
};

// Volume limits in hundredths of a decibel, frequency limits in Hz.
constexpr int32_t SOUND_VOLUME_MIN = -10000;
constexpr int32_t SOUND_VOLUME_MAX = 0;
constexpr uint32_t SOUND_FREQUENCY_MIN = 100;
constexpr uint32_t SOUND_FREQUENCY_MAX = 200000;

// Why a device or buffer could not be made.
enum class Sound_Result
{
    OK,
    UNSUPPORTED,
    NO_AGGREGATION,
    OUT_OF_MEMORY,
    INVALID_PARAM,
    ALLOCATED,
    CONTROL_UNAVAILABLE,
    INVALID_CALL,
    BAD_FORMAT,
    UNINITIALIZED,
    BUFFER_TOO_SMALL,
    DS8_REQUIRED,
    OTHER,
};

struct Sound_Core;

// A handle on the process's output device. Every handle, buffer and stream made from it keeps the device
// open; it closes when the last of them is gone.
class Sound_Device
{
  public:
    Sound_Device() = default;
    Sound_Device(const Sound_Device&) = default;
    Sound_Device& operator=(const Sound_Device&) = default;
    ~Sound_Device();

    // Opens the default output device (or shares it when it is already open). False when there is none.
    bool Open();
    // Starts the mixer at the device's own rate; the format's rate is checked but not used. Without a
    // mixer no buffer can be made.
    Sound_Result Create_Primary(const Wave_Format& format);
    // Checks an output format: PCM of 1 or 2 channels, 8 or 16 bits. The mixer keeps its own rate.
    bool Set_Primary_Format(const Wave_Format& format);
    // The cooperative level has no meaning here; it needs a window.
    bool Set_Cooperative_Level(const void* window) const { return window != nullptr; }
    bool Has_Listener() const;
    void Set_Listener(const float position[3], const float velocity[3], const float front[3],
                      const float top[3]) const;
    void Close();

    bool Is_Open() const { return m_core != nullptr; }
    bool Has_Mixer() const;
    // The rate the mixer runs at, 0 without one.
    uint32_t Mix_Rate() const;

  private:
    friend class Sound_Buffer;
    friend class Sound_Stream;
    std::shared_ptr<Sound_Core> m_core;
};

// Checks a wave format for a buffer: PCM, 1 or 2 channels, 8 or 16 bits, a rate from 100 to 200000 Hz and a
// block align of channels x bytes per sample.
Sound_Result Check_Buffer_Format(const Wave_Format& format);

struct Sample_Store;

// One voice over a block of samples. Duplicates share the samples of their original.
class Sound_Buffer
{
  public:
    Sound_Buffer() = default;
    Sound_Buffer(const Sound_Buffer&) = delete;
    Sound_Buffer& operator=(const Sound_Buffer&) = delete;
    ~Sound_Buffer() { Release(); }

    // A buffer of `bytes` bytes of silence in the format, with the given capabilities.
    Sound_Result Create(const Sound_Device& device, const Wave_Format& format, uint32_t bytes, uint32_t caps);
    // A new voice on the samples of another buffer, with its capabilities, volume and frequency.
    bool Duplicate(const Sound_Buffer& original);
    void Release();
    bool Exists() const { return m_store != nullptr; }

    // The whole buffer's memory for writing; the samples take effect at Unlock. Only before any duplicate.
    uint8_t* Lock(uint32_t& bytes);
    bool Unlock();

    bool Play(bool looping);
    void Stop();
    // Back to the start of the samples.
    void Rewind();
    bool Set_Volume(int32_t hundredths_db);
    int32_t Get_Volume() const { return m_volume; }
    // 0 restores the samples' own rate.
    bool Set_Frequency(uint32_t hz);
    uint32_t Get_Frequency() const { return m_frequency; }
    bool Is_Playing() const;
    bool Is_Looping() const;
    bool Has_3d() const { return Exists() && (m_caps & SOUND_CTRL_3D); }
    bool Set_3d_Position(float x, float y, float z);
    uint32_t Get_Bytes() const { return m_bytes; }

  private:
    // The voice itself is made on first use, so idle duplicates cost no mixer voice.
    bool Ensure_Source();

    std::shared_ptr<Sample_Store> m_store;
    unsigned m_source = 0;
    Wave_Format m_format;
    uint32_t m_bytes = 0;
    uint32_t m_caps = 0;
    uint32_t m_frequency = 0;
    int32_t m_volume = 0;
    float m_position[3] = {};
    bool m_duplicated = false;
    std::unique_ptr<uint8_t[]> m_locked;
};
} // namespace platform
