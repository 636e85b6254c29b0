// Data_Pack: the optional 7z archive that every loader asks before the disk. Members are found by name
// without regard to case; the pack is read-only.
#pragma once
#include "platform/archive_file.h"

#include <cstdint>
#include <string>
#include <vector>

class Data_Pack
{
  public:
    // Where the pack's messages go: printf-style, each carrying its own line end.
    using Log_Function = void (*)(const char* format, ...);

    explicit Data_Pack(Log_Function log);
    Data_Pack(const Data_Pack&) = delete;
    Data_Pack& operator=(const Data_Pack&) = delete;
    ~Data_Pack() { Close(); }

    // Opens the archive; false (and a log line) when the file does not open or is no usable 7z archive.
    bool Open(const char* file_name);
    // Unpacked size of the member that serves the name; 0 when none does (an empty member counts as absent).
    uint32_t File_Size(const char* name);
    // The member extracted into a new[] buffer that the caller owns; its size, or 0 and no buffer when the
    // name is absent or decoding fails.
    uint32_t Extract(const char* name, uint8_t** out);
    void Close();
    bool Is_Open() const { return m_archive.Is_Open(); }

    // The archive's entries in archive order, for listing: the index of the entry that serves the name
    // (-1 when none does), the number of entries and an entry's name as lookups see it (null for
    // directories and for names too long to look at).
    int Find_Entry(const char* name);
    uint32_t Entry_Count() const { return static_cast<uint32_t>(m_entries.size()); }
    const char* Entry_Name(uint32_t index) const;

    const platform::Archive_File& Get_Archive() const { return m_archive; }

  private:
    // Names of 256 UTF-16 code units or more, terminator included, end every lookup that reaches them.
    static constexpr size_t MAX_NAME_UNITS = 256;

    struct Entry
    {
        std::string name; // the UTF-16 name narrowed to its low bytes
        bool directory = false;
        bool too_long = false;
        bool name_known = true;
        uint64_t size = 0;
    };

    Log_Function m_log;
    platform::Archive_File m_archive;
    std::vector<Entry> m_entries;
};
