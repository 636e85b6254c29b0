// PNG, JPEG and BMP through stb_image, JPEG writing through stb_image_write, textures from image files.
#include "platform/image_file.h"

#include "platform/gpu_swap_chain.h"

#include <cstdio>
#include <cstring>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS 16384
#include <stb_image.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace platform
{
bool Decode_Image(const uint8_t* data, size_t size, Decoded_Image& out)
{
    out = Decoded_Image{};
    if (!data || size < 4 || size > 0x7FFFFFFF)
        return false;
    if (std::memcmp(data, "DDS ", 4) == 0)
        return Decode_Dds(data, size, out);
    int width = 0, height = 0, channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(data, static_cast<int>(size), &width, &height, &channels, 4);
    if (!pixels)
        return false;
    if (width <= 0 || height <= 0)
    {
        stbi_image_free(pixels);
        return false;
    }
    out.desc.width = static_cast<uint32_t>(width);
    out.desc.height = static_cast<uint32_t>(height);
    out.desc.format = GPU_FORMAT_R8G8B8A8_UNORM;
    out.desc.bind_flags = GPU_BIND_SHADER_RESOURCE;
    out.bytes.assign(pixels, pixels + static_cast<size_t>(width) * height * 4);
    stbi_image_free(pixels);
    return true;
}

bool Read_Whole_File(const char* path, std::vector<uint8_t>& out)
{
    out.clear();
    if (!path)
        return false;
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return false;
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    long length = ok ? std::ftell(file) : -1;
    ok = length >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
    if (ok)
    {
        out.resize(static_cast<size_t>(length));
        ok = length == 0 || std::fread(out.data(), 1, out.size(), file) == out.size();
    }
    std::fclose(file);
    if (!ok)
        out.clear();
    return ok;
}

Gpu_Result Create_Texture_From_Memory(Gpu_Device& device, const uint8_t* data, size_t size, bool cube,
                                      std::unique_ptr<Gpu_Texture>& texture, std::unique_ptr<Gpu_View>& view)
{
    texture.reset();
    view.reset();
    Decoded_Image image;
    if (!Decode_Image(data, size, image))
        return GPU_E_FAIL;
    if (cube != ((image.desc.misc_flags & GPU_MISC_TEXTURE_CUBE) != 0))
        return GPU_E_FAIL;
    if (!cube)
        Build_Mip_Chain(image);
    Gpu_Result result = device.Create_Texture(image.desc, image.bytes.data(), image.bytes.size(), texture);
    if (Gpu_Failed(result))
        return result;
    result = device.Create_View(Gpu_View::Kind::shader_resource, texture.get(), view);
    if (Gpu_Failed(result))
        texture.reset();
    return result;
}

Gpu_Result Create_Texture_From_File(Gpu_Device& device, const char* path, bool cube,
                                    std::unique_ptr<Gpu_Texture>& texture, std::unique_ptr<Gpu_View>& view)
{
    texture.reset();
    view.reset();
    std::vector<uint8_t> bytes;
    if (!Read_Whole_File(path, bytes))
        return GPU_ERROR_FILE_NOT_FOUND;
    return Create_Texture_From_Memory(device, bytes.data(), bytes.size(), cube, texture, view);
}

bool Save_Jpeg(const char* path, int width, int height, const std::vector<uint8_t>& rgba, int quality)
{
    if (!path || width <= 0 || height <= 0 || rgba.size() < static_cast<size_t>(width) * height * 4)
        return false;
    // JPEG has no alpha: write RGB.
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0, j = 0; j < rgb.size(); i += 4, j += 3)
    {
        rgb[j] = rgba[i];
        rgb[j + 1] = rgba[i + 1];
        rgb[j + 2] = rgba[i + 2];
    }
    return stbi_write_jpg(path, width, height, 3, rgb.data(), quality) != 0;
}
} // namespace platform
