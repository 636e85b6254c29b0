// Helpers for the asset tests: running the builder, reading what it made.
#pragma once
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace asset_test
{
struct Builder_Result
{
    int exit_code = -1;
    std::string output; // standard output and standard error
};

// Runs vorta5-assets on a source folder into a data folder (with a manifest file when given).
Builder_Result Run_Builder(const std::filesystem::path& sources, const std::filesystem::path& data,
                           const std::filesystem::path& manifest = {});

// Every file under the folder: relative path -> contents.
std::map<std::string, std::string> Folder_Contents(const std::filesystem::path& folder);

// The cells and lines of a sprite script as the builder writes them ("cellp" and the line keywords).
struct Script_Cells
{
    struct Rect
    {
        float x = 0, y = 0, w = 0, h = 0;
    };
    std::string texture;
    int cell_count = 0;
    std::map<int, Rect> cells;
    std::map<std::string, float> values; // "top_line", "widthp", "frames", ...
};
Script_Cells Read_Script(const std::string& text);

struct Image
{
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
    const unsigned char* At(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};
// Decodes a PNG file; an empty image when it cannot.
Image Load_Png(const std::string& path);

// The size of the texture a sprite names (base path without extension), from its .dds or .png file, in
// the order the texture loader tries them; false when neither can be read.
bool Texture_Size(const std::string& base, int& width, int& height);

// The 16-bit PCM samples of a WAVE file written by the builder, with its rate and channel count.
struct Pcm
{
    int rate = 0, channels = 0;
    std::vector<short> samples;
};
Pcm Load_Wave(const std::string& path);
} // namespace asset_test
