// Gadget_List: a gadget that holds child gadgets, destroys those it owns, and passes most operations on
// to them.
#pragma once
#include "engine/gui/gadget.h"

#include <vector>

class Gadget_List : public Gadget
{
  public:
    explicit Gadget_List(Intuition* manager) : Gadget(manager) {}
    ~Gadget_List() override;

    bool Update() override;
    void Draw() override;
    void Offset_Base(Gui_Vec2 v) override;
    void Place(Gui_Vec2 offset, Gui_Vec2 origin) override;
    void Count(int& counter) const override;
    void Collect(Gadget_Array& array) override;
    void Set_Hidden(bool hidden) override;
    void Extend_Bounds(float& min_x, float& min_y, float& max_x, float& max_y) const override;
    void Set_Collapsed(bool collapsed) override;
    // Appends; an identifier of -1 becomes the list's highest + 1.
    void Add_Child(Gadget* child) override;

    // Destroys the owned children and empties the list.
    void Destroy_Children();
    // Takes a child out of the list without destroying it.
    void Remove_Child(Gadget* child);
    void Set_Captured(Gadget* child) { m_captured = child; }
    Gadget* Get_Captured() const { return m_captured; }
    int Get_Child_Count() const { return static_cast<int>(m_children.size()); }
    Gadget* Get_Child(int index) const { return m_children[index]; }

  protected:
    // Updates every child in order; returns the first one that consumed input, or null.
    Gadget* Update_Children();
    void Draw_Children();

    std::vector<Gadget*> m_children;
    Gadget* m_captured = nullptr;
};
