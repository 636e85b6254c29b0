// Sprite::Initialize: reads a sprite script (".spr") and builds the sprite's tables from it.
#include "engine/core/text_file.h"
#include "engine/core/token.h"
#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/render/sprite.h"
#include "engine/render/texture.h"

#include <cstdio>
#include <cstring>

// The script language: one keyword table per load, the reader's cursor, comment depth, the reference size
// of the texture last loaded and the cell offset.
class Sprite_Script
{
  public:
    enum Keyword
    {
        COMMENT_OPEN = 0,
        COMMENT_CLOSE = 1,
        FRAMES = 2,
        TEXTURES = 3,
        TEXTURE = 4,
        CELLS = 5,
        CELL = 6,
        CELL_PIXELS = 7,
        GRID = 8,
        WIDTH = 9,
        WIDTH_PIXELS = 10,
        BASE_LINE = 12,
        CENTRE_LINE = 13,
        TOP_LINE = 14,
        BOTTOM_LINE = 15,
        MATRICES = 16,
        OFFSET = 17,
        OFFSET_PIXELS = 18,
    };

    Sprite_Script(Sprite& sprite, Text_File& file, const char* path)
        : m_sprite(sprite), m_file(file), m_path(path)
    {
    }
    void Run();

  private:
    // Each keyword's arguments; false when the script ends before they are all there.
    bool Keyword_Line(int id);
    bool Cell_Line(bool pixels);
    bool Grid_Line();
    bool Line_Value(float& line);
    void Fill_Defaults();
    // A pixel measure as a fraction of the reference size; 0 while there is no reference.
    static float Per(float pixels, float reference) { return reference != 0.0f ? pixels / reference : 0.0f; }

    Sprite& m_sprite;
    Text_File& m_file;
    const char* m_path;
    Vector2 m_reference{0.0f, 0.0f};
    Vector2 m_offset{0.0f, 0.0f};
};

void Sprite_Script::Run()
{
    Token* keywords = nullptr;
    Token comment_open("/*", COMMENT_OPEN, keywords);
    Token comment_close("*/", COMMENT_CLOSE, keywords);
    Token frames("frames", FRAMES, keywords);
    Token textures("textures", TEXTURES, keywords);
    Token texture("texture", TEXTURE, keywords);
    Token cells("cells", CELLS, keywords);
    Token cell("cell", CELL, keywords);
    Token cellp("cellp", CELL_PIXELS, keywords);
    Token grid("grid", GRID, keywords);
    Token width("width", WIDTH, keywords);
    Token widthp("widthp", WIDTH_PIXELS, keywords);
    Token base_line("base_line", BASE_LINE, keywords);
    Token centre_line("centre_line", CENTRE_LINE, keywords);
    Token top_line("top_line", TOP_LINE, keywords);
    Token bottom_line("bottom_line", BOTTOM_LINE, keywords);
    Token cbi_size("cbi_size", MATRICES, keywords);
    Token offset("offset", OFFSET, keywords);
    Token offsetp("offsetp", OFFSET_PIXELS, keywords);

    int depth = 0;
    char word[256];
    for (;;)
    {
        const uint32_t start = m_file.Get_Position();
        if (m_file.Read_Word(word, sizeof word) == 0)
            break;
        const int id = Find_Token(keywords, word);
        if (id == COMMENT_OPEN)
        {
            ++depth;
            continue;
        }
        if (id == COMMENT_CLOSE)
        {
            // A closing marker with no comment open is ignored.
            if (depth > 0)
                --depth;
            continue;
        }
        if (depth > 0)
            continue;
        if (std::strncmp(word, "//", 2) == 0)
        {
            char rest[256];
            m_file.Set_Position(start);
            m_file.Read_Line(rest, sizeof rest);
            continue;
        }
        if (id < 0)
        {
            Report_Error(false, "Sprite::Initialize - Unrecognised script token \"%s\" (%s)\n", word, m_path);
            continue;
        }
        if (!Keyword_Line(id))
            break;
    }
    Fill_Defaults();
}

bool Sprite_Script::Keyword_Line(int id)
{
    int count = 0;
    float value = 0.0f;
    switch (id)
    {
    case FRAMES:
        if (!m_file.Read_Int(count))
            return false;
        if (!m_sprite.Create_Frames(count))
            Print_Message("Sprite \"%s\" - Failed to create %d frames\n", m_sprite.Get_Name(), count);
        return true;
    case TEXTURES:
        if (!m_file.Read_Int(count))
            return false;
        m_sprite.Create_Textures(count);
        return true;
    case TEXTURE:
    {
        char name[256];
        if (!m_file.Read_Int(count) || m_file.Read_Word(name, sizeof name) == 0)
            return false;
        if (m_sprite.Load_Texture(count, name))
        {
            float w = 0.0f, h = 0.0f;
            if (m_sprite.Texture_Size(count, w, h))
                m_reference = {w, h};
        }
        return true;
    }
    case CELLS:
        if (!m_file.Read_Int(count))
            return false;
        m_sprite.Create_Cells(count);
        return true;
    case CELL:
        return Cell_Line(false);
    case CELL_PIXELS:
        return Cell_Line(true);
    case GRID:
        return Grid_Line();
    case WIDTH:
        if (!m_file.Read_Float(value))
            return false;
        m_sprite.m_fixed_width = value * m_reference.x;
        return true;
    case WIDTH_PIXELS:
        if (!m_file.Read_Float(value))
            return false;
        m_sprite.m_fixed_width = value;
        return true;
    case BASE_LINE:
        return Line_Value(m_sprite.m_base_line);
    case CENTRE_LINE:
        return Line_Value(m_sprite.m_centre_line);
    case TOP_LINE:
        return Line_Value(m_sprite.m_top_line);
    case BOTTOM_LINE:
        return Line_Value(m_sprite.m_bottom_line);
    case MATRICES:
        if (!m_file.Read_Int(count))
            return false;
        m_sprite.Create_Matrices(count);
        return true;
    case OFFSET:
        return m_file.Read_Float(m_offset.x) && m_file.Read_Float(m_offset.y);
    case OFFSET_PIXELS:
    {
        float x = 0.0f, y = 0.0f;
        if (!m_file.Read_Float(x) || !m_file.Read_Float(y))
            return false;
        m_offset = {Per(x, m_reference.x), Per(y, m_reference.y)};
        return true;
    }
    default:
        return true;
    }
}

bool Sprite_Script::Cell_Line(bool pixels)
{
    int index = 0;
    float x = 0.0f, y = 0.0f, w = 0.0f, h = 0.0f;
    if (!m_file.Read_Int(index) || !m_file.Read_Float(x) || !m_file.Read_Float(y) || !m_file.Read_Float(w) ||
        !m_file.Read_Float(h))
        return false;
    if (pixels)
    {
        x = Per(x, m_reference.x);
        y = Per(y, m_reference.y);
        w = Per(w, m_reference.x);
        h = Per(h, m_reference.y);
    }
    x += m_offset.x;
    y += m_offset.y;
    if (index >= 0 && index < m_sprite.Get_Cell_Count())
        m_sprite.Set_Cell(index, x, y, w, h);
    else
        Report_Error(false, "Sprite \"%s\" cell reference out of range!!!", m_sprite.Get_Name());
    return true;
}

bool Sprite_Script::Grid_Line()
{
    int columns = 0, rows = 0;
    float w = 0.0f, h = 0.0f;
    if (!m_file.Read_Int(columns) || !m_file.Read_Int(rows) || !m_file.Read_Float(w) || !m_file.Read_Float(h))
        return false;
    if (columns <= 0 || rows <= 0)
        return true;
    if (m_sprite.Get_Cell_Count() == 0)
    {
        const long long count = static_cast<long long>(columns) * rows;
        if (count <= Sprite::MAX_TABLE)
            m_sprite.Create_Cells(static_cast<int>(count));
    }
    w = Per(w, m_reference.x);
    h = Per(h, m_reference.y);
    const int cell_count = m_sprite.Get_Cell_Count();
    for (int r = 0; r < rows; ++r)
    {
        for (int c = 0; c < columns; ++c)
        {
            const long long index = c + static_cast<long long>(columns) * r;
            if (index >= cell_count)
                return true; // every later cell lies further on
            m_sprite.Set_Cell(static_cast<int>(index), c * w, r * h, w, h);
        }
    }
    return true;
}

bool Sprite_Script::Line_Value(float& line)
{
    float value = 0.0f;
    if (!m_file.Read_Float(value))
        return false;
    // Above 1 the value is pixels; 1 or less is a fraction of the reference height.
    line = value > 1.0f ? value : value * m_reference.y;
    return true;
}

void Sprite_Script::Fill_Defaults()
{
    Sprite& s = m_sprite;
    if (s.m_bottom_line == 0.0f)
        s.m_bottom_line = s.m_cell_count > 0 ? s.m_cells[0].pixel_height : 1.0f;
    if (s.m_base_line == 0.0f)
        s.m_base_line = s.m_bottom_line;
    if (s.m_centre_line == 0.0f)
        s.m_centre_line = (s.m_top_line + s.m_bottom_line) * 0.5f;
}

bool Sprite::Initialize(const char* name)
{
    if (!name)
        return false;
    delete[] m_name;
    m_name = new (std::nothrow) char[std::strlen(name) + 1];
    if (m_name)
        std::strcpy(m_name, name);

    char path[600];
    std::snprintf(path, sizeof path, "%s%s.spr", g_vorta_engine ? g_vorta_engine->Get_Texture_Path() : "",
                  name);
    Text_File file;
    if (!file.Load(path, WORD_BLANKS))
        return false;
    Read_Script(file, path);
    return true;
}

void Sprite::Read_Script(Text_File& file, const char* file_name)
{
    Sprite_Script(*this, file, file_name).Run();
}
