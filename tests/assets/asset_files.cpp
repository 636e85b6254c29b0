// Running the builder and reading its PNG, WAVE and sprite script output.
#include "asset_files.h"
#include "support/test_files.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iomanip>
#include <sstream>
#include <sys/wait.h>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

namespace asset_test
{
namespace fs = std::filesystem;

Builder_Result Run_Builder(const fs::path& sources, const fs::path& data, const fs::path& manifest)
{
    std::string command =
        std::string("'") + VORTA5_ASSET_BUILDER + "' '" + sources.string() + "' '" + data.string() + "'";
    if (!manifest.empty())
        command += " --manifest '" + manifest.string() + "'";
    command += " 2>&1";
    Builder_Result result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    char buffer[512];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe))
        result.output.append(buffer, n);
    int status = pclose(pipe);
    result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::map<std::string, std::string> Folder_Contents(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), folder).generic_string()] =
                test_support::Read_File(entry.path().string());
    return files;
}

Script_Cells Read_Script(const std::string& text)
{
    Script_Cells script;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
    {
        std::istringstream words(line);
        std::string keyword;
        words >> keyword;
        if (keyword == "cellp")
        {
            int index = 0;
            Script_Cells::Rect r;
            words >> index >> r.x >> r.y >> r.w >> r.h;
            script.cells[index] = r;
        }
        else if (keyword == "cells")
            words >> script.cell_count;
        else if (keyword == "texture")
        {
            int index = 0;
            // A quoted name may hold blanks ("KVR Stand").
            words >> index >> std::quoted(script.texture);
        }
        else if (!keyword.empty() && keyword.rfind("//", 0) != 0)
            words >> script.values[keyword];
    }
    return script;
}

Image Load_Png(const std::string& path)
{
    Image image;
    int channels = 0;
    unsigned char* pixels = stbi_load(path.c_str(), &image.width, &image.height, &channels, 4);
    if (!pixels)
        return {};
    image.rgba.assign(pixels, pixels + static_cast<size_t>(image.width) * image.height * 4);
    stbi_image_free(pixels);
    return image;
}

bool Texture_Size(const std::string& base, int& width, int& height)
{
    std::string dds = test_support::Read_File(base + ".dds");
    if (dds.size() >= 128 && dds.compare(0, 4, "DDS ") == 0)
    {
        auto u32 = [&](size_t at)
        {
            uint32_t v = 0;
            std::memcpy(&v, dds.data() + at, 4);
            return static_cast<int>(v);
        };
        height = u32(12), width = u32(16);
        return true;
    }
    int channels = 0;
    return stbi_info((base + ".png").c_str(), &width, &height, &channels) != 0;
}

Pcm Load_Wave(const std::string& path)
{
    std::string bytes = test_support::Read_File(path);
    Pcm pcm;
    auto u16 = [&](size_t at)
    {
        return static_cast<unsigned>(static_cast<unsigned char>(bytes[at]) |
                                     static_cast<unsigned char>(bytes[at + 1]) << 8);
    };
    auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
    if (bytes.size() < 44 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 8, "WAVEfmt ") != 0 ||
        u32(4) != bytes.size() - 8 || u16(20) != 1 || u16(34) != 16 || bytes.compare(36, 4, "data") != 0 ||
        u32(40) != bytes.size() - 44)
        return pcm;
    pcm.channels = static_cast<int>(u16(22));
    pcm.rate = static_cast<int>(u32(24));
    pcm.samples.resize((bytes.size() - 44) / 2);
    std::memcpy(pcm.samples.data(), bytes.data() + 44, pcm.samples.size() * 2);
    return pcm;
}
} // namespace asset_test
