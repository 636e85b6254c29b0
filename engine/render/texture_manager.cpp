// Texture_Manager.
#include "engine/render/texture_manager.h"

#include "engine/core/no_case.h"
#include "engine/core/vorta_log.h"
#include "engine/render/texture.h"

#include <new>

Texture_Manager::~Texture_Manager()
{
    for (int i = 0; i < m_capacity; ++i)
        delete m_table[i];
    delete[] m_table;
}

bool Texture_Manager::Initialize(D3D_Device* device, int capacity)
{
    m_device = device;
    if (capacity <= 0)
        return false;
    m_table = new (std::nothrow) Image*[capacity]();
    if (!m_table)
        return false;
    m_capacity = capacity;
    return true;
}

int Texture_Manager::Get_Count() const
{
    int count = 0;
    for (int i = 0; i < m_capacity; ++i)
        count += m_table[i] != nullptr;
    return count;
}

Image* Texture_Manager::Load(const char* name, int kind, int /*options*/)
{
    if (!name || !m_table)
        return nullptr;
    // 1. The cache.
    for (int i = 0; i < m_capacity; ++i)
    {
        Image* image = m_table[i];
        if (image && image->Get_Kind() == kind && image->Get_Name() && Equal_No_Case(image->Get_Name(), name))
        {
            Print_Message("Texture \"%s\" found in texture cache\n", name);
            return image;
        }
    }
    // 3 (before 2: a full table takes nothing more, as every fixed table of the engine).
    int free_slot = 0;
    while (free_slot < m_capacity && m_table[free_slot])
        ++free_slot;
    if (free_slot == m_capacity)
    {
        Print_Message("Texture \"%s\" not loaded: the texture table is full\n", name);
        return nullptr;
    }
    // 2, 4.
    Print_Message("Texture \"%s\" loading from ", name);
    Image* image = nullptr;
    if (kind == IMAGE_CUBE)
        image = new (std::nothrow) Texture_Cube();
    else
        image = new (std::nothrow) Texture();
    if (!image || !image->Load(m_device, name))
    {
        delete image;
        Report_Error(false, "Failed to load texture \"%s\"\n", name);
        return nullptr;
    }
    // 5.
    m_table[free_slot] = image;
    Print_Message("OK\n");
    return image;
}
