// Gadget_List: children kept in order, passed most operations, destroyed when owned.
#include "engine/gui/gadget_list.h"

#include <algorithm>

Gadget_List::~Gadget_List()
{
    Destroy_Children();
}

void Gadget_List::Destroy_Children()
{
    std::vector<Gadget*> children;
    children.swap(m_children);
    m_captured = nullptr;
    for (Gadget* child : children)
        if (child->Is_Owned())
            delete child;
}

Gadget* Gadget_List::Update_Children()
{
    Gadget* consumer = nullptr;
    for (Gadget* child : m_children)
        if (child->Update() && !consumer)
            consumer = child;
    return consumer;
}

bool Gadget_List::Update()
{
    m_clicked = false;
    if (m_hidden)
        return false;
    return Update_Children() != nullptr;
}

void Gadget_List::Draw_Children()
{
    for (Gadget* child : m_children)
        child->Draw();
}

void Gadget_List::Draw()
{
    if (m_hidden)
        return;
    Draw_Sprites();
    Draw_Children();
}

void Gadget_List::Offset_Base(Gui_Vec2 v)
{
    Gadget::Offset_Base(v);
    for (Gadget* child : m_children)
        child->Offset_Base(v);
}

void Gadget_List::Place(Gui_Vec2 offset, Gui_Vec2 origin)
{
    Gadget::Place(offset, origin);
    for (Gadget* child : m_children)
        child->Place(offset, origin);
}

void Gadget_List::Count(int& counter) const
{
    for (const Gadget* child : m_children)
        child->Count(counter);
}

void Gadget_List::Collect(Gadget_Array& array)
{
    for (Gadget* child : m_children)
        child->Collect(array);
}

void Gadget_List::Set_Hidden(bool hidden)
{
    Gadget::Set_Hidden(hidden);
    for (Gadget* child : m_children)
        child->Set_Hidden(hidden);
}

void Gadget_List::Extend_Bounds(float& min_x, float& min_y, float& max_x, float& max_y) const
{
    for (const Gadget* child : m_children)
        child->Extend_Bounds(min_x, min_y, max_x, max_y);
}

void Gadget_List::Set_Collapsed(bool collapsed)
{
    Gadget::Set_Collapsed(collapsed);
    for (Gadget* child : m_children)
        child->Set_Collapsed(collapsed);
    if (m_captured && std::find(m_children.begin(), m_children.end(), m_captured) == m_children.end())
        m_captured->Set_Collapsed(collapsed);
}

void Gadget_List::Add_Child(Gadget* child)
{
    if (!child || std::find(m_children.begin(), m_children.end(), child) != m_children.end())
        return;
    if (child->Get_Id() == -1)
    {
        int highest = -1;
        for (const Gadget* other : m_children)
            highest = std::max(highest, other->Get_Id());
        child->Set_Id(highest + 1);
    }
    m_children.push_back(child);
}

void Gadget_List::Remove_Child(Gadget* child)
{
    m_children.erase(std::remove(m_children.begin(), m_children.end(), child), m_children.end());
    if (m_captured == child)
        m_captured = nullptr;
}
