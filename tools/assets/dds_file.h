// DDS output: uncompressed 32-bit (B8G8R8A8) or block-compressed DXT1 / DXT5, one mip level.
#pragma once
#include <vector>

namespace assets
{
enum class Dds_Format
{
    Bgra8,
    Dxt1,
    Dxt5
};

// Encodes RGBA8 pixels (straight alpha). DXT blocks at the right and bottom edges repeat the last column
// and row when the size is not a multiple of 4.
std::vector<unsigned char> Encode_Dds(const std::vector<unsigned char>& rgba, int width, int height,
                                      Dds_Format format);
} // namespace assets
