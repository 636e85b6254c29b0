// Pictures described by drawing commands (".pic"): a texture, and a sprite script when the picture names
// frames or cells. See assets/README.md for the language; in short:
//
//   size W H                      one picture of W x H pixels, drawn by the lines that follow
//   cells W H COUNT               or: COUNT cells of W x H, each drawn by the lines up to the next 'cells'
//                                 (i = the cell's number in the sprite, k = its number in this group,
//                                 n = COUNT, t = k / n, w, h, cx, cy = the cell's size and middle)
//   icon S1 S2 ...                the picture (of 'size' S1 x S1) also at these sizes: NAME-S.png each
//   frames N | format png|dds|dxt1|dxt5 | pad N | edge clear|extend|wrap
//   cell I X Y W H | box I X Y W H BORDER        cells of a 'size' picture, in pixels
//   palette NAME COLOUR | let NAME EXPR | include FILE | define NAME SHAPE | font TTF [SPACING]
//   part NAME ARGS... / end, use NAME VALUES... | repeat NAME COUNT / end | if EXPR / else / end
//   push | pop | translate X Y | rotate DEG [X Y] | scale S [SY] | mirror [X] | flip [Y] | wrap [off] |
//   period P (noise repeats every P across; a wrapping picture's noise repeats over its width)
//   group [outline W C] [glow R C] [shadow DX DY R C] [opacity A] [add] / end
//   fill SHAPE PAINT | soft EDGE SHAPE PAINT | stroke WIDTH SHAPE PAINT | bevel WIDTH LIGHT SHAPE HI SHADE
//
// SHAPE: rect X Y W H [R] | circle X Y R | ellipse X Y RX RY | line X Y X Y WIDTH | polygon X Y ... |
//        path M x y L x y Q cx cy x y C ... Z | star X Y N R1 R2 [DEG] | ring X Y R W | arc X Y R W A0 A1 |
//        text X Y HEIGHT "TEXT" | shape NAME, followed by any of: minus S, union S, and S, blend K S, grow D
// PAINT: colour C | linear X0 Y0 X1 Y1 C0 C1 ... | radial X Y R C0 C1 ... | noise CELL SEED C0 C1 |
//        lit RADIUS BASE LIGHT DARK
// Numbers may be expressions (expression.h); colours are #rrggbb[aa], palette names, NAME@ALPHA, mix(A,B,T).
#include "builders.h"
#include "canvas.h"
#include "dds_file.h"
#include "picture_program.h"
#include "sprite_script.h"

#include <algorithm>
#include <cmath>

namespace assets
{
namespace
{
struct Settings
{
    std::string format = "png";
    int frames = 0; // 0: no frames line seen
    int pad = 2;
    std::string edge = "clear";
    int width = 0, height = 0; // 'size'
    std::vector<int> icon_sizes;
    std::map<int, Sprite_Script::Cell> cells; // 'cell' and 'box' lines
    std::map<int, int> cell_lines;
    bool sprite = false;
    int sprite_line = 0;
};

struct Cell_Group
{
    const Statement* statement;
    int width, height, count, first;
};

struct Placed
{
    int x, y, w, h; // the cell's pixels in the sheet
};

bool Whole(Picture_Program& program, const Statement& s, size_t index, int low, int high, int& out,
           const char* what)
{
    double v = 0;
    if (!program.Number(s, index, v))
        return false;
    if (v != std::floor(v) || v < low || v > high)
    {
        program.Fail(s, std::string(what) + " must be a whole number from " + std::to_string(low) + " to " +
                            std::to_string(high));
        return false;
    }
    out = static_cast<int>(v);
    return true;
}

bool Read_Settings(Picture_Program& program, Settings& settings, std::vector<Cell_Group>& groups)
{
    int next_cell = 0;
    for (const Statement& s : program.Statements())
    {
        const std::string& c = s.command;
        auto need = [&](size_t n)
        {
            if (s.words.size() == n)
                return true;
            program.Fail(s, "'" + c + "' takes " + std::to_string(n) + " values");
            return false;
        };
        if (c == "size")
        {
            if (settings.width)
            {
                program.Fail(s, "the size is given twice");
                return false;
            }
            if (!need(2) || !Whole(program, s, 0, 1, 4096, settings.width, "a width") ||
                !Whole(program, s, 1, 1, 4096, settings.height, "a height"))
            {
                if (s.words.size() == 2)
                    program.Fail(s, "a picture is 1 to 4096 pixels each way");
                return false;
            }
        }
        else if (c == "cells")
        {
            Cell_Group g{&s, 0, 0, 0, next_cell};
            if (!need(3) || !Whole(program, s, 0, 1, 4096, g.width, "a cell width") ||
                !Whole(program, s, 1, 1, 4096, g.height, "a cell height") ||
                !Whole(program, s, 2, 1, 4096, g.count, "a cell count"))
                return false;
            next_cell += g.count;
            groups.push_back(g);
            settings.sprite = true;
            if (!settings.sprite_line)
                settings.sprite_line = s.line;
        }
        else if (c == "format")
        {
            if (!need(1))
                return false;
            settings.format = s.words[0];
            if (settings.format != "png" && settings.format != "dds" && settings.format != "dxt1" &&
                settings.format != "dxt5")
            {
                program.Fail(s, "'" + settings.format + "' is not a texture format (png, dds, dxt1, dxt5)");
                return false;
            }
        }
        else if (c == "frames")
        {
            if (!need(1) || !Whole(program, s, 0, 1, 1000000, settings.frames, "a frame count"))
            {
                if (s.words.size() == 1)
                    program.Fail(s, "a sprite needs at least one frame");
                return false;
            }
            settings.sprite = true;
            if (!settings.sprite_line)
                settings.sprite_line = s.line;
        }
        else if (c == "pad")
        {
            if (!need(1) || !Whole(program, s, 0, 0, 64, settings.pad, "a padding"))
                return false;
        }
        else if (c == "edge")
        {
            if (!need(1))
                return false;
            settings.edge = s.words[0];
            if (settings.edge != "clear" && settings.edge != "extend" && settings.edge != "wrap")
            {
                program.Fail(s, "an edge is clear, extend or wrap");
                return false;
            }
        }
        else if (c == "icon")
        {
            for (size_t k = 0; k < s.words.size(); ++k)
            {
                int size = 0;
                if (!Whole(program, s, k, 8, 1024, size, "an icon size"))
                    return false;
                settings.icon_sizes.push_back(size);
            }
        }
        else if (c == "cell" || c == "box")
        {
            size_t n = c == "box" ? 6 : 5;
            if (!need(n))
                return false;
            int index = 0;
            double v[5] = {};
            if (!Whole(program, s, 0, 0, 4095, index, "a cell index"))
                return false;
            for (size_t k = 1; k < n; ++k)
                if (!program.Number(s, k, v[k - 1]))
                    return false;
            if (c == "box" && (v[4] <= 0 || 2 * v[4] >= v[2] || 2 * v[4] >= v[3]))
            {
                program.Fail(s, "a box border must be above 0 and below half the box");
                return false;
            }
            Sprite_Script boxes;
            if (c == "box")
                boxes.Add_Box(index, static_cast<float>(v[0]), static_cast<float>(v[1]),
                              static_cast<float>(v[2]), static_cast<float>(v[3]), static_cast<float>(v[4]));
            else
                boxes.cells[index] = {static_cast<float>(v[0]), static_cast<float>(v[1]),
                                      static_cast<float>(v[2]), static_cast<float>(v[3])};
            for (const auto& [k, cell] : boxes.cells)
            {
                settings.cells[k] = cell;
                settings.cell_lines[k] = s.line;
            }
            settings.sprite = true;
            if (!settings.sprite_line)
                settings.sprite_line = s.line;
        }
    }
    if (!groups.empty() && settings.width)
    {
        program.Fail(*groups.front().statement, "a picture has either a 'size' or 'cells', not both");
        return false;
    }
    if (!groups.empty() && !settings.cells.empty())
    {
        program.Fail(*groups.front().statement, "'cell' and 'box' lines belong to a 'size' picture");
        return false;
    }
    return true;
}

// Shelf packing in cell order, rows no wider than about the square root of the area.
std::vector<Placed> Pack(const std::vector<Cell_Group>& groups, int pad, int& sheet_w, int& sheet_h)
{
    double area = 0;
    int widest = 0;
    for (const Cell_Group& g : groups)
    {
        area += static_cast<double>(g.width + 2 * pad) * (g.height + 2 * pad) * g.count;
        widest = std::max(widest, g.width + 2 * pad);
    }
    int limit = std::max(widest, std::min(4096, static_cast<int>(std::ceil(std::sqrt(area) * 1.15))));
    std::vector<Placed> placed;
    int x = 0, y = 0, row = 0;
    sheet_w = 0;
    for (const Cell_Group& g : groups)
        for (int k = 0; k < g.count; ++k)
        {
            int w = g.width + 2 * pad, h = g.height + 2 * pad;
            if (x + w > limit)
                x = 0, y += row, row = 0;
            placed.push_back({x + pad, y + pad, g.width, g.height});
            x += w;
            row = std::max(row, h);
            sheet_w = std::max(sheet_w, x);
        }
    sheet_h = y + row;
    return placed;
}

// Copies a cell picture into the sheet, filling its padding as the edge mode says.
void Place(const Canvas& cell, Canvas& sheet, const Placed& at, int pad, const std::string& edge)
{
    const std::vector<float>& src = cell.Data();
    std::vector<float>& dst = sheet.Data();
    for (int y = -pad; y < at.h + pad; ++y)
        for (int x = -pad; x < at.w + pad; ++x)
        {
            int sx = x, sy = y;
            bool inside = x >= 0 && y >= 0 && x < at.w && y < at.h;
            if (!inside)
            {
                if (edge == "clear")
                    continue;
                sy = std::clamp(y, 0, at.h - 1);
                sx = edge == "wrap" ? (x + at.w) % at.w : std::clamp(x, 0, at.w - 1);
            }
            int tx = at.x + x, ty = at.y + y;
            if (tx < 0 || ty < 0 || tx >= sheet.Width() || ty >= sheet.Height())
                continue;
            const float* p = &src[(static_cast<size_t>(sy) * at.w + sx) * 4];
            float* q = &dst[(static_cast<size_t>(ty) * sheet.Width() + tx) * 4];
            std::copy(p, p + 4, q);
        }
}

void Write_Texture(const Canvas& canvas, const std::string& name, const std::string& format, Outputs& outputs)
{
    std::vector<unsigned char> rgba = canvas.To_Rgba8();
    if (format == "png")
        outputs[name + ".png"] = Encode_Png(rgba, canvas.Width(), canvas.Height());
    else
        outputs[name + ".dds"] = Encode_Dds(rgba, canvas.Width(), canvas.Height(),
                                            format == "dds"    ? Dds_Format::Bgra8
                                            : format == "dxt1" ? Dds_Format::Dxt1
                                                               : Dds_Format::Dxt5);
}

Variables Cell_Variables(int i, int k, int n, int w, int h)
{
    return {{"i", i}, {"k", k}, {"n", n},        {"t", n > 0 ? static_cast<double>(k) / n : 0.0},
            {"w", w}, {"h", h}, {"cx", w / 2.0}, {"cy", h / 2.0}};
}
} // namespace

void Build_Picture(Source_File& source, const std::string& name, Outputs& outputs)
{
    Picture_Program program;
    if (!program.Parse(source))
        return;
    Settings settings;
    std::vector<Cell_Group> groups;
    if (!Read_Settings(program, settings, groups))
        return;
    if (groups.empty() && !settings.width)
    {
        for (const Statement& s : program.Statements())
            if (s.command == "fill" || s.command == "soft" || s.command == "stroke" || s.command == "bevel")
            {
                program.Fail(s, "'size' must come before the first drawing command");
                return;
            }
        source.Fail(1, "a picture needs a 'size' line or 'cells' lines");
        return;
    }

    Sprite_Script sprite;
    std::unique_ptr<Canvas> sheet;
    if (!groups.empty())
    {
        int sheet_w = 0, sheet_h = 0;
        std::vector<Placed> placed = Pack(groups, settings.pad, sheet_w, sheet_h);
        if (sheet_w > 4096 || sheet_h > 4096)
        {
            program.Fail(*groups.front().statement, "the cells do not fit a sheet of 4096 x 4096");
            return;
        }
        sheet = std::make_unique<Canvas>(sheet_w, sheet_h);
        // Lines outside the groups (variables, shapes, a common background) run before every cell.
        std::vector<Statement> prelude;
        for (const Statement& s : program.Statements())
            if (s.command != "cells")
                prelude.push_back(s);
        for (const Cell_Group& g : groups)
        {
            std::vector<Statement> lines = prelude;
            lines.insert(lines.end(), g.statement->body.begin(), g.statement->body.end());
            for (int k = 0; k < g.count; ++k)
            {
                Canvas cell(g.width, g.height);
                const Placed& at = placed[static_cast<size_t>(g.first + k)];
                if (!program.Draw(lines, cell, Cell_Variables(g.first + k, k, g.count, g.width, g.height),
                                  {}))
                    return;
                Place(cell, *sheet, at, settings.pad, settings.edge);
                sprite.cells[g.first + k] = {static_cast<float>(at.x), static_cast<float>(at.y),
                                             static_cast<float>(at.w), static_cast<float>(at.h)};
            }
        }
    }
    else
    {
        sheet = std::make_unique<Canvas>(settings.width, settings.height);
        Variables v = Cell_Variables(0, 0, 1, settings.width, settings.height);
        v["size"] = settings.width;
        if (!program.Draw(program.Statements(), *sheet, v, {}))
            return;
        for (const auto& [index, cell] : settings.cells)
            if (cell.x < 0 || cell.y < 0 || cell.x + cell.w > settings.width ||
                cell.y + cell.h > settings.height)
            {
                source.Fail(settings.cell_lines[index],
                            "cell " + std::to_string(index) + " reaches outside the picture");
                return;
            }
        sprite.cells = settings.cells;
        // An icon: the same drawing again at each size, NAME-SIZE.png.
        for (int size : settings.icon_sizes)
        {
            Canvas icon(size, size);
            float k = static_cast<float>(size) / settings.width;
            Variables iv = Cell_Variables(0, 0, 1, settings.width, settings.height);
            iv["size"] = size;
            if (!program.Draw(program.Statements(), icon, iv, Affine::Scaling(k, k, 0, 0)))
                return;
            outputs[name + "-" + std::to_string(size) + ".png"] = Encode_Png(icon.To_Rgba8(), size, size);
        }
        if (!settings.icon_sizes.empty())
            return;
    }
    Write_Texture(*sheet, name, settings.format, outputs);
    if (!settings.sprite)
        return;
    sprite.source = "assets/" + name + ".pic";
    sprite.texture = Texture_Name(name);
    if (sprite.texture.empty())
    {
        source.Fail(settings.sprite_line, "a picture with a sprite script must lie under textures/");
        return;
    }
    sprite.frames = settings.frames > 0 ? settings.frames : 1;
    sprite.texture_width = sheet->Width();
    sprite.texture_height = sheet->Height();
    outputs[name + ".spr"] = Bytes(sprite.Text());
}
} // namespace assets
