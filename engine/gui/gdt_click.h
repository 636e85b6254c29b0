// Gdt_Click: a push button. Shows cell 1 while pressed and reports a click when the left button is let
// go over it.
#pragma once
#include "engine/gui/gadget.h"

#include <cstdint>

class Gdt_Click : public Gadget
{
  public:
    explicit Gdt_Click(Intuition* manager) : Gadget(manager) {}

    bool Update() override;
    void Draw() override;

    uint32_t Get_Held_Frames() const { return m_held_frames; }

  protected:
    uint32_t m_held_frames = 0;
};
