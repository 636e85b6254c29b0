// The process-wide XM music player: one song, one set of channels, one output device. The device's
// thread mixes one block ahead in its callback; the main thread loads, starts and stops songs.
#pragma once
#include "engine/audio/xm_replayer.h"
#include "engine/audio/xm_song.h"

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace platform
{
class Block_Audio;
}

class XM_Player
{
  public:
    static constexpr int BLOCK_FRAMES = 1024; // 4096 bytes of 16-bit stereo
    static constexpr int BLOCKS = 4;

    XM_Player();
    XM_Player(const XM_Player&) = delete;
    XM_Player& operator=(const XM_Player&) = delete;
    ~XM_Player();

    // Builds the tables and opens the output device (unless open_device is false, for rendering to a
    // file). False, with nothing kept, when the device cannot be opened. A second call keeps the device.
    bool Initialise(int rate, bool interpolation, bool ramping, bool open_device = true);
    // Loads a song from memory (copied into the player's own structures). Stops the current song first.
    bool Load(const uint8_t* bytes, size_t size);
    // Starts the loaded song from position 0, row 0, at a volume of 0 to 1 (master volume = volume x 64).
    void Play(float volume);
    // Silences the output and resets all channels; the song stays loaded.
    void Stop();
    // Frees the song and closes the device.
    void Shutdown();
    // Row starts of the songs played from now on go to the listener (borrowed; none with null), on the
    // thread that mixes.
    void Set_Row_Listener(XM_Row_Listener* listener);

    // The mixing step the device callback runs: frames (at most 4096) of 16-bit stereo, zeros while silent.
    void Render(int16_t* out, int frames);

    bool Is_Initialised() const { return m_initialised; }
    bool Is_Loaded() const { return m_loaded; }
    bool Is_Silent() const { return m_silent.load(); }
    bool Is_Mixing() const { return m_busy.load(); }
    const XM_Song& Song() const { return m_song; }
    const XM_Replayer& Replayer() const { return m_replayer; }

  private:
    static void Fill(void* self, int16_t* out, int frames);
    // Sets the silence flag and waits until the callback is not mixing; afterwards the main thread owns
    // the song and channel state until it clears the flag.
    void Halt();

    bool m_initialised = false;
    bool m_loaded = false;
    std::atomic<bool> m_silent{true};
    std::atomic<bool> m_busy{false};
    platform::Block_Audio* m_audio = nullptr;
    XM_Song m_song;
    XM_Replayer m_replayer;
};

// The one XM player of the process.
extern XM_Player g_xm_player;
