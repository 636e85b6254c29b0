// Sprite script text: one texture, a frame pool, pixel cells and the font lines.
#include "sprite_script.h"

#include <cstdio>

namespace assets
{
std::string Number_Text(double value)
{
    char text[64];
    for (int decimals = 0; decimals <= 9; ++decimals)
    {
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
        float back = 0;
        std::sscanf(text, "%g", &back);
        if (back == static_cast<float>(value))
            break;
    }
    return text;
}

std::string Line_Value(float pixels, int texture_height)
{
    if (pixels > 1.0f || pixels <= 0.0f || texture_height <= 0)
        return Number_Text(pixels);
    return Number_Text(static_cast<double>(pixels) / texture_height);
}

void Sprite_Script::Add_Box(int first, float x, float y, float w, float h, float border)
{
    const float xs[3] = {x, x + border, x + w - border}, ws[3] = {border, w - 2 * border, border};
    const float ys[3] = {y, y + border, y + h - border}, hs[3] = {border, h - 2 * border, border};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            cells[first + row * 3 + column] = {xs[column], ys[row], ws[column], hs[row]};
}

std::string Sprite_Script::Text() const
{
    std::string text =
        "// Made by the asset builder from " + source + "; change that source, not this file.\n";
    text += "frames " + std::to_string(frames) + "\n";
    text += "textures 1\n";
    text += "texture 0 \"" + texture + "\"\n";
    if (!cells.empty())
    {
        text += "cells " + std::to_string(cells.rbegin()->first + 1) + "\n";
        for (const auto& [index, cell] : cells)
            text += "cellp " + std::to_string(index) + " " + Number_Text(cell.x) + " " + Number_Text(cell.y) +
                    " " + Number_Text(cell.w) + " " + Number_Text(cell.h) + "\n";
    }
    if (fixed_width >= 0)
        text += "widthp " + Number_Text(fixed_width) + "\n";
    const std::pair<const char*, float> lines[] = {{"top_line", top_line},
                                                   {"centre_line", centre_line},
                                                   {"base_line", base_line},
                                                   {"bottom_line", bottom_line}};
    for (const auto& [keyword, value] : lines)
        if (value >= 0)
            text += std::string(keyword) + " " + Line_Value(value, texture_height) + "\n";
    return text;
}
} // namespace assets
