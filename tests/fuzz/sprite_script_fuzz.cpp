// Sprite scripts of any bytes: the reader must never crash, hang or read out of bounds. Runs without a
// device, so texture and frame lines fail the way they do when the device refuses them.
#include "engine/core/text_file.h"
#include "engine/core/vorta_log.h"
#include "engine/render/sprite.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("VORTA5_HEADLESS", "1", 1);
    g_vorta_log.Set_Flags(LOG_OFF);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0 || size > (1u << 20))
        return 0;
    uint8_t* copy = new uint8_t[size];
    std::memcpy(copy, data, size);
    Text_File file;
    file.Set_Data(copy, static_cast<uint32_t>(size), false);
    Sprite sprite(nullptr);
    sprite.Read_Script(file, "fuzz.spr");
    // Text measuring walks the cells the script made, codes cut short at the end included.
    const std::string text(reinterpret_cast<const char*>(data), size);
    sprite.Text_Width(text.c_str(), 0.05f, true, false);
    sprite.Text_Width(text.c_str(), 0.05f, false, true);
    return 0;
}
