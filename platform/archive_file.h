// Reading 7z archives: the table of members and the decoding of one member at a time. Members are decoded
// in archive order; those the decoder passes on its way to a member are kept (up to a budget) until they
// are asked for, so that members asked for in any order are each decoded once.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct archive;
struct archive_entry;

namespace platform
{
struct Archive_Member
{
    std::u16string name;    // UTF-16 code units as the archive stores them, without a terminator
    bool name_known = true; // false when the archive's name could not be decoded (the name is then empty)
    bool directory = false;
    uint64_t size = 0; // unpacked size
};

enum class Archive_Open
{
    OPENED,
    UNREADABLE,   // the file does not open for reading
    INCOMPATIBLE, // not a 7z archive, or a damaged one
};

class Archive_File
{
  public:
    Archive_File() = default;
    Archive_File(const Archive_File&) = delete;
    Archive_File& operator=(const Archive_File&) = delete;
    ~Archive_File() { Close(); }

    // Opens the file and reads its table of members (no member is decoded).
    Archive_Open Open(const char* path);
    void Close();
    bool Is_Open() const { return m_fd >= 0; }

    size_t Member_Count() const { return m_members.size(); }
    const Archive_Member& Member(size_t index) const { return m_members[index]; }

    // Decodes member `index` into out, which holds its whole unpacked size. False on a decoder error or
    // when the member does not yield exactly that many bytes.
    bool Read(size_t index, uint8_t* out);

    // How many times the decoder was started from the beginning of the archive.
    uint32_t Decoder_Starts() const { return m_decoder_starts; }
    // Bytes of passed-over members kept for a later request, and the most that are kept.
    size_t Kept_Bytes() const { return m_kept_bytes; }
    static constexpr size_t KEPT_BUDGET = 64u << 20;

  private:
    struct archive* Start_Reader();
    void Stop_Decoder();
    // Reads the data of the member whose header the decoder has just read; false unless it is whole.
    bool Decode_Current(struct archive_entry* entry, size_t index, uint8_t* out);

    int m_fd = -1;
    std::vector<Archive_Member> m_members;
    // The decoder stays positioned after the last member it read.
    struct archive* m_decoder = nullptr;
    size_t m_decoder_next = 0; // index of the member whose header the decoder reads next
    uint32_t m_decoder_starts = 0;
    // Members decoded on the way to another, by index (empty when not kept); handed out once.
    std::vector<std::vector<uint8_t>> m_kept;
    size_t m_kept_bytes = 0;
};
} // namespace platform
