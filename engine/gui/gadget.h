// Gadget: the base rectangle of the toolkit, with its graphics and text sprites, drag handling and the
// virtual operations every gadget class shares.
#pragma once
#include "engine/gui/gui_host.h"

#include <string>
#include <vector>

class Intuition;
class Gadget;

// A fixed-capacity array of gadgets that Collect fills.
struct Gadget_Array
{
    Gadget** items = nullptr;
    int count = 0;
    int capacity = 0;
};

// Graphics of a gadget: sprite script, drawing mode, colour and the mode's parameter (tile size for the
// tiled mode, border size for the framed box).
struct Gadget_Graphics
{
    const char* script = nullptr;
    int mode = 2;
    Gui_Colour colour;
    Gui_Vec2 parameter;
};

enum Gadget_Mode
{
    GADGET_TILED = 1,
    GADGET_STRETCHED = 2,
    GADGET_BOX = 3,
};

class Gadget
{
  public:
    explicit Gadget(Intuition* manager);
    Gadget(const Gadget&) = delete;
    Gadget& operator=(const Gadget&) = delete;

    virtual ~Gadget();
    virtual bool Query() const { return false; }
    // Brings the text lines up to date with what the gadget edits.
    virtual void Refresh_Text() {}
    // Per-frame input; true when the gadget consumed it.
    virtual bool Update();
    virtual void Draw();
    // Inside the rectangle (edges included) and not under an opaque rectangle in front.
    virtual bool Hit_Test(Gui_Vec2 point) const;
    virtual void Set_Depth(int depth) { m_depth = depth; }
    virtual int Get_Depth() const { return m_depth; }
    virtual void Offset_Base(Gui_Vec2 v);
    // position = base position + offset + origin.
    virtual void Place(Gui_Vec2 offset, Gui_Vec2 origin);
    virtual void Show_Cell(int cell);
    virtual void Count(int& counter) const { ++counter; }
    virtual void Collect(Gadget_Array& array);
    virtual void Set_Hidden(bool hidden) { m_hidden = hidden; }
    virtual bool Is_Hidden() const { return m_hidden; }
    // Grows the box to take in the gadget unless it is hidden.
    virtual void Extend_Bounds(float& min_x, float& min_y, float& max_x, float& max_y) const;
    virtual void Layout() {}
    virtual void Set_Collapsed(bool collapsed) { m_collapsed = collapsed; }
    // Rewrites the sprite quads; with clear the old ones are dropped first.
    virtual void Rebuild(bool clear);
    virtual void Add_Child(Gadget* /*child*/) {}
    virtual void Follow_Title() {}

    // Set-up.
    void Set_Name(const char* name) { m_name = name ? name : ""; }
    // A negative size component leaves that component as it is.
    void Set_Rect(float x, float y, float w, float h);
    bool Load_Graphics(const Gadget_Graphics& graphics);
    bool Load_Font(const char* script, const Gui_Colour& colour, float char_size, int lines,
                   uint32_t text_flags);
    // Ignored when index is at or beyond the line count.
    void Set_Line(int index, const char* text);
    void Set_Caption(Gui_Vec2 offset, const Gui_Colour& colour, float size, const char* text);
    void Set_Text_Offset(Gui_Vec2 offset) { m_text_offset = offset, m_dirty = true; }
    void Set_Shown_Line(int index) { m_shown_line = index, m_dirty = true; }
    void Set_Cursor_Column(int column);

    void Set_Opaque(bool opaque) { m_opaque = opaque; }
    void Set_Draggable(bool draggable) { m_draggable = draggable; }
    void Set_Owned(bool owned) { m_owned = owned; }
    void Set_Id(int id) { m_id = id; }
    void Mark_Dirty() { m_dirty = true; }

    const char* Get_Name() const { return m_name.c_str(); }
    int Get_Id() const { return m_id; }
    bool Is_Opaque() const { return m_opaque; }
    bool Is_Draggable() const { return m_draggable; }
    bool Is_Owned() const { return m_owned; }
    bool Is_Dirty() const { return m_dirty; }
    bool Is_Collapsed() const { return m_collapsed; }
    bool Was_Clicked() const { return m_clicked; }
    Gui_Rect Get_Rect() const { return {m_position.x, m_position.y, m_size.x, m_size.y}; }
    Gui_Vec2 Get_Position() const { return m_position; }
    Gui_Vec2 Get_Base() const { return m_base; }
    Gui_Vec2 Get_Size() const { return m_size; }
    int Get_Cell() const { return m_cell; }
    int Get_Line_Count() const { return static_cast<int>(m_lines.size()); }
    const char* Get_Line(int index) const;
    int Get_Cursor_Column() const { return m_cursor_column; }
    Gui_Sprite* Get_Graphics_Sprite() const { return m_graphics; }
    Gui_Sprite* Get_Font_Sprite() const { return m_font; }
    Intuition* Get_Manager() const { return m_manager; }

  protected:
    // Draws the graphics and font sprites at the gadget position (rebuilding first when dirty).
    void Draw_Sprites();
    // Adds the rectangle to the manager's exclusion list when the gadget is opaque.
    void Exclude_If_Opaque() const;
    Gui_Host* Host() const;

    Intuition* m_manager;
    std::string m_name;
    int m_id = -1;
    int m_depth = 0;
    bool m_hidden = false;
    bool m_collapsed = false;
    bool m_opaque = false;
    bool m_draggable = false;
    bool m_owned = true;
    bool m_dirty = true;
    bool m_clicked = false;
    Gui_Vec2 m_position;
    Gui_Vec2 m_base;
    Gui_Vec2 m_size;
    Gui_Vec2 m_base_size;
    Gui_Vec2 m_grab{-1.0f, -1.0f};

    Gui_Sprite* m_graphics = nullptr;
    int m_cell = 0;
    int m_mode = GADGET_STRETCHED;
    Gui_Colour m_colours[2];
    Gui_Vec2 m_parameter;

    Gui_Sprite* m_font = nullptr;
    Gui_Colour m_text_colour;
    Gui_Vec2 m_text_offset;
    float m_char_size = 0.03f;
    uint32_t m_text_flags = 0;
    std::vector<std::string> m_lines{1};
    int m_shown_line = -1;
    int m_cursor_column = -1;

    std::string m_caption;
    Gui_Colour m_caption_colour;
    Gui_Vec2 m_caption_offset;
    float m_caption_size = 0.0f;
};
