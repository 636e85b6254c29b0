// Shader_Manager.
#include "engine/render/shader_manager.h"

#include "engine/render/shader.h"

#include <new>

Shader_Manager::~Shader_Manager()
{
    delete m_sprite_shader;
}

bool Shader_Manager::Initialize(D3D_Device* owner)
{
    m_owner = owner;
    delete m_sprite_shader;
    m_sprite_shader = new (std::nothrow) Sprite_Shader();
    if (!m_sprite_shader)
        return false;
    if (!m_sprite_shader->Initialize(owner, nullptr, nullptr))
    {
        delete m_sprite_shader;
        m_sprite_shader = nullptr;
        return false;
    }
    return true;
}
