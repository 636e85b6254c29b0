// Reading picture statements into blocks, and drawing them.
#include "picture_program.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>

namespace assets
{
namespace
{
const std::set<std::string> k_blocks = {"part", "repeat", "if", "group"};
const std::set<std::string> k_paints = {"colour", "linear", "radial", "noise", "lit"};
const std::set<std::string> k_combines = {"minus", "union", "and", "grow", "blend"};
// Lines the caller reads; the drawing pass skips them.
const std::set<std::string> k_settings = {"size", "cells", "frames", "cell", "box",    "format",
                                          "pad",  "edge",  "icon",   "mips", "palette"};

int Paren_Depth(const std::string& word)
{
    int depth = 0;
    for (char c : word)
        depth += c == '(' ? 1 : c == ')' ? -1 : 0;
    return depth;
}

bool Parse_Hex(const std::string& word, Colour& out)
{
    std::string hex = word.substr(1);
    if ((hex.size() != 6 && hex.size() != 8) ||
        hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return false;
    float v[4] = {1, 1, 1, 1};
    for (size_t k = 0; k * 2 < hex.size(); ++k)
        v[k] = static_cast<float>(std::strtol(hex.substr(k * 2, 2).c_str(), nullptr, 16)) / 255.0f;
    out = {v[0], v[1], v[2], v[3]};
    return true;
}

// Splits "a,b,c" at the commas outside parentheses.
std::vector<std::string> Split_Arguments(const std::string& text)
{
    std::vector<std::string> parts(1);
    int depth = 0;
    for (char c : text)
    {
        if (c == ',' && depth == 0)
        {
            parts.emplace_back();
            continue;
        }
        depth += c == '(' ? 1 : c == ')' ? -1 : 0;
        parts.back() += c;
    }
    return parts;
}
} // namespace

bool Picture_Program::Parse(Source_File& source)
{
    m_main = &source;
    m_statements.clear();
    m_parts.clear();
    if (!Parse_File(source, m_statements, 0))
        return false;
    // Parts and palette entries are known before drawing starts, wherever they stand.
    for (const Statement& s : m_statements)
    {
        if (s.command == "part")
            m_parts[s.words[0]] = &s;
        else if (s.command == "palette")
        {
            Colour c;
            if (s.words.size() != 2)
            {
                Fail(s, "'palette' needs a name and a colour");
                return false;
            }
            if (!Colour_Word(s, s.words[1], c))
                return false;
            m_palette[s.words[0]] = c;
        }
    }
    return true;
}

bool Picture_Program::Parse_File(Source_File& file, std::vector<Statement>& out, int depth)
{
    std::vector<std::vector<Statement>*> open{&out};
    std::vector<Statement*> owners;
    for (const Source_Line& line : file.Lines())
    {
        Statement s;
        s.file = &file;
        s.line = line.number;
        s.command = line.words[0];
        for (size_t k = 1; k < line.words.size(); ++k)
        {
            std::string word = line.words[k];
            while (Paren_Depth(word) > 0 && k + 1 < line.words.size())
                word += " " + line.words[++k];
            s.words.push_back(word);
        }
        if (s.command == "include")
        {
            if (s.words.size() != 1 || depth > 4)
            {
                file.Fail(s.line, "'include' needs one file name (and includes nest at most 4 deep)");
                break;
            }
            std::filesystem::path path = std::filesystem::path(file.Name()).parent_path() / s.words[0];
            auto included = std::make_unique<Source_File>();
            Source_File* raw = included.get();
            m_included.push_back(std::move(included));
            if (!raw->Load(path.string()) || !Parse_File(*raw, *open.back(), depth + 1))
            {
                file.Fail_Text(raw->Error());
                break;
            }
            continue;
        }
        if (s.command == "end")
        {
            if (owners.empty())
            {
                file.Fail(s.line, "'end' without a block to close");
                break;
            }
            owners.pop_back();
            open.pop_back();
            continue;
        }
        if (s.command == "else")
        {
            if (owners.empty() || owners.back()->command != "if" || open.back() != &owners.back()->body)
            {
                file.Fail(s.line, "'else' outside an 'if'");
                break;
            }
            open.back() = &owners.back()->other;
            continue;
        }
        if ((s.command == "part" || s.command == "repeat" || s.command == "if") && s.words.empty())
        {
            file.Fail(s.line,
                      "'" + s.command + "' needs " + (s.command == "part" ? "a name" : "an argument"));
            break;
        }
        if (s.command == "part" && !owners.empty())
        {
            file.Fail(s.line, "parts are defined at the top level");
            break;
        }
        if (s.command == "cells")
        {
            // A cell group takes every statement up to the next group.
            if (!owners.empty())
            {
                file.Fail(s.line, "'cells' inside a block");
                break;
            }
            if (!out.empty() && out.back().command == "cells" && open.size() == 2)
                open.pop_back();
            out.push_back(std::move(s));
            open.push_back(&out.back().body);
            continue;
        }
        bool block = k_blocks.count(s.command) > 0;
        open.back()->push_back(std::move(s));
        if (block)
        {
            owners.push_back(&open.back()->back());
            open.push_back(&owners.back()->body);
        }
    }
    if (!file.Failed() && !owners.empty())
        file.Fail(owners.back()->line, "'" + owners.back()->command + "' has no 'end'");
    return !file.Failed();
}

void Picture_Program::Fail(const Statement& s, const std::string& message)
{
    if (!s.file || s.file == m_main)
        m_main->Fail(s.line, message);
    else
        m_main->Fail_Text(s.file->Name() + ":" + std::to_string(s.line) + ": " + message);
}

bool Picture_Program::Eval(const Statement& s, size_t& i, double& out, const char* what)
{
    if (i >= s.words.size())
    {
        Fail(s, "'" + s.command + "' needs " + what);
        return false;
    }
    const std::string& word = s.words[i++];
    if (Is_Plain_Number(word, out))
        return true;
    std::string error;
    if (!Evaluate(word, m_variables, out, error))
    {
        // A lone word that names nothing was meant as a number.
        bool name = !word.empty() && word.find_first_not_of(
                                         "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_0123456789") ==
                                         std::string::npos;
        Fail(s, name ? "'" + word + "' is not a number (" + what + ")" : error + " (" + what + ")");
        return false;
    }
    return true;
}

bool Picture_Program::Eval_Float(const Statement& s, size_t& i, float& out, const char* what)
{
    double v = 0;
    if (!Eval(s, i, v, what))
        return false;
    out = static_cast<float>(v);
    return true;
}

bool Picture_Program::Number(const Statement& s, size_t index, double& out)
{
    return Eval(s, index, out, "a number");
}

bool Picture_Program::Colour_Word(const Statement& s, const std::string& word, Colour& out)
{
    // NAME@ALPHA multiplies the alpha; the last '@' outside parentheses splits.
    int depth = 0;
    for (size_t k = word.size(); k-- > 0;)
    {
        depth += word[k] == ')' ? 1 : word[k] == '(' ? -1 : 0;
        if (word[k] == '@' && depth == 0)
        {
            double alpha = 0;
            std::string error;
            if (!Colour_Word(s, word.substr(0, k), out))
                return false;
            if (!Evaluate(word.substr(k + 1), m_variables, alpha, error))
            {
                Fail(s, error + " (an alpha)");
                return false;
            }
            out.a *= static_cast<float>(std::clamp(alpha, 0.0, 1.0));
            return true;
        }
    }
    if (word.rfind("mix(", 0) == 0 && word.back() == ')')
    {
        std::vector<std::string> parts = Split_Arguments(word.substr(4, word.size() - 5));
        Colour a, b;
        double t = 0;
        std::string error;
        if (parts.size() != 3)
        {
            Fail(s, "'" + word + "': mix takes two colours and an amount");
            return false;
        }
        if (!Colour_Word(s, parts[0], a) || !Colour_Word(s, parts[1], b))
            return false;
        if (!Evaluate(parts[2], m_variables, t, error))
        {
            Fail(s, error + " (a mix amount)");
            return false;
        }
        out = Mix(a, b, static_cast<float>(std::clamp(t, 0.0, 1.0)));
        return true;
    }
    if (!word.empty() && word[0] == '#')
    {
        if (Parse_Hex(word, out))
            return true;
        Fail(s, "'" + word + "' is not a colour");
        return false;
    }
    auto found = m_palette.find(word);
    if (found != m_palette.end())
    {
        out = found->second;
        return true;
    }
    Fail(s, "'" + word + "' is not a colour (#rrggbb, #rrggbbaa, a palette name, NAME@ALPHA or mix(A,B,T))");
    return false;
}

bool Picture_Program::Colour_At(const Statement& s, size_t& i, Colour& out, const char* what)
{
    if (i >= s.words.size())
    {
        Fail(s, "'" + s.command + "' needs " + what);
        return false;
    }
    double first = 0;
    if (Is_Plain_Number(s.words[i], first))
    {
        // Three or four numbers from 0 to 1.
        float v[4] = {0, 0, 0, 1};
        for (int k = 0; k < 3; ++k)
            if (!Eval_Float(s, i, v[k], what))
                return false;
        double a = 0;
        if (i < s.words.size() && Is_Plain_Number(s.words[i], a))
            v[3] = static_cast<float>(a), ++i;
        out = {v[0], v[1], v[2], v[3]};
        return true;
    }
    return Colour_Word(s, s.words[i++], out);
}

bool Picture_Program::Is_Keyword(const std::string& word) const
{
    return k_paints.count(word) || k_combines.count(word);
}

bool Picture_Program::Primary_At(const Statement& s, size_t& i, Shape& out)
{
    if (i >= s.words.size())
    {
        Fail(s, "'" + s.command + "' needs a shape");
        return false;
    }
    const std::string kind = s.words[i++];
    float v[8] = {};
    auto numbers = [&](int n, const char* what)
    {
        for (int k = 0; k < n; ++k)
            if (!Eval_Float(s, i, v[k], what))
                return false;
        return true;
    };
    auto optional = [&](float& value)
    {
        if (i < s.words.size() && !Is_Keyword(s.words[i]))
            return Eval_Float(s, i, value, "a number");
        return true;
    };
    if (kind == "rect")
    {
        float radius = 0;
        if (!numbers(4, "x y width height") || !optional(radius))
            return false;
        out = Rectangle(v[0], v[1], v[2], v[3], radius);
    }
    else if (kind == "circle")
    {
        if (!numbers(3, "x y radius"))
            return false;
        out = Ellipse(v[0], v[1], v[2], v[2]);
    }
    else if (kind == "ellipse")
    {
        if (!numbers(4, "x y x-radius y-radius"))
            return false;
        out = Ellipse(v[0], v[1], v[2], v[3]);
    }
    else if (kind == "line")
    {
        if (!numbers(5, "x0 y0 x1 y1 width"))
            return false;
        out = Capsule(v[0], v[1], v[2], v[3], v[4]);
    }
    else if (kind == "polygon")
    {
        std::vector<float> points;
        while (i < s.words.size() && !Is_Keyword(s.words[i]))
        {
            float p = 0;
            if (!Eval_Float(s, i, p, "a point"))
                return false;
            points.push_back(p);
        }
        if (points.size() < 6 || points.size() % 2 != 0)
        {
            Fail(s, "a polygon needs at least three x y points");
            return false;
        }
        out = Outline_Shape({points});
    }
    else if (kind == "path")
    {
        Path_Builder path;
        int count = 0;
        while (i < s.words.size() && !Is_Keyword(s.words[i]))
        {
            const std::string op = s.words[i++];
            if (op == "M" || op == "L")
            {
                if (!numbers(2, "x y"))
                    return false;
                op == "M" ? path.Move(v[0], v[1]) : path.Line(v[0], v[1]);
            }
            else if (op == "Q")
            {
                if (!numbers(4, "cx cy x y"))
                    return false;
                path.Quad(v[0], v[1], v[2], v[3]);
            }
            else if (op == "C")
            {
                if (!numbers(6, "c1x c1y c2x c2y x y"))
                    return false;
                path.Cubic(v[0], v[1], v[2], v[3], v[4], v[5]);
            }
            else if (op == "Z")
                path.Close();
            else
            {
                Fail(s, "'" + op + "' is not a path step (M, L, Q, C, Z)");
                return false;
            }
            ++count;
        }
        std::vector<Contour> contours = path.Contours();
        if (contours.empty())
        {
            Fail(s, "a path needs at least three points");
            return false;
        }
        out = Outline_Shape(contours);
    }
    else if (kind == "star")
    {
        float rotation = 0;
        if (!numbers(5, "x y points outer inner") || !optional(rotation))
            return false;
        out = Star(v[0], v[1], static_cast<int>(v[2]), v[3], v[4], rotation);
    }
    else if (kind == "ring")
    {
        if (!numbers(4, "x y radius width"))
            return false;
        out = Ring(v[0], v[1], v[2], v[3]);
    }
    else if (kind == "arc")
    {
        if (!numbers(6, "x y radius width from to"))
            return false;
        out = Arc(v[0], v[1], v[2], v[3], v[4], v[5]);
    }
    else if (kind == "text")
    {
        if (!numbers(3, "x y height"))
            return false;
        if (i >= s.words.size())
        {
            Fail(s, "'text' needs the text");
            return false;
        }
        std::string error;
        if (!Text_Shape(m_font, s.words[i++], v[0], v[1], v[2], m_letter_spacing, out, error))
        {
            Fail(s, error);
            return false;
        }
    }
    else if (kind == "shape")
    {
        if (i >= s.words.size() || !m_shapes.count(s.words[i]))
        {
            Fail(s, "'shape' needs the name of a defined shape");
            return false;
        }
        out = m_shapes[s.words[i++]];
    }
    else
    {
        Fail(s, "'" + kind +
                    "' is not a shape (rect, circle, ellipse, line, polygon, path, star, ring, arc, text, "
                    "shape)");
        return false;
    }
    return true;
}

bool Picture_Program::Shape_At(const Statement& s, size_t& i, Shape& out)
{
    if (!Primary_At(s, i, out))
        return false;
    while (i < s.words.size() && k_combines.count(s.words[i]))
    {
        const std::string op = s.words[i++];
        float amount = 0;
        if (op == "grow")
        {
            if (!Eval_Float(s, i, amount, "a distance"))
                return false;
            out = Grown(out, amount);
            continue;
        }
        if (op == "blend" && !Eval_Float(s, i, amount, "a blend width"))
            return false;
        Shape other;
        if (!Primary_At(s, i, other))
            return false;
        out = op == "union"   ? Combined(out, other, Combine::Union)
              : op == "minus" ? Combined(out, other, Combine::Minus)
              : op == "and"   ? Combined(out, other, Combine::Intersect)
                              : Smooth_Union(out, other, amount);
    }
    return true;
}

bool Picture_Program::Paint_At(const Statement& s, size_t& i, const Shape& canvas_shape, float shift,
                               Paint& out)
{
    if (i >= s.words.size())
    {
        Fail(s, "'" + s.command + "' needs a paint");
        return false;
    }
    const std::string kind = s.words[i++];
    float v[4] = {};
    auto numbers = [&](int n, const char* what)
    {
        for (int k = 0; k < n; ++k)
            if (!Eval_Float(s, i, v[k], what))
                return false;
        return true;
    };
    auto stops = [&](std::vector<Colour>& list)
    {
        while (i < s.words.size())
        {
            Colour c;
            if (!Colour_At(s, i, c, "a colour"))
                return false;
            list.push_back(c);
        }
        if (list.size() < 2)
        {
            Fail(s, "a gradient needs at least two colours");
            return false;
        }
        return true;
    };
    Paint local;
    if (kind == "colour")
    {
        Colour c;
        if (!Colour_At(s, i, c, "a colour"))
            return false;
        out = Flat(c);
        return true;
    }
    if (kind == "lit")
    {
        float radius = 0;
        Colour base, light, dark;
        if (!Eval_Float(s, i, radius, "a radius") || !Colour_At(s, i, base, "a base colour") ||
            !Colour_At(s, i, light, "a light colour") || !Colour_At(s, i, dark, "a dark colour"))
            return false;
        out = Lit(canvas_shape, radius * m_transform.Scale(), base, light, dark);
        return true;
    }
    if (kind == "linear" || kind == "radial")
    {
        std::vector<Colour> list;
        if (!numbers(kind == "linear" ? 4 : 3, "the gradient's points") || !stops(list))
            return false;
        local = kind == "linear" ? Linear_Stops(v[0], v[1], v[2], v[3], list)
                                 : Radial_Stops(v[0], v[1], v[2], list);
    }
    else if (kind == "noise")
    {
        Colour a, b;
        if (!numbers(2, "a cell size and a seed") || !Colour_At(s, i, a, "a colour") ||
            !Colour_At(s, i, b, "a colour"))
            return false;
        float period = m_period > 0 ? m_period
                       : m_wrap     ? static_cast<float>(m_target->Width()) / m_transform.Scale()
                                    : 0.0f;
        local = Noise(v[0], static_cast<unsigned>(std::lround(v[1])), a, b, period);
    }
    else
    {
        Fail(s, "'" + kind + "' is not a paint (colour, linear, radial, noise, lit)");
        return false;
    }
    Affine back = m_transform.Inverse();
    out = [local, back, shift](float x, float y)
    {
        float lx, ly;
        back.Apply(x - shift, y, lx, ly);
        return local(lx, ly);
    };
    return true;
}

bool Picture_Program::Draw_Shape(const Statement& s, size_t i, const std::string& how, float width,
                                 float light)
{
    Shape local;
    if (!Shape_At(s, i, local))
        return false;
    Shape shape = Transformed(local, m_transform);
    const size_t paint_at = i;
    const float w = static_cast<float>(m_target->Width());
    for (float shift : {0.0f, -w, w})
    {
        if (shift != 0.0f && !m_wrap)
            break;
        Shape placed = shift == 0.0f ? shape : Shifted(shape, shift, 0);
        if (placed.x1 + width + 2 < 0 || placed.x0 - width - 2 > w)
            continue;
        size_t k = paint_at;
        if (how == "bevel")
        {
            Colour highlight, shade;
            if (!Colour_At(s, k, highlight, "a highlight") || !Colour_At(s, k, shade, "a shade"))
                return false;
            m_target->Bevel(placed, width * m_transform.Scale(), light, highlight, shade);
        }
        else
        {
            Paint paint;
            if (!Paint_At(s, k, placed, shift, paint))
                return false;
            if (how == "stroke")
                m_target->Stroke(placed, width * m_transform.Scale(), paint);
            else
                m_target->Fill(placed, paint, width * m_transform.Scale());
        }
        if (k < s.words.size())
        {
            Fail(s, "'" + s.words[k] + "' was not expected here");
            return false;
        }
    }
    return true;
}

bool Picture_Program::Group(const Statement& s)
{
    Canvas layer(m_target->Width(), m_target->Height());
    Canvas* parent = m_target;
    m_target = &layer;
    Affine saved = m_transform;
    bool ok = Run(s.body);
    m_transform = saved;
    m_target = parent;
    if (!ok)
        return false;
    float opacity = 1.0f;
    bool additive = false;
    const float scale = m_transform.Scale();
    for (size_t i = 0; i < s.words.size();)
    {
        const std::string effect = s.words[i++];
        Colour c;
        float a = 0, b = 0, r = 0;
        if (effect == "outline")
        {
            if (!Eval_Float(s, i, a, "a width") || !Colour_At(s, i, c, "a colour"))
                return false;
            Canvas under = layer.Dilated(a * scale, c, m_wrap);
            under.Composite(layer, 1.0f, false);
            layer = std::move(under);
        }
        else if (effect == "glow" || effect == "shadow")
        {
            if (effect == "shadow" && (!Eval_Float(s, i, a, "x") || !Eval_Float(s, i, b, "y")))
                return false;
            if (!Eval_Float(s, i, r, "a radius") || !Colour_At(s, i, c, "a colour"))
                return false;
            Canvas under = layer.Blurred(r * scale, c, a * scale, b * scale, m_wrap);
            under.Composite(layer, 1.0f, false);
            layer = std::move(under);
        }
        else if (effect == "opacity")
        {
            if (!Eval_Float(s, i, opacity, "an opacity"))
                return false;
        }
        else if (effect == "add")
            additive = true;
        else
        {
            Fail(s, "'" + effect + "' is not a group effect (outline, glow, shadow, opacity, add)");
            return false;
        }
    }
    m_target->Composite(layer, opacity, additive);
    return true;
}

bool Picture_Program::Run(const std::vector<Statement>& statements)
{
    for (const Statement& s : statements)
        if (!Run_One(s))
            return false;
    return true;
}

bool Picture_Program::Run_One(const Statement& s)
{
    const std::string& c = s.command;
    size_t i = 0;
    if (k_settings.count(c) || c == "part")
        return true;
    if (c == "let")
    {
        double v = 0;
        if (s.words.size() < 2)
        {
            Fail(s, "'let' needs a name and a value");
            return false;
        }
        // The value is the rest of the line, blanks and all.
        Statement joined = s;
        joined.words = {s.words[0], s.words[1]};
        for (size_t k = 2; k < s.words.size(); ++k)
            joined.words[1] += " " + s.words[k];
        i = 1;
        if (!Eval(joined, i, v, "a value"))
            return false;
        m_variables[s.words[0]] = v;
        return true;
    }
    if (c == "use")
    {
        if (s.words.empty() || !m_parts.count(s.words[0]))
        {
            Fail(s, "'use' needs the name of a part");
            return false;
        }
        const Statement& part = *m_parts[s.words[0]];
        if (s.words.size() != part.words.size())
        {
            Fail(s, "part '" + part.words[0] + "' takes " + std::to_string(part.words.size() - 1) +
                        " arguments");
            return false;
        }
        if (++m_calls > 100000)
        {
            Fail(s, "too many part calls (a part that uses itself?)");
            return false;
        }
        Variables saved_variables = m_variables;
        for (size_t k = 1; k < s.words.size(); ++k)
        {
            size_t at = k;
            double v = 0;
            if (!Eval(s, at, v, "an argument"))
                return false;
            m_variables[part.words[k]] = v;
        }
        Affine saved = m_transform;
        size_t depth = m_saved.size();
        bool ok = Run(part.body);
        m_transform = saved;
        m_saved.resize(std::min(depth, m_saved.size()));
        m_variables = saved_variables;
        return ok;
    }
    if (c == "repeat")
    {
        double count = 0;
        size_t at = 1;
        if (s.words.size() != 2 || !Eval(s, at, count, "a count"))
        {
            if (s.words.size() != 2)
                Fail(s, "'repeat' needs a name and a count");
            return false;
        }
        for (int k = 0; k < static_cast<int>(count); ++k)
        {
            m_variables[s.words[0]] = k;
            if (!Run(s.body))
                return false;
        }
        return true;
    }
    if (c == "if")
    {
        // The condition is the rest of the line, blanks and all.
        Statement joined = s;
        for (size_t k = 1; k < s.words.size(); ++k)
            joined.words[0] += " " + s.words[k];
        joined.words.resize(1);
        double v = 0;
        if (!Eval(joined, i, v, "a condition"))
            return false;
        return Run(v != 0.0 ? s.body : s.other);
    }
    if (c == "group")
        return Group(s);
    if (c == "push")
    {
        m_saved.push_back(m_transform);
        return true;
    }
    if (c == "pop")
    {
        if (m_saved.empty())
        {
            Fail(s, "'pop' without 'push'");
            return false;
        }
        m_transform = m_saved.back();
        m_saved.pop_back();
        return true;
    }
    if (c == "translate" || c == "rotate" || c == "scale" || c == "mirror" || c == "flip")
    {
        float v[4] = {};
        int n = c == "translate" ? 2 : c == "rotate" ? 1 : c == "scale" ? 1 : 0;
        for (int k = 0; k < n; ++k)
            if (!Eval_Float(s, i, v[k], "a number"))
                return false;
        Affine step;
        if (c == "translate")
            step = Affine::Translation(v[0], v[1]);
        else if (c == "rotate")
        {
            float x = 0, y = 0;
            if (i < s.words.size() && (!Eval_Float(s, i, x, "x") || !Eval_Float(s, i, y, "y")))
                return false;
            step = Affine::Rotation(v[0], x, y);
        }
        else if (c == "scale")
        {
            float sy = v[0];
            if (i < s.words.size() && !Eval_Float(s, i, sy, "a y scale"))
                return false;
            step = Affine::Scaling(v[0], sy, 0, 0);
        }
        else
        {
            // Mirrors about a line through the given place, the middle of the cell by default.
            float at = c == "mirror" ? static_cast<float>(m_variables.count("cx") ? m_variables["cx"] : 0)
                                     : static_cast<float>(m_variables.count("cy") ? m_variables["cy"] : 0);
            if (i < s.words.size() && !Eval_Float(s, i, at, "a place"))
                return false;
            step = c == "mirror" ? Affine::Scaling(-1, 1, at, 0) : Affine::Scaling(1, -1, 0, at);
        }
        if (i < s.words.size())
        {
            Fail(s, "'" + s.words[i] + "' was not expected after '" + c + "'");
            return false;
        }
        // The step works in the current drawing units.
        m_transform = step.Then(m_transform);
        return true;
    }
    if (c == "define")
    {
        if (s.words.size() < 2)
        {
            Fail(s, "'define' needs a name and a shape");
            return false;
        }
        i = 1;
        Shape shape;
        if (!Shape_At(s, i, shape))
            return false;
        m_shapes[s.words[0]] = shape;
        return true;
    }
    if (c == "font")
    {
        if (s.words.empty())
        {
            Fail(s, "'font' needs a TrueType file");
            return false;
        }
        std::filesystem::path path = s.words[0];
        if (path.is_relative())
            path = std::filesystem::path(s.file->Name()).parent_path() / path;
        m_font = path.string();
        i = 1;
        m_letter_spacing = 0;
        if (i < s.words.size() && !Eval_Float(s, i, m_letter_spacing, "a letter spacing"))
            return false;
        return true;
    }
    if (c == "period")
    {
        // Noise paints repeat every this many units across (0: they do not).
        return Eval_Float(s, i, m_period, "a period");
    }
    if (c == "wrap")
    {
        m_wrap = s.words.empty() || s.words[0] != "off";
        return true;
    }
    if (c == "fill")
        return Draw_Shape(s, 0, "fill", 0, 0);
    if (c == "soft" || c == "stroke")
    {
        float width = 0;
        if (!Eval_Float(s, i, width, "a width"))
            return false;
        return Draw_Shape(s, i, c == "soft" ? "fill" : "stroke", width, 0);
    }
    if (c == "bevel")
    {
        float width = 0, light = 0;
        if (!Eval_Float(s, i, width, "a width") || !Eval_Float(s, i, light, "a light angle"))
            return false;
        return Draw_Shape(s, i, "bevel", width, light);
    }
    Fail(s, "'" + c + "' is not a picture command");
    return false;
}

bool Picture_Program::Draw(const std::vector<Statement>& statements, Canvas& canvas,
                           const Variables& variables, const Affine& to_canvas)
{
    m_target = &canvas;
    m_variables = variables;
    m_transform = to_canvas;
    m_saved.clear();
    m_wrap = false;
    m_period = 0;
    m_calls = 0;
    return Run(statements);
}
} // namespace assets
