// Sprite text and boxes: measuring and printing with inline colour, alpha and tab codes, and nine-cell boxes.
#include "engine/render/sprite.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{
// Length of the code that starts with the bar at text[i], cut at the end of the text.
size_t Code_Length(const char* text, size_t i, size_t length)
{
    const char code = i + 1 < length ? text[i + 1] : '\0';
    const size_t wanted = code == 'c' ? 11 : code == 'a' ? 5 : 2;
    return std::min(wanted, length - i);
}

float Next_Tab(float offset, float tab)
{
    return tab > 0.0f ? (std::floor(offset / tab) + 1.0f) * tab : offset;
}

float Digits(const char* digits)
{
    // Not validated: each byte counts as its distance from '0'.
    return static_cast<float>((digits[0] - '0') * 100 + (digits[1] - '0') * 10 + (digits[2] - '0')) / 255.0f;
}
} // namespace

float Sprite::Text_Scale(float height, float target_height) const
{
    const float band = m_bottom_line - m_top_line;
    return band != 0.0f ? height * 0.8f * target_height / band : 0.0f;
}

float Sprite::Text_Width(const char* text, float height, bool pixels, bool fixed) const
{
    if (!text)
        return 0.0f;
    const Quad_Space space = Space();
    const float scale = Text_Scale(height, space.target_height);
    const float tab = 0.03f * space.target_width;
    const float fixed_advance = (m_fixed_width > 0.0f ? m_fixed_width : m_widest_cell) * scale;
    const size_t length = std::strlen(text);
    float width = 0.0f;
    for (size_t i = 0; i < length;)
    {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        if (byte == '|')
        {
            if (i + 1 < length && text[i + 1] == 't')
                width = Next_Tab(width, tab);
            i += Code_Length(text, i, length);
            continue;
        }
        ++i;
        const int glyph = static_cast<int>(byte) - 32;
        if (glyph < 0 || glyph >= m_cell_count)
            continue;
        width += fixed ? fixed_advance : m_cells[glyph].pixel_width * scale;
    }
    if (pixels || space.target_width == 0.0f)
        return width;
    return width / space.target_width;
}

void Sprite::Print(Vector2& pen, float height, Colour& colour, uint32_t flags, const char* text)
{
    if (!text || !*text)
        return;
    const bool fixed = flags & SPR_FIXED;
    const float width = Text_Width(text, height, true, fixed);
    const Quad_Space space = Space();
    const float scale = Text_Scale(height, space.target_height);
    const bool pixels = flags & SPR_PIXELS;
    const float to_x = pixels ? 1.0f : space.target_width;
    const float to_y = pixels ? 1.0f : space.target_height;

    float x = pen.x * to_x;
    float y = pen.y * to_y;
    // The vertical alignment places the glyphs; the pen given back keeps the caller's line.
    float rise = 0.0f;
    if (flags & SPR_BASELINE)
        rise += m_base_line * scale;
    if (flags & SPR_TOP)
        rise += m_top_line * scale;
    else if (flags & SPR_BOTTOM)
        rise += m_bottom_line * scale;
    else if (flags & SPR_CENTRE)
        rise += m_centre_line * scale;
    if (flags & SPR_RIGHT)
        x -= width;
    else if (!(flags & SPR_LEFT))
        x -= width * 0.5f;

    const float start_x = x;
    const float tab = 0.03f * space.target_width;
    const float fixed_advance = (m_fixed_width > 0.0f ? m_fixed_width : m_widest_cell) * scale;
    const bool codes = flags & SPR_CODES;
    const size_t length = std::strlen(text);
    for (size_t i = 0; i < length;)
    {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        if (codes)
        {
            if (byte == '|')
            {
                const size_t code_length = Code_Length(text, i, length);
                const char code = code_length > 1 ? text[i + 1] : '\0';
                if (code == 'c' && code_length == 11)
                {
                    colour.r = Digits(text + i + 2);
                    colour.g = Digits(text + i + 5);
                    colour.b = Digits(text + i + 8);
                }
                else if (code == 'a' && code_length == 5)
                    colour.a = Digits(text + i + 2);
                else if (code == 't')
                    x = start_x + Next_Tab(x - start_x, tab);
                i += code_length;
                continue;
            }
            if (byte == '\r')
                x = start_x;
            else if (byte == '\n')
                y += height * space.target_height;
        }
        ++i;
        const int glyph = static_cast<int>(byte) - 32;
        if (glyph < 0 || glyph >= m_cell_count)
            continue;
        const Sprite_Cell& cell = m_cells[glyph];
        const Vector2 size{cell.pixel_width * scale, cell.pixel_height * scale};
        const int frame = Get_Frame();
        if (fixed)
        {
            Set_Frame(frame, glyph, {x, y - rise}, size, 0.0f, colour, SPR_PIXELS | SPR_TOP | SPR_CENTRE);
            x += fixed_advance;
        }
        else
        {
            Set_Frame(frame, glyph, {x, y - rise}, size, 0.0f, colour, SPR_PIXELS | SPR_TOP | SPR_LEFT);
            x += size.x;
        }
    }
    pen.x = to_x != 0.0f ? x / to_x : x;
    pen.y = to_y != 0.0f ? y / to_y : y;
}

void Sprite::Print_In_Box(Vector2 position, Vector2 size, float height, Colour colour, uint32_t flags,
                          const char* text)
{
    Vector2 pen = position;
    if (flags & SPR_CENTRE)
    {
        pen.x += size.x * 0.5f;
        pen.y += size.y * 0.5f;
    }
    if (flags & SPR_LEFT)
        pen.x = position.x;
    if (flags & SPR_RIGHT)
        pen.x = position.x + size.x;
    if (flags & SPR_TOP)
        pen.y = position.y;
    if (flags & SPR_BOTTOM)
        pen.y = position.y + size.y;
    Print(pen, height, colour, flags, text);
}

void Sprite::Draw_Box(bool second_set, Vector2 position, Vector2 size, Vector2 border, const Colour& colour)
{
    const int base = second_set ? 9 : 0;
    const Vector2 inner{size.x - 2.0f * border.x, size.y - 2.0f * border.y};
    const float xs[3] = {position.x, position.x + border.x, position.x + border.x + inner.x};
    const float ys[3] = {position.y, position.y + border.y, position.y + border.y + inner.y};
    const float ws[3] = {border.x, inner.x, border.x};
    const float hs[3] = {border.y, inner.y, border.y};
    for (int row = 0; row < 3; ++row)
    {
        for (int column = 0; column < 3; ++column)
        {
            Set_Frame(Get_Frame(), base + row * 3 + column, {xs[column], ys[row]}, {ws[column], hs[row]},
                      0.0f, colour, SPR_LEFT | SPR_TOP);
        }
    }
}
