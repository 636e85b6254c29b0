// The contact sheet: every sprite of a data folder, each cell in order with its number, the sprite's name
// above its row, on mid-grey, so that a whole sheet of art can be judged in one picture.
#include "sheet.h"

#include "canvas.h"
#include "dds_file.h"
#include "shapes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <stb_image.h>
#include <stb_image_write.h>

namespace fs = std::filesystem;

namespace assets
{
namespace
{
const char* k_label_font = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
constexpr int k_width = 2400, k_margin = 16, k_gap = 10, k_label = 22;

struct Picture
{
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
};

struct Script
{
    std::string name, texture;
    std::vector<std::array<float, 4>> cells;
};

bool Load_Texture(const std::string& base, Picture& out)
{
    int channels = 0;
    if (unsigned char* pixels = stbi_load((base + ".png").c_str(), &out.width, &out.height, &channels, 4))
    {
        out.rgba.assign(pixels, pixels + static_cast<size_t>(out.width) * out.height * 4);
        stbi_image_free(pixels);
        return true;
    }
    // The builder's own uncompressed DDS files: the 128-byte header, then B, G, R, A rows.
    std::ifstream in(base + ".dds", std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 128 || bytes[0] != 'D' || bytes[84] != 0)
        return false;
    auto u32 = [&](size_t at)
    { return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24; };
    out.height = static_cast<int>(u32(12));
    out.width = static_cast<int>(u32(16));
    size_t count = static_cast<size_t>(out.width) * out.height;
    if (bytes.size() < 128 + count * 4)
        return false;
    out.rgba.resize(count * 4);
    for (size_t i = 0; i < count; ++i)
    {
        out.rgba[i * 4 + 0] = bytes[128 + i * 4 + 2];
        out.rgba[i * 4 + 1] = bytes[128 + i * 4 + 1];
        out.rgba[i * 4 + 2] = bytes[128 + i * 4 + 0];
        out.rgba[i * 4 + 3] = bytes[128 + i * 4 + 3];
    }
    return true;
}

Script Read_Script(const fs::path& path, const std::string& name)
{
    Script script;
    script.name = name;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
    {
        std::istringstream words(line);
        std::string keyword;
        words >> keyword;
        if (keyword == "texture")
        {
            int index = 0;
            std::string rest;
            words >> index;
            std::getline(words, rest);
            rest.erase(0, rest.find_first_not_of(" \t"));
            if (!rest.empty() && rest.front() == '"')
                rest = rest.substr(1, rest.find('"', 1) - 1);
            script.texture = rest;
        }
        else if (keyword == "cellp")
        {
            int index = 0;
            std::array<float, 4> r{};
            words >> index >> r[0] >> r[1] >> r[2] >> r[3];
            if (index >= 0 && index < 4096)
            {
                if (script.cells.size() <= static_cast<size_t>(index))
                    script.cells.resize(static_cast<size_t>(index) + 1);
                script.cells[static_cast<size_t>(index)] = r;
            }
        }
    }
    return script;
}

class Sheet
{
  public:
    explicit Sheet(int width) : m_width(width) {}

    void Grow(int height)
    {
        if (height <= m_height)
            return;
        m_rgb.resize(static_cast<size_t>(m_width) * height * 3, 128);
        m_height = height;
    }

    // A label in white with a dark edge, its left end at x and its middle at y.
    void Label(const std::string& text, int x, int y, float size)
    {
        int w = static_cast<int>(text.size() * size * 0.9f) + 8, h = static_cast<int>(size * 2) + 4;
        Canvas c(w, h);
        Shape shape;
        std::string error;
        if (!Text_Shape(k_label_font, text, 0, h / 2.0f, size * 0.72f, 0, shape, error))
            return;
        float width = shape.x1 - shape.x0;
        shape = Shifted(shape, 3 - shape.x0, 0);
        (void)width;
        c.Fill(Grown(shape, 1.5f), Flat({0.05f, 0.05f, 0.08f, 0.8f}));
        c.Fill(shape, Flat({1, 1, 1, 1}));
        Blit(c, x, y - h / 2);
    }

    void Blit(const Canvas& c, int x0, int y0)
    {
        Grow(y0 + c.Height());
        for (int y = 0; y < c.Height(); ++y)
            for (int x = 0; x < c.Width(); ++x)
            {
                int tx = x0 + x, ty = y0 + y;
                if (tx < 0 || ty < 0 || tx >= m_width)
                    continue;
                const float* p = &c.Data()[(static_cast<size_t>(y) * c.Width() + x) * 4];
                unsigned char* q = &m_rgb[(static_cast<size_t>(ty) * m_width + tx) * 3];
                for (int k = 0; k < 3; ++k)
                    q[k] = static_cast<unsigned char>(
                        std::clamp(p[k] * 255.0f + q[k] * (1 - p[3]), 0.0f, 255.0f));
            }
    }

    // A cell of a texture drawn at `scale` (box-filtered when smaller) with its outline box.
    void Cell(const Picture& texture, const std::array<float, 4>& r, int x0, int y0, float scale)
    {
        int w = std::max(1, static_cast<int>(std::lround(r[2] * scale)));
        int h = std::max(1, static_cast<int>(std::lround(r[3] * scale)));
        Grow(y0 + h + 1);
        for (int y = -1; y <= h; ++y)
            for (int x = -1; x <= w; ++x)
            {
                int tx = x0 + x, ty = y0 + y;
                if (tx < 0 || ty < 0 || tx >= m_width)
                    continue;
                unsigned char* q = &m_rgb[(static_cast<size_t>(ty) * m_width + tx) * 3];
                if (x < 0 || y < 0 || x == w || y == h)
                {
                    q[0] = q[1] = q[2] = 104;
                    continue;
                }
                float sum[4] = {0, 0, 0, 0};
                int n = 0;
                float sx0 = r[0] + x / scale, sx1 = r[0] + (x + 1) / scale;
                float sy0 = r[1] + y / scale, sy1 = r[1] + (y + 1) / scale;
                for (int sy = static_cast<int>(sy0);
                     sy < std::max(static_cast<int>(sy0) + 1, static_cast<int>(std::ceil(sy1))); ++sy)
                    for (int sx = static_cast<int>(sx0);
                         sx < std::max(static_cast<int>(sx0) + 1, static_cast<int>(std::ceil(sx1))); ++sx)
                    {
                        if (sx < 0 || sy < 0 || sx >= texture.width || sy >= texture.height)
                            continue;
                        const unsigned char* p =
                            &texture.rgba[(static_cast<size_t>(sy) * texture.width + sx) * 4];
                        float a = p[3] / 255.0f;
                        for (int k = 0; k < 3; ++k)
                            sum[k] += p[k] * a;
                        sum[3] += a;
                        ++n;
                    }
                if (n == 0)
                    continue;
                float a = sum[3] / n;
                for (int k = 0; k < 3; ++k)
                    q[k] = static_cast<unsigned char>(std::clamp(sum[k] / n + q[k] * (1 - a), 0.0f, 255.0f));
            }
    }

    bool Save(const std::string& path) const
    {
        return stbi_write_png(path.c_str(), m_width, m_height, 3, m_rgb.data(), m_width * 3) != 0;
    }
    int Height() const { return m_height; }

  private:
    int m_width;
    int m_height = 0;
    std::vector<unsigned char> m_rgb;
};
} // namespace

int Make_Sheet(const std::string& data_folder, const std::string& out_path, bool with_engine)
{
    const fs::path textures = fs::path(data_folder) / "textures";
    std::error_code error;
    if (!fs::is_directory(textures, error))
    {
        std::fprintf(stderr, "%s: no textures folder\n", textures.string().c_str());
        return 2;
    }
    std::vector<std::pair<std::string, fs::path>> scripts;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(textures))
        if (entry.path().extension() == ".spr")
        {
            std::string name = fs::relative(entry.path(), textures).replace_extension().generic_string();
            if (with_engine || name.rfind("resource/", 0) != 0)
                scripts.emplace_back(name, entry.path());
        }
    std::sort(scripts.begin(), scripts.end(),
              [](const auto& a, const auto& b)
              {
                  std::string x = a.first, y = b.first;
                  std::transform(x.begin(), x.end(), x.begin(), ::tolower);
                  std::transform(y.begin(), y.end(), y.begin(), ::tolower);
                  return x < y;
              });

    Sheet sheet(k_width);
    int y = k_margin;
    int sprites = 0;
    for (const auto& [name, path] : scripts)
    {
        Script script = Read_Script(path, name);
        Picture texture;
        if (!Load_Texture((textures / script.texture).string(), texture))
        {
            std::fprintf(stderr, "%s: texture \"%s\" cannot be read\n", name.c_str(), script.texture.c_str());
            continue;
        }
        ++sprites;
        std::string title = name + "   (" + std::to_string(script.cells.size()) + " cell" +
                            (script.cells.size() == 1 ? "" : "s");
        if (!script.cells.empty())
            title += ", " + std::to_string(static_cast<int>(script.cells[0][2])) + " x " +
                     std::to_string(static_cast<int>(script.cells[0][3]));
        title += ")";
        sheet.Label(title, k_margin, y + k_label / 2, 20);
        y += k_label + 6;
        if (script.cells.empty())
            script.cells.push_back(
                {0, 0, static_cast<float>(texture.width), static_cast<float>(texture.height)});
        int x = k_margin, row = 0;
        for (size_t c = 0; c < script.cells.size(); ++c)
        {
            const auto& r = script.cells[c];
            float scale = std::min({1.0f, 1200.0f / std::max(r[2], 1.0f), 420.0f / std::max(r[3], 1.0f)});
            if (r[2] * scale < 48 && r[3] * scale < 48)
                scale = std::min(4.0f, 48.0f / std::max(r[2], r[3])); // tiny cells are shown larger
            int w = static_cast<int>(std::lround(r[2] * scale)),
                h = static_cast<int>(std::lround(r[3] * scale));
            if (x + w > k_width - k_margin && x > k_margin)
            {
                x = k_margin;
                y += row + 18 + k_gap;
                row = 0;
            }
            sheet.Cell(texture, r, x, y, scale);
            sheet.Label(std::to_string(c), x, y + h + 10, 14);
            x += std::max(w, 24) + k_gap;
            row = std::max(row, h);
        }
        y += row + 18 + 2 * k_gap;
    }
    sheet.Grow(y + k_margin);
    if (!sheet.Save(out_path))
    {
        std::fprintf(stderr, "%s: cannot be written\n", out_path.c_str());
        return 1;
    }
    std::printf("vorta5-assets: %d sprites on %s (%d x %d)\n", sprites, out_path.c_str(), k_width,
                sheet.Height());
    return 0;
}
} // namespace assets
