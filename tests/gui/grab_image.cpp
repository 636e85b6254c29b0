// Grab_Image: JPEG decoding through stb_image, PPM reading and box averages.
#include "grab_image.h"

#include <cstdio>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

bool Grab_Image::Load(const std::string& path)
{
    if (!Jpeg_Complete(path))
        return false;
    int channels = 0;
    unsigned char* pixels = stbi_load(path.c_str(), &width, &height, &channels, 3);
    if (!pixels)
        return false;
    rgb.assign(pixels, pixels + static_cast<size_t>(width) * height * 3);
    stbi_image_free(pixels);
    return true;
}

bool Grab_Image::Load_Ppm(const std::string& path)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    int max_value = 0;
    bool ok = std::fscanf(file, "P6 %d %d %d", &width, &height, &max_value) == 3 && max_value == 255 &&
              std::fgetc(file) != EOF && width > 0 && height > 0;
    if (ok)
    {
        rgb.resize(static_cast<size_t>(width) * height * 3);
        ok = std::fread(rgb.data(), 1, rgb.size(), file) == rgb.size();
    }
    std::fclose(file);
    return ok;
}

void Grab_Image::Average(float x0, float y0, float x1, float y1, double out[3]) const
{
    out[0] = out[1] = out[2] = 0.0;
    long count = 0;
    for (int y = static_cast<int>(y0 * height); y < static_cast<int>(y1 * height); ++y)
        for (int x = static_cast<int>(x0 * width); x < static_cast<int>(x1 * width); ++x, ++count)
            for (int c = 0; c < 3; ++c)
                out[c] += rgb[(static_cast<size_t>(y) * width + x) * 3 + c];
    for (int c = 0; c < 3 && count; ++c)
        out[c] /= static_cast<double>(count);
}

bool Jpeg_Complete(const std::string& path)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    unsigned char end[2] = {};
    bool complete = std::fseek(file, -2, SEEK_END) == 0 && std::fread(end, 1, 2, file) == 2 &&
                    end[0] == 0xFF && end[1] == 0xD9;
    std::fclose(file);
    return complete;
}
