// Sound_System: a window's sound device, its 3D listener and the cache of loaded sound effects.
#pragma once
#include "platform/sound_device.h"

#include <vector>

class CSound;

// Kinds for Sound_System::Load.
enum Sound_Kind
{
    SOUND_2D = 0,
    SOUND_3D = 1,
};

class Sound_System
{
  public:
    static constexpr int CACHE_SLOTS = 1024;

    Sound_System() = default;
    Sound_System(const Sound_System&) = delete;
    Sound_System& operator=(const Sound_System&) = delete;
    // Deletes every sound it loaded, then lets go of the device.
    ~Sound_System();

    // Opens the default device with its mixer and listener for the window. Reports through the log only;
    // without a device every later load fails.
    void Init(const void* window);
    // The effect "data/sounds/<name>" of kind SOUND_2D or SOUND_3D: from the cache when any sound of that
    // path was loaded before, else loaded and cached. Null when it cannot be loaded or the kind is unknown.
    CSound* Load(const char* name, int kind);

    // The device handle; not open when Init found no device.
    const platform::Sound_Device& Get_Device() const { return m_device; }
    bool Is_Allocated() const { return m_device.Is_Open(); }
    void Set_Listener(const float position[3], const float velocity[3], const float front[3],
                      const float top[3]);
    CSound* Get_Cached(int slot) const { return slot >= 0 && slot < CACHE_SLOTS ? m_cache[slot] : nullptr; }

  private:
    platform::Sound_Device m_device;
    float m_listener[4][3] = {}; // position, velocity, front, top
    CSound* m_cache[CACHE_SLOTS] = {};
    // Sounds loaded while the cache was full: not found again by name, but still deleted here.
    std::vector<CSound*> m_uncached;
};
