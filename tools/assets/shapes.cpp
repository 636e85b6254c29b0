// Segment outlines with a bucket grid (so that distances stay cheap for paths and letters of hundreds of
// segments), transforms, combinations and text.
#include "shapes.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>

#include <stb_truetype.h>

namespace assets
{
namespace
{
constexpr float k_pi = 3.14159265358979f;
constexpr float k_far = 1e6f;

struct Segment
{
    float ax, ay, bx, by;
};

// The segments of the outlines, bucketed by a square grid for the distance and by rows for the winding.
class Outline_Data
{
  public:
    explicit Outline_Data(const std::vector<Contour>& contours)
    {
        for (const Contour& c : contours)
        {
            size_t n = c.size() / 2;
            if (n < 2)
                continue;
            for (size_t i = 0; i < n; ++i)
            {
                size_t j = (i + 1) % n;
                Segment s{c[i * 2], c[i * 2 + 1], c[j * 2], c[j * 2 + 1]};
                if (s.ax == s.bx && s.ay == s.by)
                    continue;
                m_segments.push_back(s);
            }
        }
        x0 = y0 = k_far, x1 = y1 = -k_far;
        for (const Segment& s : m_segments)
        {
            x0 = std::min({x0, s.ax, s.bx}), x1 = std::max({x1, s.ax, s.bx});
            y0 = std::min({y0, s.ay, s.by}), y1 = std::max({y1, s.ay, s.by});
        }
        if (m_segments.empty())
        {
            x0 = y0 = x1 = y1 = 0;
            return;
        }
        m_cell = std::max(4.0f, std::max(x1 - x0, y1 - y0) / 48.0f);
        m_columns = std::max(1, static_cast<int>(std::ceil((x1 - x0) / m_cell)) + 1);
        m_rows = std::max(1, static_cast<int>(std::ceil((y1 - y0) / m_cell)) + 1);
        m_grid.assign(static_cast<size_t>(m_columns) * m_rows, {});
        m_row_lists.assign(static_cast<size_t>(m_rows), {});
        for (size_t k = 0; k < m_segments.size(); ++k)
        {
            const Segment& s = m_segments[k];
            int c0 = Column(std::min(s.ax, s.bx)), c1 = Column(std::max(s.ax, s.bx));
            int r0 = Row(std::min(s.ay, s.by)), r1 = Row(std::max(s.ay, s.by));
            for (int r = r0; r <= r1; ++r)
            {
                m_row_lists[r].push_back(static_cast<int>(k));
                for (int c = c0; c <= c1; ++c)
                    m_grid[static_cast<size_t>(r) * m_columns + c].push_back(static_cast<int>(k));
            }
        }
    }

    float Distance(float px, float py) const
    {
        if (m_segments.empty())
            return k_far;
        float best = Nearest(px, py);
        return Inside(px, py) ? -best : best;
    }

    float x0, y0, x1, y1;

  private:
    int Column(float x) const { return std::clamp(static_cast<int>((x - x0) / m_cell), 0, m_columns - 1); }
    int Row(float y) const { return std::clamp(static_cast<int>((y - y0) / m_cell), 0, m_rows - 1); }

    static float Segment_Distance2(const Segment& s, float px, float py)
    {
        float ex = s.bx - s.ax, ey = s.by - s.ay, wx = px - s.ax, wy = py - s.ay;
        float l2 = ex * ex + ey * ey;
        float t = l2 > 0 ? std::clamp((wx * ex + wy * ey) / l2, 0.0f, 1.0f) : 0.0f;
        float dx = wx - ex * t, dy = wy - ey * t;
        return dx * dx + dy * dy;
    }

    float Nearest(float px, float py) const
    {
        int cx = Column(px), cy = Row(py);
        // How far the point lies outside the grid: the rings below start from its nearest cell.
        float outside = std::hypot(std::max({x0 - px, px - x1, 0.0f}), std::max({y0 - py, py - y1, 0.0f}));
        float best2 = k_far * k_far;
        int most = std::max(m_columns, m_rows);
        for (int r = 0; r <= most; ++r)
        {
            for (int y = cy - r; y <= cy + r; ++y)
            {
                if (y < 0 || y >= m_rows)
                    continue;
                bool edge_row = y == cy - r || y == cy + r;
                for (int x = cx - r; x <= cx + r; x += (edge_row ? 1 : 2 * r))
                {
                    if (x >= 0 && x < m_columns)
                        for (int k : m_grid[static_cast<size_t>(y) * m_columns + x])
                            best2 = std::min(best2, Segment_Distance2(m_segments[k], px, py));
                    if (r == 0)
                        break;
                }
            }
            float reach = r * m_cell + outside;
            if (best2 <= reach * reach)
                break;
        }
        return std::sqrt(best2);
    }

    bool Inside(float px, float py) const
    {
        if (px < x0 || px > x1 || py < y0 || py > y1)
            return false;
        int winding = 0;
        for (int k : m_row_lists[Row(py)])
        {
            const Segment& s = m_segments[k];
            bool up = s.ay <= py && s.by > py, down = s.by <= py && s.ay > py;
            if (!up && !down)
                continue;
            float x = s.ax + (py - s.ay) * (s.bx - s.ax) / (s.by - s.ay);
            if (x > px)
                winding += up ? 1 : -1;
        }
        return winding != 0;
    }

    std::vector<Segment> m_segments;
    float m_cell = 4;
    int m_columns = 1, m_rows = 1;
    std::vector<std::vector<int>> m_grid;
    std::vector<std::vector<int>> m_row_lists;
};
} // namespace

Affine Affine::Then(const Affine& n) const
{
    return {n.a * a + n.b * d, n.a * b + n.b * e, n.a * c + n.b * f + n.c,
            n.d * a + n.e * d, n.d * b + n.e * e, n.d * c + n.e * f + n.f};
}

Affine Affine::Inverse() const
{
    float det = a * e - b * d;
    if (det == 0)
        return {};
    float ia = e / det, ib = -b / det, id = -d / det, ie = a / det;
    return {ia, ib, -(ia * c + ib * f), id, ie, -(id * c + ie * f)};
}

void Affine::Apply(float x, float y, float& ox, float& oy) const
{
    ox = a * x + b * y + c;
    oy = d * x + e * y + f;
}

float Affine::Scale() const
{
    return std::min(std::hypot(a, d), std::hypot(b, e));
}

Affine Affine::Translation(float x, float y)
{
    return {1, 0, x, 0, 1, y};
}

Affine Affine::Rotation(float degrees, float cx, float cy)
{
    // Counter-clockwise on screen (y points down) for positive angles.
    float r = -degrees * k_pi / 180.0f, cs = std::cos(r), sn = std::sin(r);
    return {cs, -sn, cx - cs * cx + sn * cy, sn, cs, cy - sn * cx - cs * cy};
}

Affine Affine::Scaling(float sx, float sy, float cx, float cy)
{
    return {sx, 0, cx - sx * cx, 0, sy, cy - sy * cy};
}

Shape Outline_Shape(const std::vector<Contour>& contours)
{
    auto data = std::make_shared<Outline_Data>(contours);
    Shape shape;
    shape.distance = [data](float x, float y) { return data->Distance(x, y); };
    shape.x0 = data->x0, shape.y0 = data->y0, shape.x1 = data->x1, shape.y1 = data->y1;
    return shape;
}

void Path_Builder::Move(float x, float y)
{
    Close();
    m_open = {x, y};
    m_x = x, m_y = y;
}

void Path_Builder::Line(float x, float y)
{
    if (m_open.empty())
        m_open = {m_x, m_y};
    m_open.push_back(x);
    m_open.push_back(y);
    m_x = x, m_y = y;
}

void Path_Builder::Quad(float cx, float cy, float x, float y)
{
    float sx = m_x, sy = m_y;
    int steps = std::clamp(static_cast<int>(std::hypot(x - sx, y - sy) / 3), 6, 48);
    for (int i = 1; i <= steps; ++i)
    {
        float t = static_cast<float>(i) / steps, u = 1 - t;
        Line(u * u * sx + 2 * u * t * cx + t * t * x, u * u * sy + 2 * u * t * cy + t * t * y);
    }
}

void Path_Builder::Cubic(float c1x, float c1y, float c2x, float c2y, float x, float y)
{
    float sx = m_x, sy = m_y;
    float length =
        std::hypot(c1x - sx, c1y - sy) + std::hypot(c2x - c1x, c2y - c1y) + std::hypot(x - c2x, y - c2y);
    int steps = std::clamp(static_cast<int>(length / 3), 8, 64);
    for (int i = 1; i <= steps; ++i)
    {
        float t = static_cast<float>(i) / steps, u = 1 - t;
        Line(u * u * u * sx + 3 * u * u * t * c1x + 3 * u * t * t * c2x + t * t * t * x,
             u * u * u * sy + 3 * u * u * t * c1y + 3 * u * t * t * c2y + t * t * t * y);
    }
}

void Path_Builder::Close()
{
    if (m_open.size() >= 6)
        m_done.push_back(m_open);
    m_open.clear();
}

std::vector<Contour> Path_Builder::Contours() const
{
    std::vector<Contour> all = m_done;
    if (m_open.size() >= 6)
        all.push_back(m_open);
    return all;
}

Shape Star(float cx, float cy, int points, float outer, float inner, float degrees)
{
    Contour c;
    int n = std::max(2, points) * 2;
    for (int i = 0; i < n; ++i)
    {
        float a = (degrees + 90.0f) * k_pi / 180.0f + i * 2 * k_pi / n;
        float r = i % 2 == 0 ? outer : inner;
        c.push_back(cx + r * std::cos(a));
        c.push_back(cy - r * std::sin(a));
    }
    return Outline_Shape({c});
}

Shape Ring(float cx, float cy, float radius, float width)
{
    Shape shape;
    float half = width / 2;
    shape.distance = [=](float x, float y) { return std::fabs(std::hypot(x - cx, y - cy) - radius) - half; };
    shape.x0 = cx - radius - half, shape.y0 = cy - radius - half;
    shape.x1 = cx + radius + half, shape.y1 = cy + radius + half;
    return shape;
}

Shape Arc(float cx, float cy, float radius, float width, float a0, float a1)
{
    Shape shape;
    float half = width / 2;
    float r0 = a0 * k_pi / 180.0f, r1 = a1 * k_pi / 180.0f;
    if (r1 < r0)
        std::swap(r0, r1);
    float ex0 = cx + radius * std::cos(r0), ey0 = cy - radius * std::sin(r0);
    float ex1 = cx + radius * std::cos(r1), ey1 = cy - radius * std::sin(r1);
    shape.distance = [=](float x, float y)
    {
        float a = std::atan2(-(y - cy), x - cx);
        while (a < r0)
            a += 2 * k_pi;
        if (a <= r1)
            return std::fabs(std::hypot(x - cx, y - cy) - radius) - half;
        return std::min(std::hypot(x - ex0, y - ey0), std::hypot(x - ex1, y - ey1)) - half;
    };
    shape.x0 = cx - radius - half, shape.y0 = cy - radius - half;
    shape.x1 = cx + radius + half, shape.y1 = cy + radius + half;
    return shape;
}

Shape Combined(const Shape& a, const Shape& b, Combine how)
{
    Shape shape;
    auto da = a.distance, db = b.distance;
    switch (how)
    {
    case Combine::Union:
        shape.distance = [da, db](float x, float y) { return std::min(da(x, y), db(x, y)); };
        shape.x0 = std::min(a.x0, b.x0), shape.y0 = std::min(a.y0, b.y0);
        shape.x1 = std::max(a.x1, b.x1), shape.y1 = std::max(a.y1, b.y1);
        break;
    case Combine::Minus:
        shape.distance = [da, db](float x, float y) { return std::max(da(x, y), -db(x, y)); };
        shape.x0 = a.x0, shape.y0 = a.y0, shape.x1 = a.x1, shape.y1 = a.y1;
        break;
    case Combine::Intersect:
        shape.distance = [da, db](float x, float y) { return std::max(da(x, y), db(x, y)); };
        shape.x0 = std::max(a.x0, b.x0), shape.y0 = std::max(a.y0, b.y0);
        shape.x1 = std::min(a.x1, b.x1), shape.y1 = std::min(a.y1, b.y1);
        if (shape.x1 < shape.x0 || shape.y1 < shape.y0)
            shape.x1 = shape.x0, shape.y1 = shape.y0;
        break;
    }
    return shape;
}

Shape Smooth_Union(const Shape& a, const Shape& b, float k)
{
    Shape shape;
    auto da = a.distance, db = b.distance;
    float kk = std::max(k, 0.001f);
    shape.distance = [da, db, kk](float x, float y)
    {
        float p = da(x, y), q = db(x, y);
        float h = std::clamp(0.5f + 0.5f * (q - p) / kk, 0.0f, 1.0f);
        return q + (p - q) * h - kk * h * (1 - h);
    };
    shape.x0 = std::min(a.x0, b.x0) - k, shape.y0 = std::min(a.y0, b.y0) - k;
    shape.x1 = std::max(a.x1, b.x1) + k, shape.y1 = std::max(a.y1, b.y1) + k;
    return shape;
}

Shape Grown(const Shape& a, float by)
{
    Shape shape;
    auto da = a.distance;
    shape.distance = [da, by](float x, float y) { return da(x, y) - by; };
    float m = std::max(by, 0.0f);
    shape.x0 = a.x0 - m, shape.y0 = a.y0 - m, shape.x1 = a.x1 + m, shape.y1 = a.y1 + m;
    return shape;
}

Shape Transformed(const Shape& shape, const Affine& to_canvas)
{
    const Affine back = to_canvas.Inverse();
    const float scale = to_canvas.Scale();
    Shape out;
    auto d = shape.distance;
    out.distance = [d, back, scale](float x, float y)
    {
        float lx, ly;
        back.Apply(x, y, lx, ly);
        return d(lx, ly) * scale;
    };
    out.x0 = out.y0 = k_far, out.x1 = out.y1 = -k_far;
    const float xs[2] = {shape.x0, shape.x1}, ys[2] = {shape.y0, shape.y1};
    for (float x : xs)
        for (float y : ys)
        {
            float cx, cy;
            to_canvas.Apply(x, y, cx, cy);
            out.x0 = std::min(out.x0, cx), out.x1 = std::max(out.x1, cx);
            out.y0 = std::min(out.y0, cy), out.y1 = std::max(out.y1, cy);
        }
    return out;
}

Shape Shifted(const Shape& shape, float dx, float dy)
{
    Shape out;
    auto d = shape.distance;
    out.distance = [d, dx, dy](float x, float y) { return d(x - dx, y - dy); };
    out.x0 = shape.x0 + dx, out.x1 = shape.x1 + dx, out.y0 = shape.y0 + dy, out.y1 = shape.y1 + dy;
    return out;
}

bool Text_Shape(const std::string& ttf_path, const std::string& text, float x, float y, float height,
                float spacing, Shape& out, std::string& error)
{
    struct Font
    {
        std::vector<unsigned char> bytes;
        stbtt_fontinfo info;
    };
    static std::map<std::string, std::unique_ptr<Font>> fonts;
    std::unique_ptr<Font>& font = fonts[ttf_path];
    if (!font)
    {
        font = std::make_unique<Font>();
        std::ifstream in(ttf_path, std::ios::binary);
        font->bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (font->bytes.empty() || !stbtt_InitFont(&font->info, font->bytes.data(),
                                                   stbtt_GetFontOffsetForIndex(font->bytes.data(), 0)))
        {
            font.reset();
            error = "'" + ttf_path + "' is not a readable TrueType font";
            return false;
        }
    }
    const stbtt_fontinfo& info = font->info;
    int hx0, hy0, hx1, hy1;
    if (!stbtt_GetCodepointBox(&info, 'H', &hx0, &hy0, &hx1, &hy1) || hy1 <= hy0)
    {
        error = "the font has no capital H to measure";
        return false;
    }
    const float scale = height / static_cast<float>(hy1 - hy0);
    // Advances first, to centre the line.
    std::vector<float> pens;
    float pen = 0;
    for (size_t i = 0; i < text.size(); ++i)
    {
        int code = static_cast<unsigned char>(text[i]);
        pens.push_back(pen);
        int advance = 0, bearing = 0;
        stbtt_GetCodepointHMetrics(&info, code, &advance, &bearing);
        pen += advance * scale + spacing;
        if (i + 1 < text.size())
            pen +=
                stbtt_GetCodepointKernAdvance(&info, code, static_cast<unsigned char>(text[i + 1])) * scale;
    }
    float width = pen - spacing;
    float left = x - width / 2, baseline = y + height / 2;
    Path_Builder path;
    for (size_t i = 0; i < text.size(); ++i)
    {
        stbtt_vertex* vertices = nullptr;
        int n = stbtt_GetCodepointShape(&info, static_cast<unsigned char>(text[i]), &vertices);
        auto px = [&](float vx) { return left + pens[i] + vx * scale; };
        auto py = [&](float vy) { return baseline - vy * scale; };
        for (int k = 0; k < n; ++k)
        {
            const stbtt_vertex& v = vertices[k];
            switch (v.type)
            {
            case STBTT_vmove:
                path.Move(px(v.x), py(v.y));
                break;
            case STBTT_vline:
                path.Line(px(v.x), py(v.y));
                break;
            case STBTT_vcurve:
                path.Quad(px(v.cx), py(v.cy), px(v.x), py(v.y));
                break;
            case STBTT_vcubic:
                path.Cubic(px(v.cx), py(v.cy), px(v.cx1), py(v.cy1), px(v.x), py(v.y));
                break;
            }
        }
        stbtt_FreeShape(&info, vertices);
    }
    out = Outline_Shape(path.Contours());
    return true;
}
} // namespace assets
