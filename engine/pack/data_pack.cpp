// Data_Pack: lookup of members by name and their extraction.
#include "engine/pack/data_pack.h"

#include "engine/core/no_case.h"

#include <new>

Data_Pack::Data_Pack(Log_Function log) : m_log(log) {}

bool Data_Pack::Open(const char* file_name)
{
    Close();
    if (!file_name)
        file_name = "";
    platform::Archive_Open result = m_archive.Open(file_name);
    if (result == platform::Archive_Open::UNREADABLE)
    {
        m_log("Failed: 7z - Unable to open file \"%s\"\n", file_name);
        return false;
    }
    if (result == platform::Archive_Open::INCOMPATIBLE)
    {
        m_log("Failed: 7z - Incompatible file \"%s\"\n", file_name);
        return false;
    }
    m_entries.resize(m_archive.Member_Count());
    for (size_t i = 0; i < m_entries.size(); ++i)
    {
        const platform::Archive_Member& member = m_archive.Member(i);
        Entry& entry = m_entries[i];
        entry.directory = member.directory;
        entry.name_known = member.name_known;
        entry.size = member.size;
        entry.too_long = member.name.size() + 1 >= MAX_NAME_UNITS;
        if (entry.too_long)
            continue;
        entry.name.reserve(member.name.size());
        for (char16_t unit : member.name)
            entry.name.push_back(static_cast<char>(unit & 0xFF));
    }
    return true;
}

int Data_Pack::Find_Entry(const char* name)
{
    if (!name)
        return -1;
    for (size_t i = 0; i < m_entries.size(); ++i)
    {
        const Entry& entry = m_entries[i];
        if (entry.directory)
            continue;
        if (entry.too_long)
        {
            m_log("Failed: 7z - Filename to long!!!\n");
            return -1;
        }
        // A name with a zero unit reads, as a text, only up to it.
        if (entry.name_known && Equal_No_Case(entry.name.c_str(), name))
            return static_cast<int>(i);
    }
    return -1;
}

const char* Data_Pack::Entry_Name(uint32_t index) const
{
    if (index >= m_entries.size())
        return nullptr;
    const Entry& entry = m_entries[index];
    return entry.directory || entry.too_long || !entry.name_known ? nullptr : entry.name.c_str();
}

uint32_t Data_Pack::File_Size(const char* name)
{
    int index = Find_Entry(name);
    if (index < 0)
        return 0;
    // A member beyond 32 bits of size cannot be handed out whole.
    uint64_t size = m_entries[index].size;
    return size <= UINT32_MAX ? static_cast<uint32_t>(size) : 0;
}

uint32_t Data_Pack::Extract(const char* name, uint8_t** out)
{
    if (!out)
        return 0;
    *out = nullptr;
    int index = Find_Entry(name);
    if (index < 0)
        return 0;
    uint64_t size = m_entries[index].size;
    if (size == 0 || size > UINT32_MAX)
        return 0;
    uint8_t* buffer = new (std::nothrow) uint8_t[size];
    if (!buffer || !m_archive.Read(static_cast<size_t>(index), buffer))
    {
        delete[] buffer;
        m_log("Failed: 7z - extracting file \"%s\"???\n", name);
        return 0;
    }
    *out = buffer;
    return static_cast<uint32_t>(size);
}

void Data_Pack::Close()
{
    m_archive.Close();
    m_entries.clear();
}
