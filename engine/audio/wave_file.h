// CWaveFile: reads a RIFF WAVE file, from the data pack or from disk: its format and its data chunk.
#pragma once
#include "platform/sound_device.h"

#include <cstdint>
#include <memory>

class CWaveFile
{
  public:
    CWaveFile() = default;
    CWaveFile(const CWaveFile&) = delete;
    CWaveFile& operator=(const CWaveFile&) = delete;
    ~CWaveFile() { Close(); }

    // From the data pack when it holds the path ("from resource... "), else from disk ("from disk... ").
    // False when the file cannot be read or is not a WAVE file with a format and a data chunk.
    bool Open(const char* path);
    // The same from bytes in memory (they are copied).
    bool Open_Memory(const uint8_t* bytes, uint32_t size);
    void Close();

    // Bytes of sample data (the data chunk as far as the file holds it).
    uint32_t Get_Size() const { return m_data_size; }
    const platform::Wave_Format* Get_Format() const { return m_open ? &m_format : nullptr; }
    // The format's extra bytes (Get_Format()->extra_size of them), for formats other than PCM.
    const uint8_t* Get_Format_Extra() const { return m_extra.get(); }
    // Reads up to `bytes` of the data chunk that have not been read yet; never past the chunk or the file.
    bool Read(uint8_t* buffer, uint32_t bytes, uint32_t* bytes_read);
    // Back to the start of the data chunk.
    void Rewind() { m_data_read = 0; }

  private:
    bool Open_Bytes(std::unique_ptr<uint8_t[]> bytes, uint32_t size);
    bool Read_Format();
    bool Find_Data();

    std::unique_ptr<uint8_t[]> m_bytes;
    uint32_t m_size = 0;
    bool m_open = false;
    uint32_t m_riff_end = 0; // end of the RIFF chunk's data, within the file
    platform::Wave_Format m_format;
    std::unique_ptr<uint8_t[]> m_extra;
    uint32_t m_data_offset = 0;
    uint32_t m_data_size = 0;
    uint32_t m_data_read = 0;
};
