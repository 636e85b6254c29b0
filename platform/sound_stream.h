// Sound_Stream: a voice fed in two halves for streamed music. The halves play one after the other, round
// and round; when one has been played it is free to be filled again. Safe to close from another thread.
#pragma once
#include "platform/sound_device.h"
#include "platform/thread_event.h"

#include <cstdint>
#include <memory>
#include <mutex>

namespace platform
{
class Sound_Stream
{
  public:
    static constexpr int STOPPED = -1;

    Sound_Stream() = default;
    Sound_Stream(const Sound_Stream&) = delete;
    Sound_Stream& operator=(const Sound_Stream&) = delete;
    ~Sound_Stream() { Close(); }

    // The device the voice will be made on. The stream keeps it open until Close.
    void Use_Device(const Sound_Device& device);
    // Two halves of `half_bytes` each in the format (PCM, 1 or 2 channels, 16 bits) on the device given to
    // Use_Device. Fails after Close.
    Sound_Result Create(const Wave_Format& format, uint32_t half_bytes, uint32_t caps);
    // The memory of half 0 or 1 for writing. Null for a half that is waiting to be played, or once closed.
    // The memory stays the caller's until Unlock_Half, even when the stream is closed meanwhile.
    uint8_t* Lock_Half(int half);
    // The written half is queued to play after the other. After Close it only hands the memory back
    // (and fails).
    bool Unlock_Half(int half);
    // Starts playing the queued halves; a half not yet filled is free at once.
    bool Play();
    void Stop();
    bool Set_Volume(int32_t hundredths_db);
    // Blocks until a half has been played and is free (gives 0 or 1) or until `stop` is set (STOPPED).
    // Once closed it gives STOPPED at once.
    int Wait_Free_Half(Auto_Event& stop);
    // Releases the voice and lets go of the device; every later call fails. Any thread, any time: a half
    // locked by another thread keeps its memory until that thread unlocks it.
    void Close();

  private:
    // Takes played halves off the voice and restarts a voice that ran dry while halves were queued.
    void Collect_Played();

    std::mutex m_mutex;
    bool m_closed = false;
    std::shared_ptr<Sound_Core> m_core;
    unsigned m_source = 0;
    unsigned m_buffers[2] = {};
    std::unique_ptr<uint8_t[]> m_memory[2];
    bool m_queued[2] = {};
    bool m_lent[2] = {}; // locked: the memory is being written outside the mutex
    int m_free[2] = {};  // halves free to fill, oldest first
    int m_free_count = 0;
    bool m_playing = false;
    Wave_Format m_format;
    uint32_t m_half_bytes = 0;
};
} // namespace platform
