// Archive_File on libarchive's 7z reader.
#include "platform/archive_file.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace platform
{
namespace
{
constexpr size_t BLOCK_SIZE = 256 * 1024;

// libarchive turns the archive's UTF-16 names into the thread's multibyte locale. Under a UTF-8 locale no
// name is lost, whatever locale the process runs in.
class Utf8_Names
{
  public:
    Utf8_Names()
    {
        static locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
        m_previous = utf8 ? uselocale(utf8) : static_cast<locale_t>(0);
    }
    ~Utf8_Names()
    {
        if (m_previous)
            uselocale(m_previous);
    }
    Utf8_Names(const Utf8_Names&) = delete;
    Utf8_Names& operator=(const Utf8_Names&) = delete;

  private:
    locale_t m_previous;
};

// UTF-8 (as libarchive hands it) back to the UTF-16 code units of the archive. False on a malformed
// sequence.
bool Utf8_To_Utf16(const char* text, std::u16string& out)
{
    out.clear();
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (*p)
    {
        uint32_t code;
        int extra;
        if (*p < 0x80)
            code = *p, extra = 0;
        else if ((*p & 0xE0) == 0xC0)
            code = *p & 0x1F, extra = 1;
        else if ((*p & 0xF0) == 0xE0)
            code = *p & 0x0F, extra = 2;
        else if ((*p & 0xF8) == 0xF0)
            code = *p & 0x07, extra = 3;
        else
            return false;
        ++p;
        for (int i = 0; i < extra; ++i, ++p)
        {
            if ((*p & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (*p & 0x3F);
        }
        if (code > 0x10FFFF)
            return false;
        if (code >= 0x10000)
        {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        }
        else
            out.push_back(static_cast<char16_t>(code));
    }
    return true;
}
// CRC-32 carried across calls: start with 0xFFFFFFFF, finish with ~.
uint32_t Crc32_Update(uint32_t crc, const uint8_t* data, size_t size)
{
    for (size_t i = 0; i < size; ++i)
    {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc;
}

uint32_t Crc32(const uint8_t* data, size_t size)
{
    return ~Crc32_Update(0xFFFFFFFFu, data, size);
}

uint64_t Little_Endian(const uint8_t* bytes, int count)
{
    uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return value;
}

// The fixed 32-byte start header: the signature, a CRC that matches, and a table of members that lies
// inside the file and matches its own CRC. A damaged header is refused here, before the decoder sizes
// anything by it.
bool Start_Header_Is_Sound(int fd)
{
    static const uint8_t signature[6] = {'7', 'z', 0xBC, 0xAF, 0x27, 0x1C};
    uint8_t header[32];
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || pread(fd, header, sizeof(header), 0) != 32)
        return false;
    for (int i = 0; i < 6; ++i)
        if (header[i] != signature[i])
            return false;
    if (Crc32(header + 12, 20) != Little_Endian(header + 8, 4))
        return false;
    uint64_t file_size = static_cast<uint64_t>(info.st_size);
    uint64_t offset = Little_Endian(header + 12, 8);
    uint64_t size = Little_Endian(header + 20, 8);
    if (offset > file_size - 32 || size > file_size - 32 - offset)
        return false;
    uint32_t crc = 0xFFFFFFFFu;
    uint8_t chunk[65536];
    for (uint64_t done = 0; done < size;)
    {
        size_t want = static_cast<size_t>(size - done < sizeof(chunk) ? size - done : sizeof(chunk));
        if (pread(fd, chunk, want, static_cast<off_t>(32 + offset + done)) != static_cast<ssize_t>(want))
            return false;
        crc = Crc32_Update(crc, chunk, want);
        done += want;
    }
    return ~crc == Little_Endian(header + 28, 4);
}
} // namespace

struct archive* Archive_File::Start_Reader()
{
    if (lseek(m_fd, 0, SEEK_SET) != 0)
        return nullptr;
    struct archive* reader = archive_read_new();
    if (!reader)
        return nullptr;
    if (archive_read_support_format_7zip(reader) != ARCHIVE_OK ||
        archive_read_open_fd(reader, m_fd, BLOCK_SIZE) != ARCHIVE_OK)
    {
        archive_read_free(reader);
        return nullptr;
    }
    return reader;
}

Archive_Open Archive_File::Open(const char* path)
{
    Close();
    m_decoder_starts = 0;
    m_fd = path ? open(path, O_RDONLY | O_CLOEXEC) : -1;
    if (m_fd < 0)
        return Archive_Open::UNREADABLE;

    Utf8_Names names;
    struct archive* reader = Start_Header_Is_Sound(m_fd) ? Start_Reader() : nullptr;
    bool complete = false;
    while (reader)
    {
        struct archive_entry* entry = nullptr;
        int result = archive_read_next_header(reader, &entry);
        if (result == ARCHIVE_EOF)
        {
            complete = true;
            break;
        }
        if (result != ARCHIVE_OK && result != ARCHIVE_WARN)
            break;
        Archive_Member member;
        const char* name = archive_entry_pathname(entry);
        member.name_known = name && Utf8_To_Utf16(name, member.name);
        if (!member.name_known)
            member.name.clear();
        member.directory = archive_entry_filetype(entry) == AE_IFDIR;
        int64_t size = archive_entry_size_is_set(entry) ? archive_entry_size(entry) : 0;
        member.size = size > 0 ? static_cast<uint64_t>(size) : 0;
        m_members.push_back(std::move(member));
    }
    if (reader)
        archive_read_free(reader);
    if (!complete)
    {
        Close();
        return Archive_Open::INCOMPATIBLE;
    }
    return Archive_Open::OPENED;
}

void Archive_File::Stop_Decoder()
{
    if (m_decoder)
        archive_read_free(m_decoder);
    m_decoder = nullptr;
    m_decoder_next = 0;
}

void Archive_File::Close()
{
    Stop_Decoder();
    m_kept.clear();
    m_kept_bytes = 0;
    m_members.clear();
    if (m_fd >= 0)
        close(m_fd);
    m_fd = -1;
}

bool Archive_File::Decode_Current(struct archive_entry* entry, size_t index, uint8_t* out)
{
    const uint64_t size = m_members[index].size;
    if (archive_entry_size(entry) < 0 || static_cast<uint64_t>(archive_entry_size(entry)) != size)
        return false;
    uint64_t done = 0;
    while (done < size)
    {
        la_ssize_t got = archive_read_data(m_decoder, out + done, static_cast<size_t>(size - done));
        if (got <= 0)
            return false;
        done += static_cast<uint64_t>(got);
    }
    return true;
}

bool Archive_File::Read(size_t index, uint8_t* out)
{
    if (m_fd < 0 || index >= m_members.size())
        return false;
    if (m_kept.size() != m_members.size())
        m_kept.assign(m_members.size(), {});
    if (!m_kept[index].empty())
    {
        std::copy(m_kept[index].begin(), m_kept[index].end(), out);
        m_kept_bytes -= m_kept[index].size();
        std::vector<uint8_t>().swap(m_kept[index]);
        return true;
    }
    Utf8_Names names;
    if (!m_decoder || index < m_decoder_next)
    {
        Stop_Decoder();
        m_decoder = Start_Reader();
        if (!m_decoder)
            return false;
        ++m_decoder_starts;
    }
    // Walk forward to the member. Within a solid block the members passed over are decoded anyway, so
    // they are kept for a later request while the budget allows; the others are skipped.
    struct archive_entry* entry = nullptr;
    while (m_decoder_next <= index)
    {
        int result = archive_read_next_header(m_decoder, &entry);
        if (result != ARCHIVE_OK && result != ARCHIVE_WARN)
        {
            Stop_Decoder();
            return false;
        }
        const size_t passed = m_decoder_next++;
        const uint64_t size = m_members[passed].size;
        if (passed == index || size == 0 || m_members[passed].directory || !m_kept[passed].empty() ||
            m_kept_bytes + size > KEPT_BUDGET)
            continue;
        std::vector<uint8_t> bytes(static_cast<size_t>(size));
        if (!Decode_Current(entry, passed, bytes.data()))
        {
            Stop_Decoder();
            return false;
        }
        m_kept_bytes += bytes.size();
        m_kept[passed] = std::move(bytes);
    }
    if (!Decode_Current(entry, index, out))
    {
        Stop_Decoder();
        return false;
    }
    return true;
}
} // namespace platform
