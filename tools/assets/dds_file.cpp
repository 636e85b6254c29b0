// The DDS layout: "DDS ", a 124-byte header with its 32-byte pixel format, then the pixels.
#include "dds_file.h"

#include <algorithm>
#include <cstdint>

#include <stb_dxt.h>

namespace assets
{
namespace
{
void Put32(std::vector<unsigned char>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}
constexpr uint32_t Four_Cc(const char* t)
{
    return static_cast<uint32_t>(t[0]) | static_cast<uint32_t>(t[1]) << 8 |
           static_cast<uint32_t>(t[2]) << 16 | static_cast<uint32_t>(t[3]) << 24;
}
} // namespace

std::vector<unsigned char> Encode_Dds(const std::vector<unsigned char>& rgba, int width, int height,
                                      Dds_Format format)
{
    const bool compressed = format != Dds_Format::Bgra8;
    const uint32_t blocks = static_cast<uint32_t>((width + 3) / 4) * static_cast<uint32_t>((height + 3) / 4);
    const uint32_t block_bytes = format == Dds_Format::Dxt1 ? 8 : 16;
    std::vector<unsigned char> out;
    Put32(out, Four_Cc("DDS "));
    Put32(out, 124);
    // caps, height, width, pixel format, and the pitch or the linear size
    Put32(out, 0x1 | 0x2 | 0x4 | 0x1000 | (compressed ? 0x80000 : 0x8));
    Put32(out, static_cast<uint32_t>(height));
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, compressed ? blocks * block_bytes : static_cast<uint32_t>(width) * 4);
    Put32(out, 0); // depth
    Put32(out, 0); // mip levels: one
    for (int i = 0; i < 11; ++i)
        Put32(out, 0);
    Put32(out, 32);
    if (compressed)
    {
        Put32(out, 0x4); // four-cc
        Put32(out, Four_Cc(format == Dds_Format::Dxt1 ? "DXT1" : "DXT5"));
        for (int i = 0; i < 5; ++i)
            Put32(out, 0);
    }
    else
    {
        Put32(out, 0x40 | 0x1); // RGB with alpha
        Put32(out, 0);
        Put32(out, 32);
        Put32(out, 0x00FF0000), Put32(out, 0x0000FF00), Put32(out, 0x000000FF), Put32(out, 0xFF000000);
    }
    Put32(out, 0x1000); // a texture
    for (int i = 0; i < 4; ++i)
        Put32(out, 0);

    if (!compressed)
    {
        for (size_t i = 0; i + 3 < rgba.size(); i += 4)
            out.push_back(rgba[i + 2]), out.push_back(rgba[i + 1]), out.push_back(rgba[i]),
                out.push_back(rgba[i + 3]);
        return out;
    }
    unsigned char block[64], packed[16];
    for (int by = 0; by < height; by += 4)
        for (int bx = 0; bx < width; bx += 4)
        {
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 4; ++x)
                {
                    int sx = std::min(bx + x, width - 1), sy = std::min(by + y, height - 1);
                    std::copy_n(&rgba[(static_cast<size_t>(sy) * width + sx) * 4], 4,
                                &block[(y * 4 + x) * 4]);
                }
            stb_compress_dxt_block(packed, block, format == Dds_Format::Dxt5, STB_DXT_HIGHQUAL);
            out.insert(out.end(), packed, packed + block_bytes);
        }
    return out;
}
} // namespace assets
