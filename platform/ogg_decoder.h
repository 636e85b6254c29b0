// Ogg_Decoder: an Ogg Vorbis file decoded to 16-bit signed little-endian samples.
#pragma once
#include <cstdint>

namespace platform
{
class Ogg_Decoder
{
  public:
    Ogg_Decoder() = default;
    Ogg_Decoder(const Ogg_Decoder&) = delete;
    Ogg_Decoder& operator=(const Ogg_Decoder&) = delete;
    ~Ogg_Decoder() { Close(); }

    // Opens the file from disk. False when it is missing or not Ogg Vorbis; nothing stays open then.
    bool Open(const char* path);
    bool Is_Open() const { return m_file != nullptr; }
    int Channels() const { return m_channels; }
    uint32_t Rate() const { return m_rate; }
    // Decodes up to `bytes` bytes: the count written, 0 at the end of the stream, below 0 for a gap or a
    // damaged packet (the next read goes on after it).
    long Read(uint8_t* out, int bytes);
    // Back to the first sample. False when the stream cannot seek.
    bool Rewind();
    void Close();

  private:
    void* m_file = nullptr; // OggVorbis_File
    int m_channels = 0;
    uint32_t m_rate = 0;
};
} // namespace platform
