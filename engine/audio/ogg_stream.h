// CDirectSoundOgg: plays one Ogg Vorbis file from disk through a 30 KB two-half stream voice, decoded by a
// worker thread of its own for each play.
#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

class Sound_System;

class CDirectSoundOgg
{
  public:
    static constexpr uint32_t HALF_BYTES = 15360;
    static constexpr uint32_t BUFFER_BYTES = 2 * HALF_BYTES;
    // How long Stop waits for the worker to end.
    static constexpr int STOP_WAIT_MS = 500;

    // The file name is borrowed: it must outlive the player. The sound system gives the device; a player
    // on a system without a device plays nothing.
    CDirectSoundOgg(const char* file_name, Sound_System* sound);
    CDirectSoundOgg(const CDirectSoundOgg&) = delete;
    CDirectSoundOgg& operator=(const CDirectSoundOgg&) = delete;
    virtual ~CDirectSoundOgg();

    // Plays the file from its start (stopping a play in progress first) at volume 0 to 1, round and round
    // when `loop` is set.
    void Play(float volume, bool loop);
    // Ends the play in progress; waits at most STOP_WAIT_MS for its worker.
    void Stop();
    // A play is in progress: false again once the worker has ended.
    bool Is_Playing();

    const char* Get_File_Name() const { return m_file_name; }
    bool Get_Loop() const { return m_loop; }
    int32_t Get_Volume() const { return m_volume; }

  private:
    struct Session;
    static void Worker(std::shared_ptr<Session> session);

    const char* m_file_name;
    Sound_System* m_sound;
    bool m_loop = false;
    int32_t m_volume = 0;
    bool m_playing = false; // guarded by m_lock
    std::mutex m_lock;
    std::shared_ptr<Session> m_session;
    std::thread m_worker;
};
