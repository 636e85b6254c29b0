// Gdt_Click: press, hold and release over the button.
#include "engine/gui/gdt_click.h"

#include "engine/gui/intuition.h"

bool Gdt_Click::Update()
{
    m_clicked = false;
    if (m_hidden)
        return false;
    Gui_Host* host = Host();
    if (!host)
        return false;
    bool consumed = false;
    if (Hit_Test(host->Get_Mouse()))
    {
        if (host->Mouse_Held(0) != 0)
        {
            ++m_held_frames;
            Show_Cell(1);
            consumed = true;
        }
        else
        {
            if (m_held_frames > 0 && host->Mouse_Released(0) != 0)
            {
                m_clicked = true;
                consumed = true;
            }
            m_held_frames = 0;
            Show_Cell(0);
        }
    }
    else
    {
        m_held_frames = 0;
        Show_Cell(0);
    }
    Exclude_If_Opaque();
    return consumed;
}

void Gdt_Click::Draw()
{
    if (m_hidden)
        return;
    Draw_Sprites();
}
