// Intuition: the gadget manager of one window. Sorts its gadgets by depth, updates them front to back
// with an exclusion list of opaque rectangles, draws them back to front, and keeps focus and capture.
#pragma once
#include "engine/gui/gadget_list.h"
#include "engine/gui/gui_host.h"

#include <vector>

class Intuition
{
  public:
    static constexpr int MAX_EXCLUSIONS = 100;

    // The host is borrowed and must outlive the manager.
    explicit Intuition(Gui_Host* host);
    Intuition(const Intuition&) = delete;
    Intuition& operator=(const Intuition&) = delete;
    ~Intuition();

    void Update();
    void Draw();

    // Adds a gadget (usually a window) to the root list; the manager destroys it when it is owned.
    void Add(Gadget* gadget) { m_root.Add_Child(gadget); }
    void Remove(Gadget* gadget) { m_root.Remove_Child(gadget); }
    Gadget_List& Get_Root() { return m_root; }

    // The previous focus is rebuilt so that its cursor disappears.
    void Set_Focus(Gadget* gadget);
    Gadget* Get_Focus() const { return m_focus; }
    // While a gadget is captured only it is updated, until its update returns true.
    void Set_Capture(Gadget* gadget) { m_capture = gadget; }
    Gadget* Get_Capture() const { return m_capture; }
    // Called by a gadget that is going away.
    void Forget(Gadget* gadget);

    // Depth = highest depth among the managed gadgets + 1 (1 when there are none).
    void Raise(Gadget* window);
    // Depth = lowest depth among the managed gadgets - 1 (-1 when there are none).
    void Lower(Gadget* window);

    // A rectangle inside one already listed is not added; beyond the capacity rectangles are dropped.
    void Exclude(const Gui_Rect& rect);
    bool Is_Excluded(Gui_Vec2 point) const;
    int Get_Exclusion_Count() const { return m_exclusion_count; }
    void Clear_Exclusions() { m_exclusion_count = 0; }

    // The gadgets of the last sort, front first.
    int Get_Sorted_Count() const { return m_sorted.count; }
    Gadget* Get_Sorted(int index) const { return m_sorted.items[index]; }

    Gui_Host* Get_Host() const { return m_host; }

  private:
    void Sort();
    // Lowest and highest depth among the managed gadgets; false when there are none.
    bool Depth_Range(int& lowest, int& highest);

    Gui_Host* m_host;
    Gadget_List m_root;
    Gadget* m_focus = nullptr;
    Gadget* m_capture = nullptr;
    Gui_Rect m_exclusions[MAX_EXCLUSIONS];
    int m_exclusion_count = 0;
    std::vector<Gadget*> m_storage;
    std::vector<Gadget*> m_scratch;
    Gadget_Array m_sorted;
};
