// Reading 7z archives: the table of members and the decoding of one member at a time. Reading members in
// archive order decodes each solid block once; a request that goes backwards starts the decoder over.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct archive;

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

  private:
    struct archive* Start_Reader();
    void Stop_Decoder();

    int m_fd = -1;
    std::vector<Archive_Member> m_members;
    // The decoder stays positioned after the last member it read.
    struct archive* m_decoder = nullptr;
    size_t m_decoder_next = 0; // index of the member whose header the decoder reads next
    uint32_t m_decoder_starts = 0;
};
} // namespace platform
