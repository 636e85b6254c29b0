// Ogg_Decoder on vorbisfile.
#include "platform/ogg_decoder.h"

#include <cstdio>
#include <new>
#include <vorbis/vorbisfile.h>

namespace platform
{
bool Ogg_Decoder::Open(const char* path)
{
    Close();
    if (!path)
        return false;
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return false;
    auto* vorbis = new (std::nothrow) OggVorbis_File;
    if (!vorbis)
    {
        std::fclose(file);
        return false;
    }
    if (ov_open(file, vorbis, nullptr, 0) != 0)
    {
        std::fclose(file);
        delete vorbis;
        return false;
    }
    // From here ov_clear closes the file.
    vorbis_info* info = ov_info(vorbis, -1);
    if (!info || info->channels <= 0 || info->rate <= 0)
    {
        ov_clear(vorbis);
        delete vorbis;
        return false;
    }
    m_channels = info->channels;
    m_rate = static_cast<uint32_t>(info->rate);
    m_file = vorbis;
    return true;
}

long Ogg_Decoder::Read(uint8_t* out, int bytes)
{
    if (!m_file || !out || bytes <= 0)
        return 0;
    int section = 0;
    // Little-endian, 16-bit words, signed.
    return ov_read(static_cast<OggVorbis_File*>(m_file), reinterpret_cast<char*>(out), bytes, 0, 2, 1,
                   &section);
}

bool Ogg_Decoder::Rewind()
{
    return m_file && ov_time_seek(static_cast<OggVorbis_File*>(m_file), 0.0) == 0;
}

void Ogg_Decoder::Close()
{
    if (!m_file)
        return;
    auto* vorbis = static_cast<OggVorbis_File*>(m_file);
    ov_clear(vorbis);
    delete vorbis;
    m_file = nullptr;
    m_channels = 0;
    m_rate = 0;
}
} // namespace platform
