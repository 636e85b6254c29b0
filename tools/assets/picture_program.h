// The statements of a picture source and the machine that draws them: variables and expressions, parts
// (drawings with arguments that others reuse), loops and conditions, transforms, groups with outlines,
// glows and shadows, and the shapes and paints of the drawing library.
#pragma once
#include "canvas.h"
#include "expression.h"
#include "shapes.h"
#include "source_file.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace assets
{
struct Statement
{
    const Source_File* file = nullptr; // for messages: the file it was read from
    int line = 0;
    std::string command;
    std::vector<std::string> words; // the arguments; a parenthesised group with blanks is one word
    std::vector<Statement> body;    // blocks: part, repeat, if (its then-branch), group, cells
    std::vector<Statement> other;   // the else-branch of an if
};

class Picture_Program
{
  public:
    // Reads the statements of `source` (and of the files it includes); false with the source failed.
    bool Parse(Source_File& source);
    const std::vector<Statement>& Statements() const { return m_statements; }

    // Draws `statements` onto `canvas` with `variables` set; `to_canvas` maps drawing units to pixels.
    // Settings and cell lines (size, cells, frames...) are skipped: the caller reads them. False after
    // reporting a mistake to the source.
    bool Draw(const std::vector<Statement>& statements, Canvas& canvas, const Variables& variables,
              const Affine& to_canvas);

    // A number or colour of a setting line, for the caller.
    bool Number(const Statement& s, size_t index, double& out);
    void Fail(const Statement& s, const std::string& message);

    // Named colours ("palette NAME COLOUR" lines), read before drawing.
    const std::map<std::string, Colour>& Palette() const { return m_palette; }

  private:
    bool Parse_File(Source_File& file, std::vector<Statement>& out, int depth);
    bool Run(const std::vector<Statement>& statements);
    bool Run_One(const Statement& s);
    bool Eval(const Statement& s, size_t& i, double& out, const char* what);
    bool Eval_Float(const Statement& s, size_t& i, float& out, const char* what);
    bool Colour_Word(const Statement& s, const std::string& word, Colour& out);
    bool Colour_At(const Statement& s, size_t& i, Colour& out, const char* what);
    bool Shape_At(const Statement& s, size_t& i, Shape& out);
    bool Primary_At(const Statement& s, size_t& i, Shape& out);
    bool Paint_At(const Statement& s, size_t& i, const Shape& canvas_shape, float shift, Paint& out);
    bool Draw_Shape(const Statement& s, size_t i, const std::string& how, float width, float light);
    bool Group(const Statement& s);
    bool Is_Keyword(const std::string& word) const;

    Source_File* m_main = nullptr;
    std::vector<std::unique_ptr<Source_File>> m_included;
    std::vector<Statement> m_statements;
    std::map<std::string, const Statement*> m_parts;
    std::map<std::string, Colour> m_palette;
    std::map<std::string, Shape> m_shapes; // "define NAME SHAPE", in drawing units

    // Drawing state.
    Canvas* m_target = nullptr;
    Variables m_variables;
    Affine m_transform;
    std::vector<Affine> m_saved;
    bool m_wrap = false;
    float m_period = 0;
    std::string m_font = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
    float m_letter_spacing = 0;
    int m_calls = 0;
};
} // namespace assets
