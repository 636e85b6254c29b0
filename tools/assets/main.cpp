// vorta5-assets: builds the data folder from the sources in assets/.
//
//   vorta5-assets ASSETS_FOLDER DATA_FOLDER [--manifest FILE]
//   vorta5-assets sheet OUT.png [DATA_FOLDER] [--all]     the contact sheet of the sprites (sheet.h)
//
// The assets folder mirrors the data folder. Pictures (.pic), fonts (.font), sound effects (.sfx) and
// songs (.song) are built into PNG textures with their sprite scripts, WAVE files and XM modules; every
// other file (hand-written sprite scripts, shaders, level scripts) is copied as it is; README files and
// names beginning with a dot are skipped. A file is only rewritten when its contents change, so the
// same sources always leave the same files. With --manifest, the list of files made is kept in FILE and
// files that an earlier run made but this one no longer does are removed; nothing else in the data
// folder is touched.
#include "builders.h"
#include "sheet.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

namespace fs = std::filesystem;

namespace assets
{
std::string Texture_Name(const std::string& name)
{
    const std::string prefix = "textures/";
    return name.compare(0, prefix.size(), prefix) == 0 ? name.substr(prefix.size()) : std::string();
}

std::vector<unsigned char> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}
} // namespace assets

namespace
{
std::vector<unsigned char> Read_Bytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Skipped(const fs::path& relative)
{
    for (const fs::path& part : relative)
        if (part.string().rfind('.', 0) == 0)
            return true;
    // Include files (".inc") are parts that pictures take in, not data of their own.
    return relative.filename().string().rfind("README", 0) == 0 || relative.extension() == ".inc";
}

// Builds one source file into `outputs`; false (after printing why) on a mistake.
bool Build(const fs::path& root, const fs::path& relative, assets::Outputs& outputs)
{
    const std::string extension = relative.extension().string();
    const std::string name = (relative.parent_path() / relative.stem()).generic_string();
    using Builder = void (*)(assets::Source_File&, const std::string&, assets::Outputs&);
    Builder builder = extension == ".pic"    ? assets::Build_Picture
                      : extension == ".font" ? assets::Build_Font
                      : extension == ".sfx"  ? assets::Build_Sound
                      : extension == ".song" ? assets::Build_Song
                                             : nullptr;
    assets::Outputs made;
    if (!builder)
        made[relative.generic_string()] = Read_Bytes(root / relative);
    else
    {
        assets::Source_File source;
        if (source.Load((root / relative).string()))
            builder(source, name, made);
        if (source.Failed())
        {
            std::fprintf(stderr, "%s\n", source.Error().c_str());
            return false;
        }
    }
    for (auto& [path, bytes] : made)
    {
        if (outputs.count(path))
        {
            std::fprintf(stderr, "%s: makes data/%s, which another source makes too\n",
                         (root / relative).string().c_str(), path.c_str());
            return false;
        }
        outputs[path] = std::move(bytes);
    }
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::string(argv[1]) == "sheet")
    {
        std::string data = VORTA5_DEFAULT_DATA;
        bool all = false;
        for (int i = 3; i < argc; ++i)
            std::string(argv[i]) == "--all" ? void(all = true) : void(data = argv[i]);
        return assets::Make_Sheet(data, argv[2], all);
    }
    if (argc != 3 && !(argc == 5 && std::string(argv[3]) == "--manifest"))
    {
        std::fprintf(stderr, "usage: %s ASSETS_FOLDER DATA_FOLDER [--manifest FILE]\n", argv[0]);
        return 2;
    }
    const fs::path root = argv[1], data = argv[2];
    const char* manifest = argc == 5 ? argv[4] : nullptr;
    std::error_code error;
    if (!fs::is_directory(root, error))
    {
        std::fprintf(stderr, "%s: not a folder\n", root.string().c_str());
        return 2;
    }

    // Sources in a fixed (sorted) order, so that every run does the same work.
    std::vector<fs::path> sources;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file() && !Skipped(fs::relative(entry.path(), root)))
            sources.push_back(fs::relative(entry.path(), root));
    std::sort(sources.begin(), sources.end());

    assets::Outputs outputs;
    bool ok = true;
    for (const fs::path& source : sources)
        ok = Build(root, source, outputs) && ok;
    if (!ok)
        return 1;

    int written = 0;
    for (const auto& [path, bytes] : outputs)
    {
        const fs::path target = data / path;
        if (fs::exists(target) && Read_Bytes(target) == bytes)
            continue;
        fs::create_directories(target.parent_path(), error);
        std::ofstream out(target, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out.good())
        {
            std::fprintf(stderr, "%s: cannot be written\n", target.string().c_str());
            return 1;
        }
        ++written;
    }

    if (manifest)
    {
        std::set<std::string> previous;
        std::ifstream in(manifest);
        for (std::string line; std::getline(in, line);)
            if (!line.empty())
                previous.insert(line);
        for (const std::string& path : previous)
            if (!outputs.count(path))
                fs::remove(data / path, error);
        std::ofstream out(manifest, std::ios::trunc);
        for (const auto& [path, bytes] : outputs)
            out << path << "\n";
    }
    std::printf("vorta5-assets: %zu files from %zu sources, %d written into %s\n", outputs.size(),
                sources.size(), written, data.string().c_str());
    return 0;
}
