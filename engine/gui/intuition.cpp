// Intuition: depth sort, front-to-back update with the exclusion list, back-to-front draw, focus.
#include "engine/gui/intuition.h"

#include <algorithm>
#include <climits>

Intuition::Intuition(Gui_Host* host) : m_host(host), m_root(this)
{
    m_root.Set_Name("Intuition");
}

Intuition::~Intuition()
{
    // The owned gadgets go first, while the manager they report to is whole.
    m_root.Destroy_Children();
    m_focus = nullptr;
    m_capture = nullptr;
    m_sorted = {};
}

void Intuition::Forget(Gadget* gadget)
{
    if (m_focus == gadget)
        m_focus = nullptr;
    if (m_capture == gadget)
        m_capture = nullptr;
    for (int i = 0; i < m_sorted.count; ++i)
        if (m_sorted.items[i] == gadget)
            m_sorted.items[i] = nullptr;
    if (gadget != &m_root)
        m_root.Remove_Child(gadget);
}

void Intuition::Sort()
{
    int count = 0;
    m_root.Count(count);
    if (static_cast<int>(m_storage.size()) < count)
        m_storage.resize(count);
    m_sorted = {m_storage.data(), 0, count};
    m_root.Collect(m_sorted);
    std::stable_sort(m_sorted.items, m_sorted.items + m_sorted.count,
                     [](const Gadget* a, const Gadget* b) { return a->Get_Depth() > b->Get_Depth(); });
}

void Intuition::Update()
{
    m_exclusion_count = 0;
    Sort();
    if (m_capture)
    {
        if (m_capture->Update())
            m_capture = nullptr;
    }
    else
    {
        // Front to back: an opaque gadget in front lists its rectangle before those behind test the mouse.
        // A gadget's update may delete a gadget; Forget then empties its place.
        for (int i = 0; i < m_sorted.count; ++i)
            if (Gadget* gadget = m_sorted.items[i])
                gadget->Update();
    }
    if (m_focus)
        m_focus->Refresh_Text();
}

void Intuition::Draw()
{
    Sort();
    for (int i = m_sorted.count - 1; i >= 0; --i)
    {
        Gadget* gadget = m_sorted.items[i];
        if (gadget && gadget != m_capture)
            gadget->Draw();
    }
    if (m_capture)
        m_capture->Draw();
}

void Intuition::Set_Focus(Gadget* gadget)
{
    Gadget* previous = m_focus;
    m_focus = gadget;
    if (previous && previous != gadget)
        previous->Rebuild(true);
    if (gadget && gadget != previous)
        gadget->Mark_Dirty();
}

bool Intuition::Depth_Range(int& lowest, int& highest)
{
    // Collected afresh into its own array: Raise and Lower run in the middle of an update pass.
    int count = 0;
    m_root.Count(count);
    if (static_cast<int>(m_scratch.size()) < count)
        m_scratch.resize(count);
    Gadget_Array all{m_scratch.data(), 0, count};
    m_root.Collect(all);
    lowest = INT_MAX;
    highest = INT_MIN;
    for (int i = 0; i < all.count; ++i)
    {
        lowest = std::min(lowest, all.items[i]->Get_Depth());
        highest = std::max(highest, all.items[i]->Get_Depth());
    }
    return all.count > 0;
}

void Intuition::Raise(Gadget* window)
{
    int lowest, highest;
    if (window)
        window->Set_Depth(Depth_Range(lowest, highest) ? highest + 1 : 1);
}

void Intuition::Lower(Gadget* window)
{
    int lowest, highest;
    if (window)
        window->Set_Depth(Depth_Range(lowest, highest) ? lowest - 1 : -1);
}

void Intuition::Exclude(const Gui_Rect& rect)
{
    for (int i = 0; i < m_exclusion_count; ++i)
        if (m_exclusions[i].Contains(rect))
            return;
    if (m_exclusion_count < MAX_EXCLUSIONS)
        m_exclusions[m_exclusion_count++] = rect;
}

bool Intuition::Is_Excluded(Gui_Vec2 point) const
{
    for (int i = 0; i < m_exclusion_count; ++i)
        if (m_exclusions[i].Contains(point))
            return true;
    return false;
}
