// Mip chains for pictures loaded with one level: each level a box-filtered half of the one above, down to
// 1 x 1, so that sprites drawn smaller than their texture are sampled from a level of about their size.
#include "platform/image_file.h"

#include <algorithm>
#include <cmath>

namespace platform
{
namespace
{
// The source pixels one destination pixel covers along an axis, with the share of each (up to four: a
// level of an odd size covers a little more than two pixels of the level above).
struct Taps
{
    uint32_t first = 0;
    int count = 0;
    float weight[4] = {};
};

std::vector<Taps> Axis_Taps(uint32_t source, uint32_t destination)
{
    std::vector<Taps> taps(destination);
    double step = static_cast<double>(source) / destination;
    for (uint32_t d = 0; d < destination; ++d)
    {
        double start = d * step, end = (d + 1) * step;
        Taps& t = taps[d];
        t.first = static_cast<uint32_t>(start);
        for (uint32_t s = t.first; s < source && s < end && t.count < 4; ++s)
            t.weight[t.count++] =
                static_cast<float>((std::min<double>(end, s + 1) - std::max<double>(start, s)) / step);
    }
    return taps;
}

// One level from the level above. Colours are averaged by coverage (weighted by alpha), so that the
// colour of transparent pixels never darkens or tints an edge; where the whole footprint is transparent
// the plain average keeps the colour the picture gave its transparent pixels.
void Half_Level(const uint8_t* source, uint32_t sw, uint32_t sh, uint8_t* out, uint32_t dw, uint32_t dh,
                bool alpha)
{
    if (sw == 2 * dw && sh == 2 * dh)
    {
        // Even sizes (most of every picture's first levels): each pixel from a 2 x 2 block, in integers.
        for (uint32_t y = 0; y < dh; ++y)
        {
            const uint8_t* top = source + static_cast<size_t>(2 * y) * sw * 4;
            const uint8_t* bottom = top + static_cast<size_t>(sw) * 4;
            uint8_t* q = out + static_cast<size_t>(y) * dw * 4;
            for (uint32_t x = 0; x < dw; ++x, top += 8, bottom += 8, q += 4)
            {
                const uint8_t* p[4] = {top, top + 4, bottom, bottom + 4};
                uint32_t a[4];
                for (int k = 0; k < 4; ++k)
                    a[k] = alpha ? p[k][3] : 255u;
                uint32_t coverage = a[0] + a[1] + a[2] + a[3];
                float scale = coverage ? 1.0f / coverage : 0.0f;
                for (int c = 0; c < 3; ++c)
                {
                    if (coverage)
                    {
                        uint32_t sum = a[0] * p[0][c] + a[1] * p[1][c] + a[2] * p[2][c] + a[3] * p[3][c];
                        q[c] = static_cast<uint8_t>(std::min(255.0f, sum * scale + 0.5f));
                    }
                    else
                    {
                        q[c] = static_cast<uint8_t>((p[0][c] + p[1][c] + p[2][c] + p[3][c] + 2u) / 4u);
                    }
                }
                q[3] = static_cast<uint8_t>((p[0][3] + p[1][3] + p[2][3] + p[3][3] + 2u) / 4u);
            }
        }
        return;
    }
    std::vector<Taps> across = Axis_Taps(sw, dw), down = Axis_Taps(sh, dh);
    for (uint32_t y = 0; y < dh; ++y)
        for (uint32_t x = 0; x < dw; ++x)
        {
            const Taps& ty = down[y];
            const Taps& tx = across[x];
            float covered[3] = {}, plain[4] = {}, coverage = 0;
            for (int j = 0; j < ty.count; ++j)
            {
                const uint8_t* row = source + (static_cast<size_t>(ty.first + j) * sw + tx.first) * 4;
                for (int i = 0; i < tx.count; ++i)
                {
                    const uint8_t* p = row + i * 4;
                    float w = ty.weight[j] * tx.weight[i];
                    float a = alpha ? w * p[3] : w * 255.0f;
                    for (int c = 0; c < 3; ++c)
                    {
                        covered[c] += a * p[c];
                        plain[c] += w * p[c];
                    }
                    plain[3] += w * p[3];
                    coverage += a;
                }
            }
            uint8_t* q = out + (static_cast<size_t>(y) * dw + x) * 4;
            for (int c = 0; c < 3; ++c)
            {
                float v = coverage > 0 ? covered[c] / coverage : plain[c];
                q[c] = static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 255.0f)));
            }
            q[3] = static_cast<uint8_t>(std::lround(std::clamp(plain[3], 0.0f, 255.0f)));
        }
}
} // namespace

bool Build_Mip_Chain(Decoded_Image& image)
{
    Gpu_Texture_Desc& desc = image.desc;
    bool four_bytes = desc.format == GPU_FORMAT_R8G8B8A8_UNORM || desc.format == GPU_FORMAT_B8G8R8A8_UNORM ||
                      desc.format == GPU_FORMAT_B8G8R8X8_UNORM;
    size_t level0 = Gpu_Level_Bytes(desc.format, desc.width, desc.height);
    if (!four_bytes || desc.mip_levels != 1 || desc.array_size != 1 ||
        (desc.misc_flags & GPU_MISC_TEXTURE_CUBE) || desc.width == 0 || desc.height == 0 ||
        image.bytes.size() < level0)
        return false;
    uint32_t levels = 1;
    size_t total = level0;
    for (uint32_t w = desc.width, h = desc.height; w > 1 || h > 1; ++levels)
    {
        w = std::max(1u, w / 2), h = std::max(1u, h / 2);
        total += Gpu_Level_Bytes(desc.format, w, h);
    }
    if (levels == 1)
        return false;
    image.bytes.resize(total);
    // The alpha of an X8 format is not part of the picture: every pixel counts in full.
    bool alpha = desc.format != GPU_FORMAT_B8G8R8X8_UNORM;
    size_t at = 0;
    for (uint32_t level = 1, w = desc.width, h = desc.height; level < levels; ++level)
    {
        uint32_t dw = std::max(1u, w / 2), dh = std::max(1u, h / 2);
        size_t size = Gpu_Level_Bytes(desc.format, w, h);
        Half_Level(image.bytes.data() + at, w, h, image.bytes.data() + at + size, dw, dh, alpha);
        at += size;
        w = dw, h = dh;
    }
    desc.mip_levels = levels;
    return true;
}
} // namespace platform
