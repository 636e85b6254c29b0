// Texture loading: the data pack pass, then the disk pass; cube maps from disk only.
#include "engine/render/texture.h"

#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/render/d3d_device.h"
#include "platform/image_file.h"

#include <cstdio>
#include <cstring>
#include <new>

using namespace platform;

namespace
{
const char* const k_extensions[] = {".dds", ".png", ".jpg", ".bmp"};

char* Copy_Name(const char* name)
{
    size_t length = std::strlen(name ? name : "") + 1;
    char* copy = new (std::nothrow) char[length];
    if (copy)
        std::memcpy(copy, name ? name : "", length);
    return copy;
}

const char* Texture_Folder()
{
    return g_vorta_engine ? g_vorta_engine->Get_Texture_Path() : "data/textures/";
}

void Pump()
{
    if (g_vorta_engine)
        g_vorta_engine->Pump_Messages();
}
} // namespace

Image::~Image()
{
    delete[] m_name;
}

void Image::Set_Name(const char* name)
{
    delete[] m_name;
    m_name = Copy_Name(name);
}

void Image::Release()
{
    delete[] m_name;
    m_name = nullptr;
}

void Image::Release_View()
{
    m_view.reset();
}

Texture::~Texture()
{
    m_view.reset();
    m_texture.reset();
    delete[] m_texture_name;
}

void Texture::Release()
{
    Image::Release();
    delete[] m_texture_name;
    m_texture_name = nullptr;
    m_view.reset();
    m_texture.reset();
}

bool Texture::Format_Has_Alpha(uint32_t format, bool cube)
{
    if ((format >= 1 && format <= 4) || (format >= 9 && format <= 14) || (format >= 23 && format <= 25))
        return true;
    switch (format)
    {
    case 86:
    case 87:
    case 90:
    case 91:
        return true;
    case 28:
        return cube;
    case 74:
    case 77:
        return !cube;
    default:
        return false;
    }
}

bool Texture::Load(D3D_Device* device, const char* name)
{
    // 1, 2.
    Pump();
    if (!device || !name)
        return false;
    delete[] m_texture_name;
    m_texture_name = Copy_Name(name);
    char base[512];
    std::snprintf(base, sizeof(base), "%s%s", Texture_Folder(), name);
    char path[520];
    int found = -1;

    // 3. The data pack, every file type in turn.
    for (int i = 0; i < 4 && found < 0 && g_vorta_engine; ++i)
    {
        std::snprintf(path, sizeof(path), "%s%s", base, k_extensions[i]);
        if (g_vorta_engine->Pack_File_Size(path) == 0)
            continue;
        uint8_t* bytes = nullptr;
        uint32_t size = g_vorta_engine->Pack_Extract(path, &bytes);
        if (!bytes)
            continue;
        Print_Message("resources...");
        Gpu_Result result = Create_Texture_From_Memory(device->Gpu(), bytes, size, false, m_texture, m_view);
        delete[] bytes;
        if (Gpu_Failed(result))
            continue;
        if (!m_view)
        {
            Print_Message("ERROR - Resource \"%s\" exists but failed to load?\n", path);
            return false;
        }
        found = i;
    }

    // 4. The disk.
    if (found < 0)
    {
        Print_Message("disk...");
        for (int i = 0; i < 4 && found < 0; ++i)
        {
            std::snprintf(path, sizeof(path), "%s%s", base, k_extensions[i]);
            Gpu_Result result = Create_Texture_From_File(device->Gpu(), path, false, m_texture, m_view);
            if (Gpu_Failed(result))
                continue;
            if (!m_view)
            {
                Print_Message("ERROR - File \"%s\" exists but failed to load?\n", path);
                return false;
            }
            found = i;
        }
    }
    if (found < 0)
        return false;

    // 5 to 7.
    m_desc = m_texture->Desc();
    m_alpha = found <= 1 && Format_Has_Alpha(m_desc.format, false);
    Set_Name(name);
    return true;
}

bool Texture::Initialize(D3D_Device* device, int width, int height, uint32_t format, bool dynamic)
{
    if (!device)
        return false;
    Gpu_Texture_Desc desc;
    desc.width = width > 0 ? static_cast<uint32_t>(width) : 0;
    desc.height = height > 0 ? static_cast<uint32_t>(height) : 0;
    desc.format = format;
    desc.bind_flags = GPU_BIND_SHADER_RESOURCE;
    desc.usage = dynamic ? GPU_USAGE_DYNAMIC : GPU_USAGE_DEFAULT;
    desc.cpu_access_flags = dynamic ? GPU_CPU_ACCESS_WRITE : 0;
    m_view.reset();
    if (Gpu_Failed(device->Gpu().Create_Texture(desc, nullptr, 0, m_texture)))
        Report_Error(true, "Failed - Texture::Initialize - CreateTexture2D\n");
    if (Gpu_Failed(device->Gpu().Create_View(Gpu_View::Kind::shader_resource, m_texture.get(), m_view)))
        Report_Error(true, "Failed - Texture::Initialize - Render - CreateShaderResourceView\n");
    m_desc = m_texture ? m_texture->Desc() : Gpu_Texture_Desc{};
    return m_view != nullptr;
}

bool Texture_Cube::Load(D3D_Device* device, const char* name)
{
    Pump();
    if (!device || !name)
        return false;
    char path[520];
    std::snprintf(path, sizeof(path), "%s%s.dds", Texture_Folder(), name);
    if (Gpu_Failed(Create_Texture_From_File(device->Gpu(), path, true, m_texture, m_view)) || !m_texture)
        return false;
    m_desc = m_texture->Desc();
    m_alpha = Format_Has_Alpha(m_desc.format, true);
    Set_Name(name);
    return true;
}
