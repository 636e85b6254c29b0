// Writing sprite scripts (".spr") for the pictures and fonts the builder makes.
#pragma once
#include <map>
#include <string>

namespace assets
{
struct Sprite_Script
{
    struct Cell
    {
        float x = 0, y = 0, w = 0, h = 0; // pixels of the texture
    };

    std::string source;  // named in the header comment
    std::string texture; // texture name as the sprite asks for it: no extension, relative to data/textures
    int texture_width = 0;
    int texture_height = 0;
    int frames = 1;
    std::map<int, Cell> cells;
    // Font lines in texture pixels; below 0 when not written (the sprite then fills in its defaults).
    float top_line = -1, centre_line = -1, base_line = -1, bottom_line = -1;
    float fixed_width = -1; // pixels; below 0 when not written

    // Cells 0 to 8 from `first`, in reading order, of a box whose border is `border` pixels wide.
    void Add_Box(int first, float x, float y, float w, float h, float border);
    std::string Text() const;
};

// A line value as the script reader takes it: values above 1 are pixels, values of 1 or less are
// fractions of the texture height, so small pixel values are written as fractions.
std::string Line_Value(float pixels, int texture_height);
// Numbers as the scripts carry them: plain decimals, the fewest places that read back to the same float.
std::string Number_Text(double value);
} // namespace assets
