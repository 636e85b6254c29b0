// Vorta_Viewport.
#include "engine/core/vorta_viewport.h"

#include "engine/core/vorta_callbacks.h"
#include "engine/core/vorta_window.h"
#include "engine/render/d3d_swap_chain.h"

Vorta_Viewport::~Vorta_Viewport()
{
    delete m_camera;
}

void Vorta_Viewport::Set_Camera(Vorta_Camera* camera)
{
    if (camera == m_camera)
        return;
    delete m_camera;
    m_camera = camera;
}

void Vorta_Viewport::Set_Position(float x, float y)
{
    m_x = x;
    m_y = y;
}

void Vorta_Viewport::Set_Size(float width, float height)
{
    m_width = width;
    m_height = height;
    if (height == 0.0f || !m_owner)
        return;
    // The swap chain's viewport once there is one, else the size the window renders at.
    if (D3D_SwapChain* swap_chain = m_owner->Get_Swap_Chain())
    {
        m_aspect = (width / height) * swap_chain->Get_Viewport_Aspect();
        return;
    }
    int render_width = 0, render_height = 0;
    m_owner->Get_Render_Size(render_width, render_height);
    if (render_width > 0)
        m_aspect = (width / height) * (static_cast<float>(render_height) / static_cast<float>(render_width));
}
