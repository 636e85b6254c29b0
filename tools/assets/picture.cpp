// Pictures described by drawing commands (".pic"): a PNG texture, and a sprite script when the
// description names frames or cells.
//
//   size W H
//   format png | dds | dxt1 | dxt5          the texture file: PNG (default), 32-bit DDS, or block-compressed
//   DDS fill SHAPE PAINT                       antialiased fill soft EDGE SHAPE PAINT                  fill
//   with a soft edge EDGE pixels wide (shadows, glows) stroke WIDTH SHAPE PAINT               line along the
//   outline bevel WIDTH LIGHT SHAPE HIGHLIGHT SHADE  lit band inside the outline; LIGHT in degrees, 90 = from
//   the top frames N | cell I X Y W H | box I X Y W H BORDER   the sprite script (pixels; a box is cells I to
//   I+8)
//
// SHAPE: rect X Y W H [RADIUS] | circle X Y R | ellipse X Y RX RY | polygon X Y X Y ... | line X Y X Y WIDTH
// PAINT: colour C | linear X0 Y0 X1 Y1 C0 C1 | radial X Y R C0 C1 | noise CELL SEED C0 C1
// Colours are #rrggbb, #rrggbbaa, or 3 or 4 numbers from 0 to 1.
#include "builders.h"
#include "canvas.h"
#include "dds_file.h"
#include "sprite_script.h"

#include <cmath>
#include <map>
#include <memory>

namespace assets
{
namespace
{
bool Read_Shape(Word_Reader& words, Shape& shape)
{
    std::string kind = words.Word("a shape");
    if (!words.Ok())
        return false;
    if (kind == "rect")
    {
        float x = words.Number("x"), y = words.Number("y"), w = words.Number("width"),
              h = words.Number("height");
        float radius = static_cast<float>(words.Number_Or(0.0));
        shape = Rectangle(x, y, w, h, radius);
    }
    else if (kind == "circle")
    {
        float x = words.Number("x"), y = words.Number("y"), r = words.Number("radius");
        shape = Ellipse(x, y, r, r);
    }
    else if (kind == "ellipse")
    {
        float x = words.Number("x"), y = words.Number("y"), rx = words.Number("x radius"),
              ry = words.Number("y radius");
        shape = Ellipse(x, y, rx, ry);
    }
    else if (kind == "polygon")
    {
        std::vector<float> points;
        for (double v = words.Number_Or(NAN); !std::isnan(v); v = words.Number_Or(NAN))
            points.push_back(static_cast<float>(v));
        if (points.size() < 6 || points.size() % 2 != 0)
        {
            words.Fail("a polygon needs at least three x y points");
            return false;
        }
        shape = Polygon(points);
    }
    else if (kind == "line")
    {
        float x0 = words.Number("x"), y0 = words.Number("y"), x1 = words.Number("x"), y1 = words.Number("y");
        float width = words.Number("width");
        shape = Capsule(x0, y0, x1, y1, width);
    }
    else
    {
        words.Fail("'" + kind + "' is not a shape (rect, circle, ellipse, polygon, line)");
        return false;
    }
    return words.Ok();
}

bool Read_Colour(Word_Reader& words, Colour& colour, const char* what)
{
    float c[4];
    if (!words.Colour(c, what))
        return false;
    colour = {c[0], c[1], c[2], c[3]};
    return true;
}

bool Read_Paint(Word_Reader& words, Paint& paint)
{
    std::string kind = words.Word("a paint");
    Colour a, b;
    if (!words.Ok())
        return false;
    if (kind == "colour")
    {
        if (!Read_Colour(words, a, "colour"))
            return false;
        paint = Flat(a);
    }
    else if (kind == "linear")
    {
        float x0 = words.Number("x0"), y0 = words.Number("y0"), x1 = words.Number("x1"),
              y1 = words.Number("y1");
        if (!Read_Colour(words, a, "first colour") || !Read_Colour(words, b, "second colour"))
            return false;
        paint = Linear_Gradient(x0, y0, x1, y1, a, b);
    }
    else if (kind == "radial")
    {
        float x = words.Number("x"), y = words.Number("y"), r = words.Number("radius");
        if (!Read_Colour(words, a, "inner colour") || !Read_Colour(words, b, "outer colour"))
            return false;
        paint = Radial_Gradient(x, y, r, a, b);
    }
    else if (kind == "noise")
    {
        float cell = words.Number("cell size");
        int seed = words.Integer("seed");
        if (!Read_Colour(words, a, "first colour") || !Read_Colour(words, b, "second colour"))
            return false;
        paint = Noise(cell, static_cast<unsigned>(seed), a, b);
    }
    else
    {
        words.Fail("'" + kind + "' is not a paint (colour, linear, radial, noise)");
        return false;
    }
    return words.Ok();
}
} // namespace

void Build_Picture(Source_File& source, const std::string& name, Outputs& outputs)
{
    std::unique_ptr<Canvas> canvas;
    std::string format = "png";
    Sprite_Script sprite;
    int sprite_line = 0; // the first line of the sprite script, 0 when there is none
    std::map<int, int> cell_lines;
    for (const Source_Line& line : source.Lines())
    {
        Word_Reader words(source, line);
        const std::string& command = line.words[0];
        if (command == "size")
        {
            int w = words.Integer("a width"), h = words.Integer("a height");
            if (canvas)
                words.Fail("the size is given twice");
            else if (words.Ok() && (w < 1 || h < 1 || w > 4096 || h > 4096))
                words.Fail("a picture is 1 to 4096 pixels each way");
            else if (words.Ok())
                canvas = std::make_unique<Canvas>(w, h);
        }
        else if (command == "format")
        {
            format = words.Word("png, dds, dxt1 or dxt5");
            if (words.Ok() && format != "png" && format != "dds" && format != "dxt1" && format != "dxt5")
                words.Fail("'" + format + "' is not a texture format (png, dds, dxt1, dxt5)");
        }
        else if (command == "frames" || command == "cell" || command == "box")
        {
            if (!sprite_line)
                sprite_line = line.number;
            if (command == "frames")
            {
                sprite.frames = words.Integer("a frame count");
                if (words.Ok() && sprite.frames < 1)
                    words.Fail("a sprite needs at least one frame");
            }
            else
            {
                int index = words.Integer("a cell index");
                float x = words.Number("x"), y = words.Number("y"), w = words.Number("width"),
                      h = words.Number("height");
                float border = command == "box" ? static_cast<float>(words.Number("a border")) : 0.0f;
                if (words.Ok() && (index < 0 || index > 4095))
                    words.Fail("cell indices run from 0 to 4095");
                else if (words.Ok() && command == "box" &&
                         (border <= 0 || 2 * border >= w || 2 * border >= h))
                    words.Fail("a box border must be above 0 and below half the box");
                else if (command == "box")
                    sprite.Add_Box(index, x, y, w, h, border);
                else
                    sprite.cells[index] = {x, y, w, h};
                for (int i = index; i < index + (command == "box" ? 9 : 1); ++i)
                    cell_lines[i] = line.number;
            }
        }
        else if (command == "fill" || command == "soft" || command == "stroke" || command == "bevel")
        {
            if (!canvas)
            {
                words.Fail("'size' must come before the first drawing command");
                break;
            }
            float width = command == "fill" ? 0.0f : static_cast<float>(words.Number("a width"));
            float light = command == "bevel" ? static_cast<float>(words.Number("a light angle")) : 0.0f;
            Shape shape;
            if (!Read_Shape(words, shape))
                break;
            if (command == "bevel")
            {
                Colour highlight, shade;
                if (Read_Colour(words, highlight, "highlight") && Read_Colour(words, shade, "shade"))
                    canvas->Bevel(shape, width, light, highlight, shade);
            }
            else
            {
                Paint paint;
                if (!Read_Paint(words, paint))
                    break;
                if (command == "stroke")
                    canvas->Stroke(shape, width, paint);
                else
                    canvas->Fill(shape, paint, width);
            }
        }
        else
            words.Fail("'" + command + "' is not a picture command");
        words.End();
        if (source.Failed())
            return;
    }
    if (!canvas)
    {
        source.Fail(1, "a picture needs a 'size' line");
        return;
    }
    std::vector<unsigned char> rgba = canvas->To_Rgba8();
    if (format == "png")
        outputs[name + ".png"] = Encode_Png(rgba, canvas->Width(), canvas->Height());
    else
        outputs[name + ".dds"] = Encode_Dds(rgba, canvas->Width(), canvas->Height(),
                                            format == "dds"    ? Dds_Format::Bgra8
                                            : format == "dxt1" ? Dds_Format::Dxt1
                                                               : Dds_Format::Dxt5);
    if (!sprite_line)
        return;
    for (const auto& [index, cell] : sprite.cells)
        if (cell.x < 0 || cell.y < 0 || cell.x + cell.w > canvas->Width() ||
            cell.y + cell.h > canvas->Height())
        {
            source.Fail(cell_lines[index], "cell " + std::to_string(index) + " reaches outside the picture");
            return;
        }
    sprite.source = "assets/" + name + ".pic";
    sprite.texture = Texture_Name(name);
    if (sprite.texture.empty())
    {
        source.Fail(sprite_line, "a picture with a sprite script must lie under textures/");
        return;
    }
    sprite.texture_width = canvas->Width();
    sprite.texture_height = canvas->Height();
    outputs[name + ".spr"] = Bytes(sprite.Text());
}
} // namespace assets
