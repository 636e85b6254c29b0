// Gdt_Window: decorations, their layout, dragging by the title, raise, lower and collapse.
#include "engine/gui/gdt_window.h"

#include "engine/gui/intuition.h"

#include <cmath>
#include <string>

namespace
{
// Title text: centred in the bar, colour codes allowed.
constexpr uint32_t TITLE_TEXT_FLAGS = 0x2000 | GUI_CENTRE;

enum Button_Index
{
    CLOSE = 0,
    BACK = 1,
    MINIMISE = 2,
};
} // namespace

Gdt_Window::Gdt_Window(Intuition* manager) : Gadget_List(manager)
{
    m_opaque = true;
    m_depth = START_DEPTH;
}

Gdt_Window::~Gdt_Window()
{
    delete m_title;
    delete m_client;
    delete m_shadow;
    delete m_close;
    delete m_back;
    delete m_minimise;
}

Gadget* Gdt_Window::Make_Decoration(const char* suffix)
{
    Gadget* gadget = new Gadget(m_manager);
    gadget->Set_Name((m_name + " - " + suffix).c_str());
    gadget->Set_Owned(false);
    gadget->Set_Hidden(m_hidden);
    return gadget;
}

bool Gdt_Window::Add_Title(float height, const Gadget_Graphics& graphics, const char* font, float font_size,
                           const Gui_Colour& text_colour, const char* text)
{
    if (m_title)
        return false;
    m_title = Make_Decoration("Title");
    m_title_height = height;
    m_title->Set_Draggable(true);
    m_title->Load_Graphics(graphics);
    m_title->Load_Font(font, text_colour, font_size, 1, TITLE_TEXT_FLAGS);
    m_title->Set_Line(0, text);
    Set_Depth(m_depth);
    Place_Decorations();
    return true;
}

bool Gdt_Window::Add_Client(const Gadget_Graphics& graphics)
{
    if (m_client)
        return false;
    m_client = Make_Decoration("Client");
    m_client->Load_Graphics(graphics);
    Set_Depth(m_depth);
    Place_Decorations();
    return true;
}

bool Gdt_Window::Add_Shadow(Gui_Vec2 offset, const Gadget_Graphics& graphics)
{
    if (m_shadow)
        return false;
    m_shadow = Make_Decoration("Shadow");
    m_shadow_offset = offset;
    m_shadow->Load_Graphics(graphics);
    Set_Depth(m_depth);
    Place_Decorations();
    return true;
}

Gdt_Click* Gdt_Window::Make_Button(const char* suffix, const Gadget_Graphics& graphics, float /*size*/,
                                   float /*inset*/)
{
    Gdt_Click* button = new Gdt_Click(m_manager);
    button->Set_Name((m_name + " - " + suffix).c_str());
    button->Set_Owned(false);
    button->Set_Hidden(m_hidden);
    button->Load_Graphics(graphics);
    return button;
}

bool Gdt_Window::Add_Close(const Gadget_Graphics& graphics, float size, float inset)
{
    if (m_close)
        return false;
    m_close = Make_Button("Close", graphics, size, inset);
    m_button_size[CLOSE] = size;
    m_button_inset[CLOSE] = inset;
    Set_Depth(m_depth);
    Place_Decorations();
    return true;
}

bool Gdt_Window::Add_Back(const Gadget_Graphics& graphics, float size, float inset)
{
    if (m_back)
        return false;
    m_back = Make_Button("Back", graphics, size, inset);
    m_button_size[BACK] = size;
    m_button_inset[BACK] = inset;
    Set_Depth(m_depth);
    Place_Decorations();
    return true;
}

bool Gdt_Window::Add_Minimise(const Gadget_Graphics& graphics, float size, float inset)
{
    if (m_minimise)
        return false;
    m_minimise = Make_Button("Minimize", graphics, size, inset);
    m_button_size[MINIMISE] = size;
    m_button_inset[MINIMISE] = inset;
    Set_Depth(m_depth);
    Place_Decorations();
    return true;
}

void Gdt_Window::Set_Depth(int depth)
{
    m_depth = depth;
    if (m_title)
        m_title->Set_Depth(depth - 2);
    if (m_client)
        m_client->Set_Depth(depth - 1);
    if (m_shadow)
        m_shadow->Set_Depth(depth);
    for (Gdt_Click* button : {m_close, m_back, m_minimise})
        if (button)
            button->Set_Depth(depth - 3);
}

void Gdt_Window::Set_Hidden(bool hidden)
{
    Gadget_List::Set_Hidden(hidden);
    for (Gadget* decoration : {m_title, m_client, m_shadow, static_cast<Gadget*>(m_close),
                               static_cast<Gadget*>(m_back), static_cast<Gadget*>(m_minimise)})
        if (decoration)
            decoration->Set_Hidden(hidden);
}

void Gdt_Window::Set_Collapsed(bool collapsed)
{
    Gadget_List::Set_Collapsed(collapsed);
}

Gui_Rect Gdt_Window::Get_Frame_Rect() const
{
    return {m_position.x, m_position.y, m_size.x, m_size.y + Get_Title_Height()};
}

void Gdt_Window::Extend_Bounds(float& min_x, float& min_y, float& max_x, float& max_y) const
{
    if (m_hidden)
        return;
    Gui_Rect frame = Get_Frame_Rect();
    min_x = std::fmin(min_x, frame.x);
    min_y = std::fmin(min_y, frame.y);
    max_x = std::fmax(max_x, frame.x + frame.w);
    max_y = std::fmax(max_y, frame.y + frame.h);
    Gadget_List::Extend_Bounds(min_x, min_y, max_x, max_y);
}

void Gdt_Window::Place_Button(Gdt_Click* button, float size, float inset, float x)
{
    float aspect = Host() ? Host()->Get_Aspect() : 1.0f;
    button->Set_Rect(x, m_position.y + inset, size * aspect, size);
}

void Gdt_Window::Layout()
{
    Place_Decorations();
}

void Gdt_Window::Place_Decorations()
{
    float title = Get_Title_Height();
    float aspect = Host() ? Host()->Get_Aspect() : 1.0f;
    if (m_title)
        m_title->Set_Rect(m_position.x, m_position.y, m_size.x, title);
    if (m_client)
        m_client->Set_Rect(m_position.x, m_position.y + title, m_size.x, m_size.y);
    if (m_shadow)
        m_shadow->Set_Rect(m_position.x + m_shadow_offset.x, m_position.y + m_shadow_offset.y, m_size.x,
                           m_size.y + title);
    // Close at the left end, back at the right end, minimise 1.5 back-widths left of back.
    if (m_close)
        Place_Button(m_close, m_button_size[CLOSE], m_button_inset[CLOSE],
                     m_position.x + m_button_inset[CLOSE] * aspect);
    float back_x = m_position.x + m_size.x - (m_button_inset[BACK] + m_button_size[BACK]) * aspect;
    if (m_back)
        Place_Button(m_back, m_button_size[BACK], m_button_inset[BACK], back_x);
    if (m_minimise)
        Place_Button(m_minimise, m_button_size[MINIMISE], m_button_inset[MINIMISE],
                     back_x - 1.5f * m_button_size[BACK] * aspect);
}

void Gdt_Window::Add_Child(Gadget* child)
{
    if (!child)
        return;
    Gui_Vec2 offset{m_position.x, m_position.y + Get_Title_Height()};
    child->Offset_Base(offset);
    child->Place({0.0f, 0.0f}, {0.0f, 0.0f});
    Gadget_List::Add_Child(child);
}

void Gdt_Window::Move_To(Gui_Vec2 position)
{
    Gui_Vec2 delta{position.x - m_position.x, position.y - m_position.y};
    Gadget_List::Offset_Base(delta);
    Gadget_List::Place({0.0f, 0.0f}, {0.0f, 0.0f});
    for (Gadget* decoration : {m_title, m_client, m_shadow, static_cast<Gadget*>(m_close),
                               static_cast<Gadget*>(m_back), static_cast<Gadget*>(m_minimise)})
    {
        if (!decoration)
            continue;
        decoration->Offset_Base(delta);
        decoration->Place({0.0f, 0.0f}, {0.0f, 0.0f});
    }
}

void Gdt_Window::Follow_Title()
{
    if (!m_title)
        return;
    Gui_Vec2 dragged = m_title->Get_Position();
    Gui_Vec2 base = m_title->Get_Base();
    Move_To({m_position.x + dragged.x - base.x, m_position.y + dragged.y - base.y});
}

bool Gdt_Window::Update()
{
    m_clicked = false;
    if (m_hidden)
        return false;
    Gadget* consumer = nullptr;
    bool lowered = false;
    if (m_back && m_back->Update())
    {
        consumer = m_back;
        if (m_back->Was_Clicked())
        {
            m_manager->Lower(this);
            lowered = true;
        }
    }
    if (!lowered)
    {
        if (m_minimise && m_minimise->Update())
        {
            consumer = consumer ? consumer : m_minimise;
            if (m_minimise->Was_Clicked())
                Set_Collapsed(!m_collapsed);
        }
        if (m_close && m_close->Update())
            consumer = consumer ? consumer : m_close;
        if (m_title && m_title->Update())
        {
            Follow_Title();
            m_manager->Raise(this);
            consumer = consumer ? consumer : m_title;
        }
        if (!m_collapsed)
        {
            if (Gadget* child = Update_Children())
                consumer = consumer ? consumer : child;
            if (m_client && m_client->Update())
                consumer = consumer ? consumer : m_client;
        }
    }
    // The window hides what lies behind it from the mouse whether or not it used the input itself.
    if (m_opaque)
    {
        if (m_title)
            m_manager->Exclude(m_title->Get_Rect());
        if (!m_collapsed && m_client)
            m_manager->Exclude(m_client->Get_Rect());
        else if (!m_collapsed && !m_client)
            m_manager->Exclude(Get_Frame_Rect());
    }
    if (!consumer)
        return false;
    if (consumer != m_manager->Get_Focus() && !lowered)
        m_manager->Set_Focus(consumer);
    return true;
}

void Gdt_Window::Draw()
{
    if (m_hidden)
        return;
    if (!m_collapsed)
    {
        if (m_shadow)
            m_shadow->Draw();
        if (m_client)
            m_client->Draw();
    }
    for (Gadget* decoration : {m_title, static_cast<Gadget*>(m_back), static_cast<Gadget*>(m_minimise),
                               static_cast<Gadget*>(m_close)})
        if (decoration)
            decoration->Draw();
    if (!m_collapsed)
        Draw_Children();
}
