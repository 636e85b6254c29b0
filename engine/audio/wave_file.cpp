// CWaveFile: our own RIFF reader over the whole file in memory. Chunks are walked by their headers; a chunk
// that claims more bytes than the file holds is cut at the end of the file.
#include "engine/audio/wave_file.h"

#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"

#include <cstdio>
#include <cstring>
#include <new>

namespace
{
constexpr uint32_t CHUNK_HEADER = 8;
constexpr uint32_t RIFF_FORM_START = 12; // after "RIFF", its size and "WAVE"
constexpr uint32_t PCM_FORMAT_BYTES = 16;

uint16_t Get_16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t Get_32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// The whole file; null when it cannot be read or is larger than 4 GB.
std::unique_ptr<uint8_t[]> Read_Disk_File(const char* path, uint32_t& size)
{
    size = 0;
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return nullptr;
    std::unique_ptr<uint8_t[]> bytes;
    long length = -1;
    if (std::fseek(file, 0, SEEK_END) == 0)
        length = std::ftell(file);
    if (length >= 0 && static_cast<unsigned long>(length) <= 0xFFFFFFFFul &&
        std::fseek(file, 0, SEEK_SET) == 0)
    {
        bytes.reset(new (std::nothrow) uint8_t[length > 0 ? length : 1]);
        if (bytes &&
            std::fread(bytes.get(), 1, static_cast<size_t>(length), file) == static_cast<size_t>(length))
            size = static_cast<uint32_t>(length);
        else
            bytes.reset();
    }
    std::fclose(file);
    return bytes;
}
} // namespace

bool CWaveFile::Open(const char* path)
{
    Close();
    if (g_vorta_engine)
        g_vorta_engine->Pump_Messages();
    if (!path)
        return false;
    if (g_vorta_engine && g_vorta_engine->Pack_File_Size(path) > 0)
    {
        Print_Message("from resource... ");
        uint8_t* packed = nullptr;
        uint32_t size = g_vorta_engine->Pack_Extract(path, &packed);
        if (packed && size > 0)
            return Open_Bytes(std::unique_ptr<uint8_t[]>(packed), size);
        delete[] packed;
    }
    Print_Message("from disk... ");
    uint32_t size = 0;
    std::unique_ptr<uint8_t[]> bytes = Read_Disk_File(path, size);
    if (!bytes)
        return false;
    return Open_Bytes(std::move(bytes), size);
}

bool CWaveFile::Open_Memory(const uint8_t* bytes, uint32_t size)
{
    Close();
    if (!bytes && size)
        return false;
    std::unique_ptr<uint8_t[]> copy(new (std::nothrow) uint8_t[size ? size : 1]);
    if (!copy)
        return false;
    if (size)
        std::memcpy(copy.get(), bytes, size);
    return Open_Bytes(std::move(copy), size);
}

bool CWaveFile::Open_Bytes(std::unique_ptr<uint8_t[]> bytes, uint32_t size)
{
    m_bytes = std::move(bytes);
    m_size = size;
    if (!Read_Format())
    {
        Print_Message("Error!!! - CWaveFile::Open - ReadMMIO\n");
        Close();
        return false;
    }
    if (!Find_Data())
    {
        Print_Message("Error!!! - CWaveFile::Open - ResetFile\n");
        Close();
        return false;
    }
    m_open = true;
    return true;
}

bool CWaveFile::Read_Format()
{
    const uint8_t* file = m_bytes.get();
    // The first chunk: "RIFF", its size and the form type.
    if (m_size < RIFF_FORM_START)
    {
        Print_Message("Error!!! - CWaveFile::ReadMMIO - mmioDescend\n");
        return false;
    }
    if (std::memcmp(file, "RIFF", 4) != 0 || std::memcmp(file + 8, "WAVE", 4) != 0)
    {
        Print_Message("Error!!! - CWaveFile::ReadMMIO - mmioFOURCC\n");
        return false;
    }
    uint64_t riff_end = uint64_t{CHUNK_HEADER} + Get_32(file + 4);
    m_riff_end = riff_end < m_size ? static_cast<uint32_t>(riff_end) : m_size;

    // The "fmt " chunk, skipping whatever comes before it.
    uint64_t at = RIFF_FORM_START;
    uint32_t chunk_size = 0;
    for (;;)
    {
        if (at + CHUNK_HEADER > m_riff_end)
        {
            Print_Message("Error!!! - CWaveFile::ReadMMIO - mmioDescend\n");
            return false;
        }
        chunk_size = Get_32(file + at + 4);
        if (std::memcmp(file + at, "fmt ", 4) == 0)
            break;
        at += uint64_t{CHUNK_HEADER} + chunk_size + (chunk_size & 1);
    }
    uint64_t format_at = at + CHUNK_HEADER;
    uint64_t format_end = format_at + chunk_size;
    if (chunk_size < PCM_FORMAT_BYTES)
    {
        Print_Message("Error!!! - CWaveFile::ReadMMIO - sizeof(PCMWAVEFORMAT\n");
        return false;
    }
    if (format_at + PCM_FORMAT_BYTES > m_riff_end)
    {
        Print_Message("Error!!! - CWaveFile::ReadMMIO - mmioRead\n");
        return false;
    }
    const uint8_t* f = file + format_at;
    m_format = platform::Wave_Format{};
    m_format.format_tag = Get_16(f);
    m_format.channels = Get_16(f + 2);
    m_format.samples_per_sec = Get_32(f + 4);
    m_format.avg_bytes_per_sec = Get_32(f + 8);
    m_format.block_align = Get_16(f + 12);
    m_format.bits_per_sample = Get_16(f + 14);
    m_format.extra_size = 0;

    // Formats other than PCM carry a count of extra bytes and the bytes; a bare 16-byte chunk has none.
    if (m_format.format_tag != platform::WAVE_FORMAT_PCM && chunk_size > PCM_FORMAT_BYTES)
    {
        if (chunk_size < PCM_FORMAT_BYTES + 2 || format_at + PCM_FORMAT_BYTES + 2 > m_riff_end)
        {
            Print_Message("Error!!! - CWaveFile::ReadMMIO - mmioRead\n");
            return false;
        }
        uint16_t extra = Get_16(f + 16);
        if (format_at + PCM_FORMAT_BYTES + 2 + extra > format_end ||
            format_at + PCM_FORMAT_BYTES + 2 + extra > m_riff_end)
        {
            Print_Message("Error!!! - CWaveFile::ReadMMIO - mmioRead\n");
            return false;
        }
        if (extra)
        {
            m_extra.reset(new (std::nothrow) uint8_t[extra]);
            if (!m_extra)
            {
                Print_Message("Error!!! - CWaveFile::ReadMMIO - new\n");
                return false;
            }
            std::memcpy(m_extra.get(), f + 18, extra);
        }
        m_format.extra_size = extra;
    }
    // Out of "fmt ": the chunk must end within the file.
    if (format_end > m_riff_end)
    {
        Print_Message("Error!!! - CWaveFile::ReadMMIO - mmioAscend\n");
        return false;
    }
    return true;
}

bool CWaveFile::Find_Data()
{
    const uint8_t* file = m_bytes.get();
    uint64_t at = RIFF_FORM_START;
    for (;;)
    {
        if (at + CHUNK_HEADER > m_riff_end)
        {
            Print_Message("Error!!! - CWaveFile::ResetFile - mmioDescend\n");
            return false;
        }
        uint32_t chunk_size = Get_32(file + at + 4);
        if (std::memcmp(file + at, "data", 4) == 0)
        {
            m_data_offset = static_cast<uint32_t>(at + CHUNK_HEADER);
            uint32_t held = m_riff_end - m_data_offset;
            m_data_size = chunk_size < held ? chunk_size : held;
            m_data_read = 0;
            return true;
        }
        at += uint64_t{CHUNK_HEADER} + chunk_size + (chunk_size & 1);
    }
}

bool CWaveFile::Read(uint8_t* buffer, uint32_t bytes, uint32_t* bytes_read)
{
    if (!buffer || !bytes_read)
        return false;
    *bytes_read = 0;
    if (!m_open)
        return false;
    uint32_t left = m_data_size - m_data_read;
    uint32_t count = bytes < left ? bytes : left;
    std::memcpy(buffer, m_bytes.get() + m_data_offset + m_data_read, count);
    m_data_read += count;
    *bytes_read = count;
    return true;
}

void CWaveFile::Close()
{
    m_bytes.reset();
    m_extra.reset();
    m_size = 0;
    m_open = false;
    m_riff_end = 0;
    m_format = platform::Wave_Format{};
    m_data_offset = m_data_size = m_data_read = 0;
}
