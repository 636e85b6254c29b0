// The DDS reader: every size in the header is checked against the file before a byte is copied.
#include "platform/image_file.h"

#include <cstring>

namespace platform
{
namespace
{
constexpr uint32_t k_magic = 0x20534444; // "DDS "
constexpr uint32_t k_flag_mipmap_count = 0x20000;
constexpr uint32_t k_pf_alpha_pixels = 0x1;
constexpr uint32_t k_pf_fourcc = 0x4;
constexpr uint32_t k_pf_rgb = 0x40;
constexpr uint32_t k_caps2_cubemap = 0x200;
constexpr uint32_t k_caps2_all_faces = 0xFC00;
constexpr uint32_t k_caps2_volume = 0x200000;
constexpr uint32_t k_max_size = 16384;

constexpr uint32_t Four_CC(char a, char b, char c, char d)
{
    return static_cast<uint32_t>(static_cast<uint8_t>(a)) |
           static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24;
}

uint32_t Read32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

bool Supported_Dxgi(uint32_t format)
{
    switch (format)
    {
    case GPU_FORMAT_R8G8B8A8_UNORM:
    case GPU_FORMAT_B8G8R8A8_UNORM:
    case GPU_FORMAT_B8G8R8X8_UNORM:
    case GPU_FORMAT_BC1_UNORM:
    case GPU_FORMAT_BC2_UNORM:
    case GPU_FORMAT_BC3_UNORM:
        return true;
    default:
        return false;
    }
}
} // namespace

bool Decode_Dds(const uint8_t* data, size_t size, Decoded_Image& out)
{
    out = Decoded_Image{};
    if (!data || size < 128 || Read32(data) != k_magic)
        return false;
    const uint8_t* header = data + 4;
    if (Read32(header) != 124 || Read32(header + 72) != 32)
        return false;
    uint32_t flags = Read32(header + 4);
    uint32_t height = Read32(header + 8);
    uint32_t width = Read32(header + 12);
    uint32_t mips = (flags & k_flag_mipmap_count) ? Read32(header + 24) : 1;
    uint32_t pf_flags = Read32(header + 76);
    uint32_t four_cc = Read32(header + 80);
    uint32_t bit_count = Read32(header + 84);
    uint32_t masks[4] = {Read32(header + 88), Read32(header + 92), Read32(header + 96), Read32(header + 100)};
    uint32_t caps2 = Read32(header + 108);
    size_t offset = 128;

    if (width == 0 || height == 0 || width > k_max_size || height > k_max_size)
        return false;
    if (mips == 0)
        mips = 1;
    uint32_t full_chain = 1;
    for (uint32_t larger = width > height ? width : height; larger > 1; larger >>= 1)
        ++full_chain;
    if (mips > full_chain)
        return false;
    if (caps2 & k_caps2_volume)
        return false;
    bool cube = (caps2 & k_caps2_cubemap) != 0;
    if (cube && ((caps2 & k_caps2_all_faces) != k_caps2_all_faces || width != height))
        return false;

    uint32_t format = GPU_FORMAT_UNKNOWN;
    bool force_opaque = false;
    bool packed_rgb = false;
    if (pf_flags & k_pf_fourcc)
    {
        if (four_cc == Four_CC('D', 'X', 'T', '1'))
            format = GPU_FORMAT_BC1_UNORM;
        else if (four_cc == Four_CC('D', 'X', 'T', '2') || four_cc == Four_CC('D', 'X', 'T', '3'))
            format = GPU_FORMAT_BC2_UNORM;
        else if (four_cc == Four_CC('D', 'X', 'T', '4') || four_cc == Four_CC('D', 'X', 'T', '5'))
            format = GPU_FORMAT_BC3_UNORM;
        else if (four_cc == Four_CC('D', 'X', '1', '0'))
        {
            if (size < offset + 20)
                return false;
            const uint8_t* dx10 = data + offset;
            uint32_t dxgi = Read32(dx10);
            uint32_t dimension = Read32(dx10 + 4);
            uint32_t misc = Read32(dx10 + 8);
            uint32_t array_size = Read32(dx10 + 12);
            offset += 20;
            if (!Supported_Dxgi(dxgi) || dimension != 3 || array_size != 1)
                return false;
            bool dx10_cube = (misc & GPU_MISC_TEXTURE_CUBE) != 0;
            if (dx10_cube && width != height)
                return false;
            cube = dx10_cube;
            format = dxgi;
        }
        else
            return false;
    }
    else if ((pf_flags & k_pf_rgb) && bit_count == 32)
    {
        bool alpha = (pf_flags & k_pf_alpha_pixels) && masks[3] == 0xFF000000u;
        if (masks[0] == 0xFFu && masks[1] == 0xFF00u && masks[2] == 0xFF0000u)
        {
            format = GPU_FORMAT_R8G8B8A8_UNORM;
            force_opaque = !alpha;
        }
        else if (masks[0] == 0xFF0000u && masks[1] == 0xFF00u && masks[2] == 0xFFu)
            format = alpha ? GPU_FORMAT_B8G8R8A8_UNORM : GPU_FORMAT_B8G8R8X8_UNORM;
        else
            return false;
    }
    else if ((pf_flags & k_pf_rgb) && bit_count == 24)
    {
        // Three bytes a pixel, as paint programs save opaque pictures: widened to four, opaque.
        if (masks[0] == 0xFF0000u && masks[1] == 0xFF00u && masks[2] == 0xFFu)
            format = GPU_FORMAT_B8G8R8X8_UNORM;
        else if (masks[0] == 0xFFu && masks[1] == 0xFF00u && masks[2] == 0xFF0000u)
            format = GPU_FORMAT_R8G8B8A8_UNORM;
        else
            return false;
        packed_rgb = true;
    }
    else
        return false;

    uint32_t faces = cube ? 6 : 1;
    size_t needed = 0;
    for (uint32_t level = 0; level < mips; ++level)
    {
        uint32_t w = width >> level ? width >> level : 1;
        uint32_t h = height >> level ? height >> level : 1;
        needed += Gpu_Level_Bytes(format, w, h);
    }
    needed *= faces;
    size_t stored = packed_rgb ? needed / 4 * 3 : needed;
    if (offset > size || size - offset < stored)
        return false;

    out.desc.width = width;
    out.desc.height = height;
    out.desc.mip_levels = mips;
    out.desc.array_size = faces;
    out.desc.format = format;
    out.desc.bind_flags = GPU_BIND_SHADER_RESOURCE;
    out.desc.misc_flags = cube ? GPU_MISC_TEXTURE_CUBE : 0;
    if (packed_rgb)
    {
        out.bytes.resize(needed);
        const uint8_t* source = data + offset;
        for (size_t i = 0; i < needed; i += 4, source += 3)
        {
            std::memcpy(&out.bytes[i], source, 3);
            out.bytes[i + 3] = 0xFF;
        }
        return true;
    }
    out.bytes.assign(data + offset, data + offset + needed);
    if (force_opaque)
        for (size_t i = 3; i < out.bytes.size(); i += 4)
            out.bytes[i] = 0xFF;
    return true;
}
} // namespace platform
