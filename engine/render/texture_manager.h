// Texture_Manager: loads each picture once and hands the same Image to every later caller, keyed by kind
// and name without regard to case. Owns the images in its table.
#pragma once

class D3D_Device;
class Image;

class Texture_Manager
{
  public:
    Texture_Manager() = default;
    Texture_Manager(const Texture_Manager&) = delete;
    Texture_Manager& operator=(const Texture_Manager&) = delete;
    ~Texture_Manager();

    bool Initialize(D3D_Device* device, int capacity);
    // Kind 0 loads a Texture, 1 a Texture_Cube. Null (after the error box) when no file loads; null
    // without a box when the table is full.
    Image* Load(const char* name, int kind, int options = 0);
    int Get_Capacity() const { return m_capacity; }
    int Get_Count() const;

  private:
    D3D_Device* m_device = nullptr;
    int m_capacity = 0;
    Image** m_table = nullptr;
};
