// Music: the game's songs by file name. XM modules play on the process-wide XM player; names that contain
// "ogg" play as Ogg streams on the window's sound system.
#pragma once
#include <cstdint>

class Vorta_Window;
class CDirectSoundOgg;

class Music
{
  public:
    static constexpr int MAX_SONGS = 64;

    Music() = default;
    Music(const Music&) = delete;
    Music& operator=(const Music&) = delete;
    ~Music();

    // Keeps the window and starts the XM player at 44000 Hz with interpolation and ramping; the player's
    // result.
    bool Init(Vorta_Window* window);
    // Stops what plays, then plays the named song at a volume of 0 to 1, looping; a song not played before
    // is loaded into the first free slot. False for a null name, before Init, or when all 64 slots are
    // taken. A file that does not load still takes its slot and plays as silence.
    bool Play(const char* file_name, float volume);
    // Stops every song; the current song's record is released and its slot freed.
    void Stop_All();

    Vorta_Window* Get_Window() const { return m_window; }
    int Song_Count() const;
    bool Current_Is_Ogg() const { return m_current >= 0 && m_songs[m_current] && m_songs[m_current]->ogg; }

  private:
    struct Song_Record
    {
        char* name = nullptr;
        CDirectSoundOgg* ogg = nullptr;
        uint32_t size = 0;
        uint8_t* bytes = nullptr;
    };

    Song_Record* Create_Record(const char* file_name);
    void Destroy_Record(int slot);

    Vorta_Window* m_window = nullptr;
    bool m_initialised = false;
    int m_current = -1;
    int m_in_player = -1; // slot whose module the XM player holds
    Song_Record* m_songs[MAX_SONGS] = {};
};
