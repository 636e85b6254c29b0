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
// Adds the levels below a single-level 2D picture of four bytes a pixel (R8G8B8A8, B8G8R8A8, B8G8R8X8),
// each half the size of the one above (rounded down, at least 1), down to 1 x 1. False, and the image
// as it was, for anything else (block-compressed, cube maps, pictures that have their own levels).
bool Build_Mip_Chain(Decoded_Image& image);

// A shader-resource texture from a file in memory or on disk. `cube` asks for a cube map (the file must
// hold six faces). A 2D picture stored with one level gets its mip chain (Build_Mip_Chain).
// GPU_ERROR_FILE_NOT_FOUND when the file does not exist, GPU_E_FAIL when it does not decode.
Gpu_Result Create_Texture_From_Memory(Gpu_Device& device, const uint8_t* data, size_t size, bool cube,
                                      std::unique_ptr<Gpu_Texture>& texture, std::unique_ptr<Gpu_View>& view);
Gpu_Result Create_Texture_From_File(Gpu_Device& device, const char* path, bool cube,
                                    std::unique_ptr<Gpu_Texture>& texture, std::unique_ptr<Gpu_View>& view);

// Whole-file read; false when the file cannot be opened or read.
bool Read_Whole_File(const char* path, std::vector<uint8_t>& out);
} // namespace platform
