// Image files: DDS (our own reader: uncompressed 32-bit and DXT1/3/5, with mips and cube faces), PNG,
// JPEG and BMP (stb_image); textures made from them; JPEG writing (stb_image_write).
#pragma once
#include "platform/gpu_device.h"

#include <vector>

namespace platform
{
struct Decoded_Image
{
    Gpu_Texture_Desc desc;      // size, mip levels, faces (array size 6 with the cube flag), format
    std::vector<uint8_t> bytes; // every level of every face, faces outermost
};

// A DDS file. False (and nothing read out of bounds) for anything malformed, unsupported or lying about
// its sizes.
bool Decode_Dds(const uint8_t* data, size_t size, Decoded_Image& out);
// Any supported file, told apart by its contents; PNG, JPEG and BMP become R8G8B8A8_UNORM.
bool Decode_Image(const uint8_t* data, size_t size, Decoded_Image& out);

// A shader-resource texture from a file in memory or on disk. `cube` asks for a cube map (the file must
// hold six faces). GPU_ERROR_FILE_NOT_FOUND when the file does not exist, GPU_E_FAIL when it does not
// decode.
Gpu_Result Create_Texture_From_Memory(Gpu_Device& device, const uint8_t* data, size_t size, bool cube,
                                      std::unique_ptr<Gpu_Texture>& texture, std::unique_ptr<Gpu_View>& view);
Gpu_Result Create_Texture_From_File(Gpu_Device& device, const char* path, bool cube,
                                    std::unique_ptr<Gpu_Texture>& texture, std::unique_ptr<Gpu_View>& view);

// Whole-file read; false when the file cannot be opened or read.
bool Read_Whole_File(const char* path, std::vector<uint8_t>& out);
} // namespace platform
