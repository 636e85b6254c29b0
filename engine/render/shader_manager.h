// Shader_Manager: owns the one Sprite_Shader.
#pragma once

class D3D_Device;
class Sprite_Shader;

class Shader_Manager
{
  public:
    Shader_Manager() = default;
    Shader_Manager(const Shader_Manager&) = delete;
    Shader_Manager& operator=(const Shader_Manager&) = delete;
    ~Shader_Manager();
    // Creates and initialises the sprite shader; false (and no shader) when that fails.
    bool Initialize(D3D_Device* owner);
    Sprite_Shader* Get_Sprite_Shader() const { return m_sprite_shader; }

  private:
    D3D_Device* m_owner = nullptr;
    Sprite_Shader* m_sprite_shader = nullptr;
};
