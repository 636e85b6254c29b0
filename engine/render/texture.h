// Image, Texture and Texture_Cube: pictures the renderer samples, loaded from the data pack or from
// "data/textures/" (".dds", ".png", ".jpg", ".bmp", in that order), or made empty.
#pragma once
#include "platform/gpu_device.h"

#include <cstdint>
#include <memory>

class D3D_Device;

struct Vector2
{
    float x;
    float y;
};

enum Image_Kind
{
    IMAGE_TEXTURE = 0,
    IMAGE_CUBE = 1
};

class Image
{
  public:
    explicit Image(int kind) : m_kind(kind) {}
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;
    virtual ~Image();
    virtual bool Load(D3D_Device* device, const char* name) = 0;
    virtual void Release();
    virtual void Release_View();
    virtual const platform::Gpu_View* Get_View() const { return m_view.get(); }
    virtual int Get_Width() const = 0;
    virtual int Get_Height() const = 0;
    virtual Vector2 Get_Size() const = 0;
    virtual bool Has_Alpha() const { return m_alpha; }
    virtual int Get_Kind() const { return m_kind; }
    const char* Get_Name() const { return m_name; }

  protected:
    void Set_Name(const char* name);

    int m_kind;
    char* m_name = nullptr;
    std::unique_ptr<platform::Gpu_View> m_view;
    bool m_alpha = false;
};

class Texture : public Image
{
  public:
    Texture() : Image(IMAGE_TEXTURE) {}
    ~Texture() override;
    bool Load(D3D_Device* device, const char* name) override;
    void Release() override;
    int Get_Width() const override { return static_cast<int>(m_desc.width); }
    int Get_Height() const override { return static_cast<int>(m_desc.height); }
    Vector2 Get_Size() const override
    {
        return {static_cast<float>(m_desc.width), static_cast<float>(m_desc.height)};
    }
    // An empty width x height texture of the format; dynamic ones can be rewritten from the CPU.
    // Failures end the program with the error box.
    virtual bool Initialize(D3D_Device* device, int width, int height, uint32_t format, bool dynamic);

    const platform::Gpu_Texture_Desc& Get_Desc() const { return m_desc; }
    platform::Gpu_Texture* Get_Texture() const { return m_texture.get(); }

    // The alpha rules: a 2D texture found as ".dds" or ".png" of one of the alpha formats; a cube map of
    // one of its alpha formats.
    static bool Format_Has_Alpha(uint32_t format, bool cube);

  protected:
    explicit Texture(int kind) : Image(kind) {}

    char* m_texture_name = nullptr;
    std::unique_ptr<platform::Gpu_Texture> m_texture;
    platform::Gpu_Texture_Desc m_desc;
};

class Texture_Cube : public Texture
{
  public:
    Texture_Cube() : Texture(IMAGE_CUBE) {}
    bool Load(D3D_Device* device, const char* name) override;
};
