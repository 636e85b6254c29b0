// Fuzz target: the WAVE reader on arbitrary bytes, opened from memory and read to the end.
#include "engine/audio/wave_file.h"
#include "engine/core/vorta_log.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    g_vorta_log.Set_Flags(LOG_OFF);
    if (size > 0xFFFFFFFFu)
        return 0;
    CWaveFile wave;
    if (!wave.Open_Memory(data, static_cast<uint32_t>(size)))
        return 0;
    const platform::Wave_Format* format = wave.Get_Format();
    volatile uint32_t sink = format->samples_per_sec;
    const uint8_t* extra = wave.Get_Format_Extra();
    for (uint16_t i = 0; extra && i < format->extra_size; ++i)
        sink = sink + extra[i];
    uint8_t part[257];
    uint32_t read = 0;
    uint32_t total = 0;
    while (wave.Read(part, sizeof(part), &read) && read > 0)
        total += read;
    if (total != wave.Get_Size())
        __builtin_trap();
    return 0;
}
