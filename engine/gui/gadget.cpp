// Gadget: set-up, drag handling, hit test and the rebuild of its sprite quads.
#include "engine/gui/gadget.h"

#include "engine/core/vorta_log.h"
#include "engine/gui/intuition.h"

#include <cmath>

namespace
{
// Flags the gadget sprites are drawn with: alpha blending, linear filtering, clamped addressing.
constexpr uint32_t GADGET_DRAW_FLAGS = 1236;
// Text flags of the caption: left edge, base line at the pen.
constexpr uint32_t CAPTION_FLAGS = 6;
// Quads of the graphics are placed by their top-left corner.
constexpr uint32_t QUAD_FLAGS = GUI_LEFT | GUI_TOP;

} // namespace

Gadget::Gadget(Intuition* manager) : m_manager(manager) {}

Gadget::~Gadget()
{
    if (m_manager)
        m_manager->Forget(this);
    delete m_graphics;
    delete m_font;
}

Gui_Host* Gadget::Host() const
{
    return m_manager ? m_manager->Get_Host() : nullptr;
}

bool Gadget::Update()
{
    m_clicked = false;
    if (m_hidden)
        return false;
    bool consumed = false;
    Gui_Host* host = Host();
    if (m_draggable && host)
    {
        Gui_Vec2 mouse = host->Get_Mouse();
        uint32_t held = host->Mouse_Held(0);
        if (held == 1)
        {
            if (Hit_Test(mouse))
            {
                m_grab = {mouse.x - m_position.x, mouse.y - m_position.y};
                consumed = true;
            }
            else
            {
                m_grab = {-1.0f, -1.0f};
            }
        }
        else if (held > 1 && m_grab.x != -1.0f)
        {
            m_position = {mouse.x - m_grab.x, mouse.y - m_grab.y};
            consumed = true;
        }
        else if (held == 0)
        {
            m_grab = {-1.0f, -1.0f};
        }
    }
    Exclude_If_Opaque();
    return consumed;
}

void Gadget::Exclude_If_Opaque() const
{
    if (m_opaque && m_manager)
        m_manager->Exclude(Get_Rect());
}

void Gadget::Draw()
{
    if (m_hidden)
        return;
    Draw_Sprites();
}

void Gadget::Draw_Sprites()
{
    if (m_dirty)
        Rebuild(true);
    if (m_graphics)
        m_graphics->Draw(m_position, GADGET_DRAW_FLAGS);
    if (m_font)
        m_font->Draw(m_position, GADGET_DRAW_FLAGS);
}

bool Gadget::Hit_Test(Gui_Vec2 point) const
{
    if (!Get_Rect().Contains(point))
        return false;
    return !(m_manager && m_manager->Is_Excluded(point));
}

void Gadget::Offset_Base(Gui_Vec2 v)
{
    m_base.x += v.x;
    m_base.y += v.y;
}

void Gadget::Place(Gui_Vec2 offset, Gui_Vec2 origin)
{
    m_position = {m_base.x + offset.x + origin.x, m_base.y + offset.y + origin.y};
}

void Gadget::Show_Cell(int cell)
{
    if (cell == m_cell)
        return;
    m_cell = cell;
    m_dirty = true;
}

void Gadget::Collect(Gadget_Array& array)
{
    if (array.count < array.capacity)
        array.items[array.count++] = this;
}

void Gadget::Extend_Bounds(float& min_x, float& min_y, float& max_x, float& max_y) const
{
    if (m_hidden)
        return;
    min_x = std::fmin(min_x, m_position.x);
    min_y = std::fmin(min_y, m_position.y);
    max_x = std::fmax(max_x, m_position.x + m_size.x);
    max_y = std::fmax(max_y, m_position.y + m_size.y);
}

void Gadget::Set_Rect(float x, float y, float w, float h)
{
    m_position = m_base = {x, y};
    if (w >= 0.0f)
        m_size.x = m_base_size.x = w;
    if (h >= 0.0f)
        m_size.y = m_base_size.y = h;
    m_dirty = true;
}

bool Gadget::Load_Graphics(const Gadget_Graphics& graphics)
{
    delete m_graphics;
    m_graphics = nullptr;
    Gui_Host* host = Host();
    if (host && graphics.script)
        m_graphics = host->Load_Sprite(graphics.script);
    m_mode = graphics.mode;
    m_colours[0] = graphics.colour;
    m_parameter = graphics.parameter;
    m_dirty = true;
    if (!m_graphics)
    {
        Print_Message("Unable to load GFX \"%s\" for gadget \"%s\"\n", graphics.script ? graphics.script : "",
                      m_name.c_str());
        return false;
    }
    return true;
}

bool Gadget::Load_Font(const char* script, const Gui_Colour& colour, float char_size, int lines,
                       uint32_t text_flags)
{
    delete m_font;
    m_font = nullptr;
    Gui_Host* host = Host();
    if (host && script)
        m_font = host->Load_Sprite(script);
    m_text_colour = colour;
    m_char_size = char_size;
    m_text_flags = text_flags;
    // The lines exist even without a font, so the text is kept for when one is loaded.
    m_lines.assign(lines > 0 ? lines : 1, std::string());
    m_dirty = true;
    if (!m_font)
    {
        Print_Message("Unable to load font \"%s\" for gadget \"%s\"\n", script ? script : "", m_name.c_str());
        return false;
    }
    return true;
}

void Gadget::Set_Line(int index, const char* text)
{
    if (index < 0 || index >= Get_Line_Count())
        return;
    const char* value = text ? text : "";
    if (m_lines[index] == value)
        return;
    m_lines[index] = value;
    m_dirty = true;
}

const char* Gadget::Get_Line(int index) const
{
    if (index < 0 || index >= Get_Line_Count())
        return "";
    return m_lines[index].c_str();
}

void Gadget::Set_Caption(Gui_Vec2 offset, const Gui_Colour& colour, float size, const char* text)
{
    m_caption_offset = offset;
    m_caption_colour = colour;
    m_caption_size = size;
    m_caption = text ? text : "";
    m_dirty = true;
}

void Gadget::Set_Cursor_Column(int column)
{
    if (column == m_cursor_column)
        return;
    m_cursor_column = column;
    m_dirty = true;
}

void Gadget::Rebuild(bool clear)
{
    m_dirty = false;
    if (m_graphics)
    {
        if (clear)
            m_graphics->Clear_Frames();
        const Gui_Colour& colour = m_colours[0];
        if (m_mode == GADGET_TILED)
        {
            int columns = m_parameter.x > 0.0f ? static_cast<int>(std::floor(m_size.x / m_parameter.x)) : 1;
            int rows = m_parameter.y > 0.0f ? static_cast<int>(std::floor(m_size.y / m_parameter.y)) : 1;
            columns = columns < 1 ? 1 : columns;
            rows = rows < 1 ? 1 : rows;
            Gui_Vec2 tile{m_size.x / columns, m_size.y / rows};
            for (int row = 0; row < rows; ++row)
                for (int column = 0; column < columns; ++column)
                    m_graphics->Set_Frame(m_graphics->Get_Frame(), m_cell, {column * tile.x, row * tile.y},
                                          tile, 0.0f, colour, QUAD_FLAGS);
        }
        else if (m_mode == GADGET_BOX)
        {
            m_graphics->Draw_Box(m_cell != 0, {0.0f, 0.0f}, m_size, m_parameter, colour);
        }
        else
        {
            m_graphics->Set_Frame(m_graphics->Get_Frame(), m_cell, {0.0f, 0.0f}, m_size, 0.0f, colour,
                                  QUAD_FLAGS);
        }
    }

    if (!m_font)
        return;
    if (clear)
        m_font->Clear_Frames();
    int line_count = Get_Line_Count();
    bool fixed = (m_text_flags & GUI_FIXED) != 0;
    if (m_shown_line >= 0 && m_shown_line < line_count)
    {
        Gui_Vec2 pen = Gui_Box_Pen(m_text_offset, m_size, m_text_flags);
        Gui_Colour colour = m_text_colour;
        m_font->Print(pen, m_char_size, colour, m_text_flags, m_lines[m_shown_line].c_str());
    }
    else if (line_count == 1)
    {
        const std::string& line = m_lines[0];
        Gui_Vec2 pen = Gui_Box_Pen(m_text_offset, m_size, m_text_flags);
        Gui_Vec2 start = pen;
        Gui_Colour colour = m_text_colour;
        m_font->Print(pen, m_char_size, colour, m_text_flags, line.c_str());
        bool focused = m_manager && m_manager->Get_Focus() == this;
        if (focused && m_cursor_column >= 0)
        {
            float width = m_font->Text_Width(line.c_str(), m_char_size, false, fixed);
            if (m_text_flags & GUI_RIGHT)
                start.x -= width;
            else if (!(m_text_flags & GUI_LEFT))
                start.x -= width * 0.5f;
            size_t column = static_cast<size_t>(m_cursor_column);
            std::string before = line.substr(0, column < line.size() ? column : line.size());
            Gui_Vec2 cursor{start.x + m_font->Text_Width(before.c_str(), m_char_size, false, fixed), start.y};
            Gui_Colour cursor_colour = m_text_colour;
            m_font->Print(cursor, m_char_size, cursor_colour, (m_text_flags & ~GUI_RIGHT) | GUI_LEFT, "_");
        }
    }
    else
    {
        float band = m_size.y / line_count;
        Gui_Colour colour = m_text_colour;
        for (int i = 0; i < line_count; ++i)
        {
            Gui_Vec2 pen =
                Gui_Box_Pen({m_text_offset.x, m_text_offset.y + band * i}, {m_size.x, band}, m_text_flags);
            m_font->Print(pen, m_char_size, colour, m_text_flags, m_lines[i].c_str());
            colour = m_text_colour;
        }
    }
    if (!m_caption.empty())
    {
        Gui_Vec2 pen = m_caption_offset;
        Gui_Colour colour = m_caption_colour;
        m_font->Print(pen, m_caption_size, colour, CAPTION_FLAGS, m_caption.c_str());
    }
}
