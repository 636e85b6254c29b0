// Fuzz target: the DDS reader on arbitrary bytes. A file it accepts must describe exactly the bytes it
// copied out: every level of every face at the size its format needs, and no more than
// the file held (three-byte pixels widen to four).
#include "platform/gpu_types.h"
#include "platform/image_file.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    platform::Decoded_Image image;
    if (!platform::Decode_Dds(data, size, image))
    {
        if (!image.bytes.empty())
            __builtin_trap();
        return 0;
    }
    const platform::Gpu_Texture_Desc& desc = image.desc;
    if (desc.width == 0 || desc.height == 0 || desc.mip_levels == 0 ||
        (desc.array_size != 1 && desc.array_size != 6))
        __builtin_trap();
    size_t needed = 0;
    for (uint32_t level = 0; level < desc.mip_levels; ++level)
    {
        uint32_t width = desc.width >> level ? desc.width >> level : 1;
        uint32_t height = desc.height >> level ? desc.height >> level : 1;
        needed += platform::Gpu_Level_Bytes(desc.format, width, height);
    }
    if (needed == 0 || needed * desc.array_size != image.bytes.size() || image.bytes.size() / 4 * 3 > size)
        __builtin_trap();
    return 0;
}
