// Bitmap fonts (".font"): glyphs rendered from a TrueType file with stb_truetype into one sheet, and the
// sprite script with one cell per character from the space upwards and the four font lines.
//
//   ttf PATH                  the TrueType file (absolute, or relative to the source)
//   height PIXELS             ascender to descender, in texture pixels
//   characters FIRST LAST     character codes; FIRST must be 32 (cell 0 is the space)
//   spacing PIXELS            added to every advance (default 0)
//   colour C                  glyph colour (default white)
//   gradient TOP BOTTOM       glyph colour running from the top line to the bottom line instead
//   outline WIDTH C           an outline of that width round every glyph
//   fixed digits | fixed PIXELS   the fixed-pitch advance: that of the digits, or a width in pixels
//   frames N                  the sprite's frame pool (default 1024)
//   sheet_width PIXELS        width of the glyph sheet (default 512)
#include "builders.h"
#include "canvas.h"
#include "sprite_script.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <stb_truetype.h>

namespace assets
{
namespace
{
struct Glyph
{
    int code = 0;
    int width = 0, height = 0; // the cell, pixels
    int x = 0, y = 0;          // place in the sheet
    std::vector<float> fill;   // coverage, width x height
    std::vector<float> outline;
};

struct Font_Settings
{
    std::string ttf;
    float height = 0;
    int first = 32, last = 126;
    float spacing = 0;
    Colour top{1, 1, 1, 1}, bottom{1, 1, 1, 1};
    float outline = 0;
    Colour outline_colour{0, 0, 0, 1};
    bool fixed_digits = false;
    float fixed = -1;
    int frames = 1024;
    int sheet_width = 512;
};

bool Read_Settings(Source_File& source, Font_Settings& s)
{
    for (const Source_Line& line : source.Lines())
    {
        Word_Reader words(source, line);
        const std::string& command = line.words[0];
        float c[4];
        if (command == "ttf")
        {
            std::filesystem::path path = words.Word("a font file");
            if (path.is_relative())
                path = std::filesystem::path(source.Name()).parent_path() / path;
            s.ttf = path.string();
        }
        else if (command == "height")
            s.height = words.Number("a height in pixels");
        else if (command == "characters")
        {
            s.first = words.Integer("the first character");
            s.last = words.Integer("the last character");
            if (words.Ok() && (s.first != 32 || s.last < s.first || s.last > 255))
                words.Fail("characters run from 32 (the space) to at most 255");
        }
        else if (command == "spacing")
            s.spacing = words.Number("a spacing in pixels");
        else if (command == "colour" && words.Colour(c, "a colour"))
            s.top = s.bottom = {c[0], c[1], c[2], c[3]};
        else if (command == "gradient" && words.Colour(c, "the top colour"))
        {
            s.top = {c[0], c[1], c[2], c[3]};
            if (words.Colour(c, "the bottom colour"))
                s.bottom = {c[0], c[1], c[2], c[3]};
        }
        else if (command == "outline")
        {
            s.outline = words.Number("an outline width");
            if (words.Colour(c, "the outline colour"))
                s.outline_colour = {c[0], c[1], c[2], c[3]};
        }
        else if (command == "fixed")
        {
            if (words.More() && line.words[1] == "digits")
            {
                words.Word("");
                s.fixed_digits = true;
            }
            else
                s.fixed = words.Number("'digits' or a width in pixels");
        }
        else if (command == "frames")
            s.frames = words.Integer("a frame count");
        else if (command == "sheet_width")
            s.sheet_width = words.Integer("a width in pixels");
        else if (command != "colour" && command != "gradient")
            words.Fail("'" + command + "' is not a font setting");
        words.End();
        if (source.Failed())
            return false;
    }
    if (s.ttf.empty())
        source.Fail(1, "a font needs a 'ttf' line");
    else if (s.height < 4 || s.height > 512)
        source.Fail(1, "a font needs a 'height' from 4 to 512 pixels");
    else if (s.fixed_digits && s.last < '9')
        source.Fail(1, "'fixed digits' needs the digits among the characters");
    else if (s.frames < 1 || s.sheet_width < 16 || s.sheet_width > 8192 || s.outline < 0 || s.outline > 32)
        source.Fail(1, "frames, sheet_width or outline out of range");
    return !source.Failed();
}

// Grows coverage by `radius` pixels: each pixel takes the strongest coverage within the radius, fading
// over the last pixel so that the outline stays antialiased.
std::vector<float> Dilate(const std::vector<float>& in, int w, int h, float radius)
{
    std::vector<float> out(in.size(), 0.0f);
    int reach = static_cast<int>(std::ceil(radius)) + 1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            float best = 0;
            for (int dy = -reach; dy <= reach; ++dy)
                for (int dx = -reach; dx <= reach; ++dx)
                {
                    int sx = x + dx, sy = y + dy;
                    if (sx < 0 || sy < 0 || sx >= w || sy >= h)
                        continue;
                    float weight =
                        std::clamp(radius + 0.5f - std::hypot(static_cast<float>(dx), static_cast<float>(dy)),
                                   0.0f, 1.0f);
                    best = std::max(best, in[sy * w + sx] * weight);
                }
            out[y * w + x] = best;
        }
    return out;
}
} // namespace

void Build_Font(Source_File& source, const std::string& name, Outputs& outputs)
{
    Font_Settings s;
    if (!Read_Settings(source, s))
        return;
    std::ifstream in(s.ttf, std::ios::binary);
    std::vector<unsigned char> ttf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    stbtt_fontinfo font;
    if (ttf.empty() || !stbtt_InitFont(&font, ttf.data(), stbtt_GetFontOffsetForIndex(ttf.data(), 0)))
    {
        source.Fail(1, "'" + s.ttf + "' is not a readable TrueType font");
        return;
    }
    float scale = stbtt_ScaleForPixelHeight(&font, s.height);
    int ascent = 0, descent = 0, gap = 0;
    stbtt_GetFontVMetrics(&font, &ascent, &descent, &gap);
    int pad = static_cast<int>(std::ceil(s.outline));
    int baseline = static_cast<int>(std::lround(ascent * scale)) + pad;
    int cell_height = static_cast<int>(std::ceil((ascent - descent) * scale)) + 2 * pad;

    std::vector<Glyph> glyphs;
    int ink_top = cell_height, ink_bottom = 0;
    for (int code = s.first; code <= s.last; ++code)
    {
        Glyph g;
        g.code = code;
        int advance = 0, bearing = 0, x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        int index = stbtt_FindGlyphIndex(&font, code);
        // The space and the control codes from 127 to 159 are empty cells; every other code needs a glyph.
        if (index == 0 && code != 32 && (code < 127 || code > 159))
        {
            source.Fail(1, "the font has no glyph for character " + std::to_string(code));
            return;
        }
        stbtt_GetGlyphHMetrics(&font, index, &advance, &bearing);
        stbtt_GetGlyphBitmapBox(&font, index, scale, scale, &x0, &y0, &x1, &y1);
        int left = std::min(0, x0 - pad);
        int right = std::max(static_cast<int>(std::lround(advance * scale + s.spacing)), x1 + pad);
        g.width = right - left;
        g.height = cell_height;
        g.fill.assign(static_cast<size_t>(g.width) * g.height, 0.0f);
        if (x1 > x0 && y1 > y0)
        {
            std::vector<unsigned char> bitmap(static_cast<size_t>(x1 - x0) * (y1 - y0));
            stbtt_MakeGlyphBitmap(&font, bitmap.data(), x1 - x0, y1 - y0, x1 - x0, scale, scale, index);
            for (int y = 0; y < y1 - y0; ++y)
                for (int x = 0; x < x1 - x0; ++x)
                {
                    int cx = x + x0 - left, cy = y + y0 + baseline;
                    if (cx >= 0 && cy >= 0 && cx < g.width && cy < g.height)
                        g.fill[cy * g.width + cx] = bitmap[y * (x1 - x0) + x] / 255.0f;
                }
            ink_top = std::min(ink_top, std::max(0, baseline + y0 - pad));
            ink_bottom = std::max(ink_bottom, std::min(cell_height, baseline + y1 + pad));
        }
        if (s.outline > 0)
            g.outline = Dilate(g.fill, g.width, g.height, s.outline);
        glyphs.push_back(std::move(g));
    }

    // Shelf packing in character order, eight pixels between cells so that filtering never reaches a
    // neighbour, not even in the mip levels a quarter of the size (text drawn at a quarter of its height).
    const int gap_pixels = 8;
    int x = gap_pixels, y = gap_pixels;
    for (Glyph& g : glyphs)
    {
        if (g.width + 2 * gap_pixels > s.sheet_width)
        {
            source.Fail(1, "a glyph is wider than the sheet");
            return;
        }
        if (x + g.width + gap_pixels > s.sheet_width)
            x = gap_pixels, y += cell_height + gap_pixels;
        g.x = x, g.y = y;
        x += g.width + gap_pixels;
    }
    int sheet_height = 1;
    while (sheet_height < y + cell_height + gap_pixels)
        sheet_height *= 2;

    // White (or the glyph colour) everywhere, so that filtering at the edges blends towards the glyph
    // colour rather than towards black.
    std::vector<unsigned char> rgba(static_cast<size_t>(s.sheet_width) * sheet_height * 4, 0);
    auto put = [&](int px, int py, const Colour& c)
    {
        unsigned char* p = &rgba[(static_cast<size_t>(py) * s.sheet_width + px) * 4];
        const float v[4] = {c.r, c.g, c.b, c.a};
        for (int k = 0; k < 4; ++k)
            p[k] = static_cast<unsigned char>(std::lround(std::clamp(v[k], 0.0f, 1.0f) * 255.0f));
    };
    for (int py = 0; py < sheet_height; ++py)
        for (int px = 0; px < s.sheet_width; ++px)
            put(px, py, {s.top.r, s.top.g, s.top.b, 0.0f});
    float band = std::max(1, ink_bottom - ink_top);
    for (const Glyph& g : glyphs)
        for (int gy = 0; gy < g.height; ++gy)
        {
            Colour fill = Mix(s.top, s.bottom, std::clamp((gy - ink_top) / band, 0.0f, 1.0f));
            for (int gx = 0; gx < g.width; ++gx)
            {
                float af = g.fill[gy * g.width + gx] * fill.a;
                float ao = g.outline.empty() ? 0.0f : g.outline[gy * g.width + gx] * s.outline_colour.a;
                float a = af + ao * (1 - af);
                Colour c = fill;
                if (a > 0.0f && ao > 0.0f)
                {
                    const Colour& o = s.outline_colour;
                    c.r = (fill.r * af + o.r * ao * (1 - af)) / a;
                    c.g = (fill.g * af + o.g * ao * (1 - af)) / a;
                    c.b = (fill.b * af + o.b * ao * (1 - af)) / a;
                }
                c.a = a;
                put(g.x + gx, g.y + gy, c);
            }
        }
    outputs[name + ".png"] = Encode_Png(rgba, s.sheet_width, sheet_height);

    Sprite_Script sprite;
    sprite.source = "assets/" + name + ".font";
    sprite.texture = Texture_Name(name);
    if (sprite.texture.empty())
    {
        source.Fail(1, "a font must lie under textures/");
        return;
    }
    sprite.texture_width = s.sheet_width;
    sprite.texture_height = sheet_height;
    sprite.frames = s.frames;
    for (size_t i = 0; i < glyphs.size(); ++i)
        sprite.cells[static_cast<int>(i)] = {static_cast<float>(glyphs[i].x), static_cast<float>(glyphs[i].y),
                                             static_cast<float>(glyphs[i].width),
                                             static_cast<float>(glyphs[i].height)};
    sprite.top_line = static_cast<float>(ink_top);
    sprite.bottom_line = static_cast<float>(ink_bottom);
    sprite.base_line = static_cast<float>(baseline);
    sprite.centre_line = (ink_top + ink_bottom) / 2.0f;
    if (s.fixed_digits)
        sprite.fixed_width = static_cast<float>(glyphs['0' - s.first].width);
    else if (s.fixed >= 0)
        sprite.fixed_width = s.fixed;
    outputs[name + ".spr"] = Bytes(sprite.Text());
}
} // namespace assets
