// Fuzz target: data packs of arbitrary bytes. Open, then the size and extraction of every name the pack
// lists, in order and once more backwards.
#include "engine/pack/data_pack.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace
{
std::string g_path;

void Remove_File()
{
    std::remove(g_path.c_str());
}

void Ignore_Log(const char*, ...) {}

// Members larger than this are sized but not extracted: a few bytes of input may announce gigabytes.
constexpr uint32_t MAX_EXTRACT = 4u << 20;

void Extract(Data_Pack& pack, const char* name)
{
    uint32_t announced = pack.File_Size(name);
    if (announced == 0 || announced > MAX_EXTRACT)
        return;
    uint8_t* bytes = nullptr;
    uint32_t size = pack.Extract(name, &bytes);
    if ((size == 0) != (bytes == nullptr) || (size != 0 && size != announced))
        std::abort();
    if (size)
    {
        volatile uint8_t last = bytes[size - 1];
        (void)last;
    }
    delete[] bytes;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    g_path = "/tmp/vorta5-fuzz-pack-" + std::to_string(getpid()) + ".7z";
    std::atexit(Remove_File);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::FILE* file = std::fopen(g_path.c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    Data_Pack pack(Ignore_Log);
    if (!pack.Open(g_path.c_str()))
        return 0;
    for (uint32_t i = 0; i < pack.Entry_Count(); ++i)
        if (const char* name = pack.Entry_Name(i))
            Extract(pack, name);
    for (uint32_t i = pack.Entry_Count(); i-- > 0;)
        if (const char* name = pack.Entry_Name(i))
            Extract(pack, name);
    Extract(pack, "data/levels.txt");
    return 0;
}
