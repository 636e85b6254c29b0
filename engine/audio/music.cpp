// Music: song records by name, loading through the data pack or disk, and the hand-off to the XM player or
// an Ogg stream.
#include "engine/audio/music.h"

#include "engine/audio/ogg_stream.h"
#include "engine/audio/xm_player.h"
#include "engine/core/no_case.h"
#include "engine/core/text_file.h"
#include "engine/core/vorta_log.h"
#include "engine/core/vorta_window.h"

#include <cstring>
#include <new>

namespace
{
// Whether the name holds "ogg" anywhere, in any case: such songs are Ogg streams, not modules.
bool Contains_Ogg(const char* name)
{
    for (; name[0] && name[1] && name[2]; ++name)
        if (Fold_Case(name[0]) == 'o' && Fold_Case(name[1]) == 'g' && Fold_Case(name[2]) == 'g')
            return true;
    return false;
}
} // namespace

Music::~Music()
{
    Stop_All();
    for (int i = 0; i < MAX_SONGS; ++i)
        Destroy_Record(i);
}

bool Music::Init(Vorta_Window* window)
{
    m_window = window;
    m_initialised = g_xm_player.Initialise(44000, true, true);
    return m_initialised;
}

int Music::Song_Count() const
{
    int n = 0;
    for (const Song_Record* r : m_songs)
        n += r != nullptr;
    return n;
}

Music::Song_Record* Music::Create_Record(const char* file_name)
{
    auto* record = new (std::nothrow) Song_Record;
    if (!record)
        return nullptr;
    size_t length = std::strlen(file_name);
    record->name = new (std::nothrow) char[length + 1];
    if (!record->name)
    {
        delete record;
        return nullptr;
    }
    std::memcpy(record->name, file_name, length + 1);
    if (Contains_Ogg(file_name))
    {
        record->ogg = new (std::nothrow)
            CDirectSoundOgg(record->name, m_window ? m_window->Get_Sound_System() : nullptr);
        return record;
    }
    Text_File file;
    if (file.Load(file_name))
    {
        record->size = file.Get_Size();
        record->bytes = const_cast<uint8_t*>(file.Get_Data());
        file.Set_Borrowed(true); // the record owns the bytes from here
    }
    return record;
}

void Music::Destroy_Record(int slot)
{
    Song_Record* record = m_songs[slot];
    if (!record)
        return;
    delete record->ogg; // stops its stream first
    delete[] record->bytes;
    delete[] record->name;
    delete record;
    m_songs[slot] = nullptr;
    if (m_in_player == slot)
        m_in_player = -1;
    if (m_current == slot)
        m_current = -1;
}

bool Music::Play(const char* file_name, float volume)
{
    if (!file_name)
    {
        Print_Message("NULL music filename?\n");
        return false;
    }
    if (!m_initialised)
    {
        Print_Message("Music class has not been initialized...\n");
        return false;
    }
    if (m_current >= 0)
    {
        Song_Record* current = m_songs[m_current];
        if (current->ogg)
            current->ogg->Stop();
        else
            g_xm_player.Stop();
        m_current = -1;
    }

    int slot = -1;
    for (int i = 0; i < MAX_SONGS && slot < 0; ++i)
        if (m_songs[i] && Equal_No_Case(m_songs[i]->name, file_name))
            slot = i;
    if (slot < 0)
    {
        for (int i = 0; i < MAX_SONGS && slot < 0; ++i)
            if (!m_songs[i])
                slot = i;
        if (slot < 0)
            return false;
        m_songs[slot] = Create_Record(file_name);
        if (!m_songs[slot])
            return false;
    }

    Song_Record* record = m_songs[slot];
    m_current = slot;
    if (record->ogg)
    {
        record->ogg->Play(volume, true);
        return true;
    }
    // The player holds one module, the one loaded last: a record played again after another was loaded
    // loads its bytes again.
    if (m_in_player != slot)
    {
        m_in_player = -1;
        if (record->bytes && g_xm_player.Load(record->bytes, record->size))
            m_in_player = slot;
    }
    if (m_in_player == slot)
        g_xm_player.Play(volume);
    return true;
}

void Music::Stop_All()
{
    for (int i = 0; i < MAX_SONGS; ++i)
    {
        Song_Record* record = m_songs[i];
        if (!record)
            continue;
        if (record->ogg)
            record->ogg->Stop();
        else if (m_in_player == i)
            g_xm_player.Stop();
    }
    if (m_current >= 0)
        Destroy_Record(m_current);
    m_current = -1;
}
