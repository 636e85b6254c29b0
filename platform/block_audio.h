// Block audio output: a 16-bit stereo device that plays fixed-size blocks in a ring, refilling each block
// from a callback on the device's thread as soon as it has been handed to the device.
#pragma once
#include <cstdint>

namespace platform
{
class Block_Audio
{
  public:
    // Fills frames of interleaved 16-bit stereo. Runs on the audio thread: it must not lock, allocate or
    // do I/O.
    using Fill_Function = void (*)(void* user, int16_t* out, int frames);

    static constexpr int MAX_BLOCKS = 8;

    Block_Audio() = default;
    Block_Audio(const Block_Audio&) = delete;
    Block_Audio& operator=(const Block_Audio&) = delete;
    ~Block_Audio() { Close(); }

    // Opens the default output device at rate Hz with a ring of blocks (each block_frames long, all silent
    // at first) and starts playing. False when the device or the buffers cannot be had.
    bool Open(int rate, int block_frames, int blocks, Fill_Function fill, void* user);
    void Close();
    bool Is_Open() const { return m_device != 0; }
    int Rate() const { return m_rate; }

  private:
    static void Device_Callback(void* self, uint8_t* stream, int bytes);

    uint32_t m_device = 0;
    bool m_sdl_audio = false;
    int m_rate = 0;
    int m_block_frames = 0;
    int m_blocks = 0;
    int16_t* m_ring = nullptr; // blocks x block_frames x 2 samples
    int m_next = 0;            // block to hand out next
    int m_offset = 0;          // frames of it already handed out
    Fill_Function m_fill = nullptr;
    void* m_user = nullptr;
};
} // namespace platform
