// Drawing by signed distance: coverage is taken from the distance at each pixel centre.
#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include <stb_image_write.h>

namespace assets
{
Colour Mix(const Colour& a, const Colour& b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Shape Rectangle(float x, float y, float w, float h, float radius)
{
    float cx = x + w / 2, cy = y + h / 2, hx = w / 2, hy = h / 2;
    float r = std::clamp(radius, 0.0f, std::min(hx, hy));
    Shape shape;
    shape.distance = [=](float px, float py)
    {
        float qx = std::fabs(px - cx) - (hx - r), qy = std::fabs(py - cy) - (hy - r);
        float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
        return outside + std::min(std::max(qx, qy), 0.0f) - r;
    };
    shape.x0 = x, shape.y0 = y, shape.x1 = x + w, shape.y1 = y + h;
    return shape;
}

Shape Ellipse(float cx, float cy, float rx, float ry)
{
    Shape shape;
    shape.distance = [=](float px, float py)
    {
        float dx = px - cx, dy = py - cy;
        if (rx == ry)
            return std::hypot(dx, dy) - rx;
        // First-order distance: the implicit function divided by the length of its gradient.
        float k0 = std::hypot(dx / rx, dy / ry);
        float k1 = std::hypot(dx / (rx * rx), dy / (ry * ry));
        return k1 > 0.0f ? k0 * (k0 - 1.0f) / k1 : -std::min(rx, ry);
    };
    shape.x0 = cx - rx, shape.y0 = cy - ry, shape.x1 = cx + rx, shape.y1 = cy + ry;
    return shape;
}

Shape Polygon(const std::vector<float>& xy)
{
    Shape shape;
    std::vector<float> points = xy;
    shape.distance = [points](float px, float py)
    {
        size_t n = points.size() / 2;
        float best = 1e30f;
        bool inside = false;
        for (size_t i = 0, j = n - 1; i < n; j = i++)
        {
            float ax = points[j * 2], ay = points[j * 2 + 1], bx = points[i * 2], by = points[i * 2 + 1];
            float ex = bx - ax, ey = by - ay, wx = px - ax, wy = py - ay;
            float length2 = ex * ex + ey * ey;
            float t = length2 > 0.0f ? std::clamp((wx * ex + wy * ey) / length2, 0.0f, 1.0f) : 0.0f;
            best = std::min(best, std::hypot(wx - ex * t, wy - ey * t));
            if ((ay > py) != (by > py) && px < ax + (py - ay) * ex / ey)
                inside = !inside;
        }
        return inside ? -best : best;
    };
    shape.x0 = shape.y0 = 1e30f, shape.x1 = shape.y1 = -1e30f;
    for (size_t i = 0; i + 1 < xy.size(); i += 2)
    {
        shape.x0 = std::min(shape.x0, xy[i]), shape.x1 = std::max(shape.x1, xy[i]);
        shape.y0 = std::min(shape.y0, xy[i + 1]), shape.y1 = std::max(shape.y1, xy[i + 1]);
    }
    return shape;
}

Shape Capsule(float x0, float y0, float x1, float y1, float width)
{
    Shape shape;
    float half = width / 2;
    shape.distance = [=](float px, float py)
    {
        float ex = x1 - x0, ey = y1 - y0, wx = px - x0, wy = py - y0;
        float length2 = ex * ex + ey * ey;
        float t = length2 > 0.0f ? std::clamp((wx * ex + wy * ey) / length2, 0.0f, 1.0f) : 0.0f;
        return std::hypot(wx - ex * t, wy - ey * t) - half;
    };
    shape.x0 = std::min(x0, x1) - half, shape.x1 = std::max(x0, x1) + half;
    shape.y0 = std::min(y0, y1) - half, shape.y1 = std::max(y0, y1) + half;
    return shape;
}

Paint Flat(const Colour& colour)
{
    return [colour](float, float) { return colour; };
}

Paint Linear_Gradient(float x0, float y0, float x1, float y1, const Colour& from, const Colour& to)
{
    float dx = x1 - x0, dy = y1 - y0, length2 = dx * dx + dy * dy;
    return [=](float x, float y)
    {
        float t = length2 > 0.0f ? ((x - x0) * dx + (y - y0) * dy) / length2 : 0.0f;
        return Mix(from, to, std::clamp(t, 0.0f, 1.0f));
    };
}

Paint Radial_Gradient(float cx, float cy, float radius, const Colour& from, const Colour& to)
{
    return [=](float x, float y)
    {
        float t = radius > 0.0f ? std::hypot(x - cx, y - cy) / radius : 1.0f;
        return Mix(from, to, std::clamp(t, 0.0f, 1.0f));
    };
}

static float Lattice(unsigned seed, int x, int y)
{
    uint32_t h =
        seed * 0x9E3779B1u ^ static_cast<uint32_t>(x) * 0x85EBCA77u ^ static_cast<uint32_t>(y) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return static_cast<float>(h & 0xFFFFFF) / static_cast<float>(0xFFFFFF);
}

Paint Noise(float scale, unsigned seed, const Colour& from, const Colour& to, float period)
{
    // A period makes the lattice repeat: the cell is stretched so that a whole number of cells fits.
    float cell0 = std::max(scale, 1.0f);
    int lattice_period = 0;
    if (period > 0)
    {
        lattice_period = std::max(1, static_cast<int>(std::lround(period / cell0)));
        cell0 = period / lattice_period;
    }
    return [=](float x, float y)
    {
        float total = 0.0f, weight = 0.0f, amplitude = 1.0f, cell = cell0;
        int wrap = lattice_period;
        for (int octave = 0; octave < 4; ++octave)
        {
            float u = x / cell, v = y / cell;
            int ix = static_cast<int>(std::floor(u)), iy = static_cast<int>(std::floor(v));
            float fx = u - ix, fy = v - iy;
            fx = fx * fx * (3 - 2 * fx), fy = fy * fy * (3 - 2 * fy);
            unsigned s = seed + static_cast<unsigned>(octave) * 101u;
            auto at = [&](int lx, int ly)
            {
                if (wrap > 0)
                    lx = ((lx % wrap) + wrap) % wrap;
                return Lattice(s, lx, ly);
            };
            float top = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * fx;
            float bottom = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * fx;
            total += (top + (bottom - top) * fy) * amplitude;
            weight += amplitude;
            amplitude *= 0.5f;
            if (cell / 2 >= 1.0f)
            {
                cell /= 2;
                wrap *= 2;
            }
        }
        return Mix(from, to, total / weight);
    };
}

static Colour Stop_At(const std::vector<Colour>& stops, float t)
{
    if (stops.empty())
        return {};
    if (stops.size() == 1)
        return stops[0];
    float f = std::clamp(t, 0.0f, 1.0f) * static_cast<float>(stops.size() - 1);
    size_t i = std::min(static_cast<size_t>(f), stops.size() - 2);
    return Mix(stops[i], stops[i + 1], f - static_cast<float>(i));
}

Paint Linear_Stops(float x0, float y0, float x1, float y1, const std::vector<Colour>& stops)
{
    float dx = x1 - x0, dy = y1 - y0, length2 = dx * dx + dy * dy;
    return [=](float x, float y)
    {
        float t = length2 > 0.0f ? ((x - x0) * dx + (y - y0) * dy) / length2 : 0.0f;
        return Stop_At(stops, t);
    };
}

Paint Radial_Stops(float cx, float cy, float radius, const std::vector<Colour>& stops)
{
    return [=](float x, float y)
    {
        float t = radius > 0.0f ? std::hypot(x - cx, y - cy) / radius : 1.0f;
        return Stop_At(stops, t);
    };
}

Paint Lit(const Shape& shape, float radius, const Colour& base, const Colour& light, const Colour& dark)
{
    auto distance = shape.distance;
    float r = std::max(radius, 0.5f);
    // Light from the top left and a little towards the viewer; y points down.
    const float lx = -0.55f, ly = -0.6f, lz = 0.58f;
    return [=](float x, float y)
    {
        float d = distance(x, y);
        float s = std::clamp(-d / r, 0.0f, 1.0f);
        float gx = distance(x + 0.5f, y) - distance(x - 0.5f, y);
        float gy = distance(x, y + 0.5f) - distance(x, y - 0.5f);
        float g = std::hypot(gx, gy);
        if (g > 0)
            gx /= g, gy /= g;
        // A quarter-circle profile: steep at the outline, flat where it reaches the radius.
        float q = 1.0f - s;
        float slope = q / std::sqrt(std::max(1.0f - q * q, 0.02f));
        slope = std::min(slope, 4.0f);
        float nx = gx * slope, ny = gy * slope, nz = 1.0f;
        float nl = std::sqrt(nx * nx + ny * ny + nz * nz);
        float lambert = (nx * lx + ny * ly + nz * lz) / nl;
        float v = (lambert - lz) / (1.0f - lz * 0.5f);
        Colour c =
            v >= 0 ? Mix(base, light, std::min(v * 1.6f, 1.0f)) : Mix(base, dark, std::min(-v * 1.25f, 1.0f));
        // The highlight: the mirror direction of the light meets the viewer.
        float rz = 2 * lambert * nz / nl - lz;
        float shine = std::pow(std::clamp(rz, 0.0f, 1.0f), 24.0f) * 0.55f;
        Colour white{1, 1, 1, c.a};
        return Mix(c, white, shine);
    };
}

Canvas::Canvas(int width, int height)
    : m_width(width), m_height(height), m_pixels(static_cast<size_t>(width) * height * 4, 0.0f)
{
}

void Canvas::Region(const Shape& shape, float margin, int& x0, int& y0, int& x1, int& y1) const
{
    x0 = std::clamp(static_cast<int>(std::floor(shape.x0 - margin)), 0, m_width);
    y0 = std::clamp(static_cast<int>(std::floor(shape.y0 - margin)), 0, m_height);
    x1 = std::clamp(static_cast<int>(std::ceil(shape.x1 + margin)) + 1, 0, m_width);
    y1 = std::clamp(static_cast<int>(std::ceil(shape.y1 + margin)) + 1, 0, m_height);
}

void Canvas::Blend(int x, int y, const Colour& colour, float coverage)
{
    float a = std::clamp(colour.a * coverage, 0.0f, 1.0f);
    if (a <= 0.0f)
        return;
    float* p = &m_pixels[(static_cast<size_t>(y) * m_width + x) * 4];
    p[0] = colour.r * a + p[0] * (1 - a);
    p[1] = colour.g * a + p[1] * (1 - a);
    p[2] = colour.b * a + p[2] * (1 - a);
    p[3] = a + p[3] * (1 - a);
}

void Canvas::Fill(const Shape& shape, const Paint& paint, float softness)
{
    int x0, y0, x1, y1;
    Region(shape, softness + 1, x0, y0, x1, y1);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
        {
            float px = x + 0.5f, py = y + 0.5f, d = shape.distance(px, py);
            float coverage =
                softness > 0.0f ? 0.5f * std::erfc(2.0f * d / softness) : std::clamp(0.5f - d, 0.0f, 1.0f);
            if (coverage > 0.0f)
                Blend(x, y, paint(px, py), coverage);
        }
}

void Canvas::Stroke(const Shape& shape, float width, const Paint& paint)
{
    int x0, y0, x1, y1;
    Region(shape, width, x0, y0, x1, y1);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
        {
            float px = x + 0.5f, py = y + 0.5f;
            float d = std::fabs(shape.distance(px, py)) - width / 2;
            float coverage = std::clamp(0.5f - d, 0.0f, 1.0f);
            if (coverage > 0.0f)
                Blend(x, y, paint(px, py), coverage);
        }
}

void Canvas::Bevel(const Shape& shape, float width, float light_degrees, const Colour& highlight,
                   const Colour& shade)
{
    float angle = light_degrees * 3.14159265f / 180.0f;
    float lx = std::cos(angle), ly = -std::sin(angle);
    int x0, y0, x1, y1;
    Region(shape, 1, x0, y0, x1, y1);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
        {
            float px = x + 0.5f, py = y + 0.5f, d = shape.distance(px, py);
            float coverage = std::clamp(0.5f - d, 0.0f, 1.0f) * std::clamp(0.5f + width + d, 0.0f, 1.0f);
            if (coverage <= 0.0f)
                continue;
            float gx = shape.distance(px + 0.25f, py) - shape.distance(px - 0.25f, py);
            float gy = shape.distance(px, py + 0.25f) - shape.distance(px, py - 0.25f);
            float length = std::hypot(gx, gy);
            if (length <= 0.0f)
                continue;
            float facing = (gx * lx + gy * ly) / length;
            if (facing > 0.0f)
                Blend(x, y, highlight, coverage * facing);
            else
                Blend(x, y, shade, coverage * -facing);
        }
}

void Canvas::Composite(const Canvas& layer, float opacity, bool additive)
{
    const std::vector<float>& src = layer.m_pixels;
    size_t n = std::min(src.size(), m_pixels.size());
    for (size_t i = 0; i < n; i += 4)
    {
        float a = src[i + 3] * opacity;
        if (a <= 0.0f)
            continue;
        if (additive)
        {
            for (int k = 0; k < 3; ++k)
                m_pixels[i + k] = std::min(m_pixels[i + k] + src[i + k] * opacity, 1.0f);
            m_pixels[i + 3] = a + m_pixels[i + 3] * (1 - a);
            continue;
        }
        for (int k = 0; k < 3; ++k)
            m_pixels[i + k] = src[i + k] * opacity + m_pixels[i + k] * (1 - a);
        m_pixels[i + 3] = a + m_pixels[i + 3] * (1 - a);
    }
}

Canvas Canvas::Dilated(float width, const Colour& colour, bool wrap_x) const
{
    Canvas out(m_width, m_height);
    int reach = static_cast<int>(std::ceil(width)) + 1;
    std::vector<float> weights;
    std::vector<int> offsets_x, offsets_y;
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx)
        {
            float w = std::clamp(width + 0.5f - std::hypot(static_cast<float>(dx), static_cast<float>(dy)),
                                 0.0f, 1.0f);
            if (w > 0)
                weights.push_back(w), offsets_x.push_back(dx), offsets_y.push_back(dy);
        }
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
        {
            float best = 0;
            for (size_t k = 0; k < weights.size() && best < 1.0f; ++k)
            {
                int sx = x + offsets_x[k], sy = y + offsets_y[k];
                if (wrap_x)
                    sx = (sx % m_width + m_width) % m_width;
                if (sx < 0 || sy < 0 || sx >= m_width || sy >= m_height)
                    continue;
                best =
                    std::max(best, m_pixels[(static_cast<size_t>(sy) * m_width + sx) * 4 + 3] * weights[k]);
            }
            float a = best * colour.a;
            float* p = &out.m_pixels[(static_cast<size_t>(y) * m_width + x) * 4];
            p[0] = colour.r * a, p[1] = colour.g * a, p[2] = colour.b * a, p[3] = a;
        }
    return out;
}

Canvas Canvas::Blurred(float radius, const Colour& colour, float dx, float dy, bool wrap_x) const
{
    // Three box blurs make a near-Gaussian one.
    std::vector<float> alpha(static_cast<size_t>(m_width) * m_height, 0.0f);
    int ox = static_cast<int>(std::lround(dx)), oy = static_cast<int>(std::lround(dy));
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
        {
            int sx = x - ox, sy = y - oy;
            if (wrap_x)
                sx = (sx % m_width + m_width) % m_width;
            if (sx >= 0 && sy >= 0 && sx < m_width && sy < m_height)
                alpha[static_cast<size_t>(y) * m_width + x] =
                    m_pixels[(static_cast<size_t>(sy) * m_width + sx) * 4 + 3];
        }
    int box = std::max(1, static_cast<int>(std::lround(radius / 1.7f)));
    std::vector<float> line;
    auto pass = [&](bool across)
    {
        const bool wraps = across && wrap_x;
        int length = across ? m_width : m_height, lines = across ? m_height : m_width;
        line.assign(static_cast<size_t>(length), 0.0f);
        for (int l = 0; l < lines; ++l)
        {
            auto at = [&](int i) -> float&
            {
                return across ? alpha[static_cast<size_t>(l) * m_width + i]
                              : alpha[static_cast<size_t>(i) * m_width + l];
            };
            for (int i = 0; i < length; ++i)
                line[i] = at(i);
            auto get = [&](int i)
            {
                if (wraps)
                    return line[static_cast<size_t>((i % length + length) % length)];
                return (i >= 0 && i < length) ? line[static_cast<size_t>(i)] : 0.0f;
            };
            float sum = 0;
            for (int i = -box; i <= box; ++i)
                sum += get(i);
            for (int i = 0; i < length; ++i)
            {
                at(i) = sum / (2 * box + 1);
                sum += get(i + box + 1) - get(i - box);
            }
        }
    };
    for (int k = 0; k < 3; ++k)
    {
        pass(true);
        pass(false);
    }
    Canvas out(m_width, m_height);
    for (size_t i = 0; i < alpha.size(); ++i)
    {
        float a = std::clamp(alpha[i], 0.0f, 1.0f) * colour.a;
        out.m_pixels[i * 4 + 0] = colour.r * a, out.m_pixels[i * 4 + 1] = colour.g * a;
        out.m_pixels[i * 4 + 2] = colour.b * a, out.m_pixels[i * 4 + 3] = a;
    }
    return out;
}

void Canvas::Mask(const Canvas& mask)
{
    size_t n = std::min(mask.m_pixels.size(), m_pixels.size());
    for (size_t i = 0; i < n; i += 4)
        for (int k = 0; k < 4; ++k)
            m_pixels[i + k] *= mask.m_pixels[i + 3];
}

Colour Canvas::Pixel(int x, int y) const
{
    const float* p = &m_pixels[(static_cast<size_t>(y) * m_width + x) * 4];
    if (p[3] <= 0.0f)
        return {0, 0, 0, 0};
    return {p[0] / p[3], p[1] / p[3], p[2] / p[3], p[3]};
}

static unsigned char To_Byte(float v)
{
    return static_cast<unsigned char>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

std::vector<unsigned char> Canvas::To_Rgba8() const
{
    size_t count = static_cast<size_t>(m_width) * m_height;
    std::vector<unsigned char> out(count * 4);
    std::vector<char> known(count, 0);
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
        {
            size_t i = static_cast<size_t>(y) * m_width + x;
            Colour c = Pixel(x, y);
            out[i * 4 + 0] = To_Byte(c.r), out[i * 4 + 1] = To_Byte(c.g), out[i * 4 + 2] = To_Byte(c.b);
            out[i * 4 + 3] = To_Byte(c.a);
            known[i] = out[i * 4 + 3] != 0;
        }
    // Spread the colour of painted pixels into the transparent ones around them, a ring at a time.
    for (int pass = 0; pass < 16; ++pass)
    {
        std::vector<char> next = known;
        bool changed = false;
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
            {
                size_t i = static_cast<size_t>(y) * m_width + x;
                if (known[i])
                    continue;
                int sum[3] = {0, 0, 0}, n = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                    {
                        int nx = x + dx, ny = y + dy;
                        if (nx < 0 || ny < 0 || nx >= m_width || ny >= m_height)
                            continue;
                        size_t j = static_cast<size_t>(ny) * m_width + nx;
                        if (!known[j])
                            continue;
                        for (int k = 0; k < 3; ++k)
                            sum[k] += out[j * 4 + k];
                        ++n;
                    }
                if (n == 0)
                    continue;
                for (int k = 0; k < 3; ++k)
                    out[i * 4 + k] = static_cast<unsigned char>((sum[k] + n / 2) / n);
                next[i] = 1;
                changed = true;
            }
        known.swap(next);
        if (!changed)
            break;
    }
    return out;
}

static void Append_Bytes(void* context, void* data, int size)
{
    auto* out = static_cast<std::vector<unsigned char>*>(context);
    auto* bytes = static_cast<unsigned char*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

std::vector<unsigned char> Encode_Png(const std::vector<unsigned char>& rgba, int width, int height)
{
    std::vector<unsigned char> png;
    stbi_write_png_to_func(Append_Bytes, &png, width, height, 4, rgba.data(), width * 4);
    return png;
}
} // namespace assets
