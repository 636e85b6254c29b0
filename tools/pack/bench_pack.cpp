// bench_pack: extracts every member of a 20 MB solid LZMA2 archive in archive order through Data_Pack and
// times it beside "7z x" on the same archive. The archive is made by 7z from generated files (text-like
// and binary-like members of 16 KB to 400 KB). Prints the best of three runs of each.
#include "engine/pack/data_pack.h"

#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;

void Log_To_Stderr(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
}

struct Random
{
    uint64_t state = 2103;
    uint32_t Next()
    {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<uint32_t>(state >> 33);
    }
};

// About 20 MB of members: script-like text from a small vocabulary and binary tables with some noise.
uint64_t Make_Files(const fs::path& folder)
{
    static const char* const words[] = {"sprite", "frame",    "0.125", "texture", "alien",  "{",   "}",
                                        "speed",  "1280",     "true",  "data/",   "wave",   "12",  "//",
                                        "layer",  "0x00ff00", "glow",  "buggy",   "crater", "0.5", "bridge"};
    Random random;
    uint64_t total = 0;
    int index = 0;
    while (total < 20u * 1024 * 1024)
    {
        fs::path path =
            folder / ("data/set" + std::to_string(index % 8)) / ("member" + std::to_string(index));
        fs::create_directories(path.parent_path());
        size_t size = 16 * 1024 + random.Next() % (384 * 1024);
        std::string bytes;
        bytes.reserve(size);
        if (index % 3 == 2)
        {
            while (bytes.size() < size)
            {
                uint32_t value = random.Next();
                bytes.push_back(static_cast<char>((value & 7) == 0 ? value >> 8 : bytes.size() / 64));
            }
        }
        else
        {
            while (bytes.size() < size)
            {
                bytes += words[random.Next() % (sizeof(words) / sizeof(words[0]))];
                bytes += (random.Next() % 8) == 0 ? '\n' : ' ';
            }
            bytes.resize(size);
        }
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        total += bytes.size();
        ++index;
    }
    return total;
}

double Seconds_Since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int Run(const std::string& command)
{
    return std::system(command.c_str());
}
} // namespace

int main()
{
    fs::path folder = fs::temp_directory_path() / ("vorta5-bench-pack-" + std::to_string(std::rand()));
    fs::remove_all(folder);
    fs::create_directories(folder / "src");
    uint64_t total = Make_Files(folder / "src");
    std::string archive = (folder / "bench.7z").string();
    if (Run("cd '" + (folder / "src").string() + "' && 7z a -t7z -m0=lzma2 -ms=on -mx=5 '" + archive +
            "' data >/dev/null") != 0)
    {
        std::fprintf(stderr, "bench_pack: 7z could not make the archive (is p7zip-full installed?)\n");
        return 1;
    }
    std::printf("archive: %.1f MB unpacked in %s, %.1f MB packed\n", total / 1048576.0,
                "one solid LZMA2 block", fs::file_size(archive) / 1048576.0);

    double best_7z = 1e9;
    double best_7z_single = 1e9;
    double best_pack = 1e9;
    double best_open = 1e9;
    for (int run = 0; run < 3; ++run)
    {
        fs::path out = folder / "out";
        fs::remove_all(out);
        auto start = std::chrono::steady_clock::now();
        Run("7z x -y -o'" + out.string() + "' '" + archive + "' >/dev/null");
        best_7z = std::min(best_7z, Seconds_Since(start));

        fs::remove_all(out);
        start = std::chrono::steady_clock::now();
        Run("7z x -y -mmt=1 -o'" + out.string() + "' '" + archive + "' >/dev/null");
        best_7z_single = std::min(best_7z_single, Seconds_Since(start));

        start = std::chrono::steady_clock::now();
        Data_Pack pack(Log_To_Stderr);
        if (!pack.Open(archive.c_str()))
            return 1;
        best_open = std::min(best_open, Seconds_Since(start));
        uint64_t extracted = 0;
        for (uint32_t i = 0; i < pack.Entry_Count(); ++i)
        {
            const char* name = pack.Entry_Name(i);
            if (!name)
                continue;
            uint8_t* data = nullptr;
            extracted += pack.Extract(name, &data);
            delete[] data;
        }
        best_pack = std::min(best_pack, Seconds_Since(start));
        if (extracted != total || pack.Get_Archive().Decoder_Starts() != 1)
        {
            std::fprintf(stderr, "bench_pack: extracted %llu of %llu bytes with %u decoder starts\n",
                         static_cast<unsigned long long>(extracted), static_cast<unsigned long long>(total),
                         pack.Get_Archive().Decoder_Starts());
            return 1;
        }
    }
    std::printf("7z x:                 %.3f s\n", best_7z);
    std::printf("7z x -mmt=1:          %.3f s\n", best_7z_single);
    std::printf("Data_Pack (in order): %.3f s (open %.3f s), %.2f x the time of 7z x\n", best_pack, best_open,
                best_pack / best_7z);
    fs::remove_all(folder);
    return 0;
}
