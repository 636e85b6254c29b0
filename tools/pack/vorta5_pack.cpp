// vorta5-pack: what a data pack serves, as the program sees it.
//   vorta5-pack list ARCHIVE       each member the pack serves, in archive order: name, tab, size
//   vorta5-pack cat ARCHIVE NAME   that member's bytes on standard output
// Exit codes: 0 done, 1 the pack does not serve the name (or it failed to decode), 2 usage or an archive
// that does not open.
#include "engine/pack/data_pack.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace
{
// The pack's messages go to standard error; a message that repeats the one before is not shown again.
void Log_To_Stderr(const char* format, ...)
{
    static char last[2048];
    char text[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    if (std::strcmp(text, last) == 0)
        return;
    std::memcpy(last, text, sizeof(last));
    std::fputs(text, stderr);
}

int Usage()
{
    std::fputs("usage: vorta5-pack list ARCHIVE\n       vorta5-pack cat ARCHIVE NAME\n", stderr);
    return 2;
}

int List(Data_Pack& pack)
{
    for (uint32_t i = 0; i < pack.Entry_Count(); ++i)
    {
        const char* name = pack.Entry_Name(i);
        if (!name || pack.Find_Entry(name) != static_cast<int>(i))
            continue;
        uint32_t size = pack.File_Size(name);
        if (size > 0)
            std::printf("%s\t%u\n", name, size);
    }
    return std::fflush(stdout) == 0 ? 0 : 2;
}

int Cat(Data_Pack& pack, const char* name)
{
    if (pack.File_Size(name) == 0)
    {
        std::fprintf(stderr, "vorta5-pack: \"%s\" is not in the pack\n", name);
        return 1;
    }
    uint8_t* data = nullptr;
    uint32_t size = pack.Extract(name, &data);
    if (size == 0)
        return 1;
    bool written = std::fwrite(data, 1, size, stdout) == size && std::fflush(stdout) == 0;
    delete[] data;
    return written ? 0 : 2;
}
} // namespace

int main(int argc, char** argv)
{
    bool list = argc == 3 && std::strcmp(argv[1], "list") == 0;
    bool cat = argc == 4 && std::strcmp(argv[1], "cat") == 0;
    if (!list && !cat)
        return Usage();
    Data_Pack pack(Log_To_Stderr);
    if (!pack.Open(argv[2]))
        return 2;
    return list ? List(pack) : Cat(pack, argv[3]);
}
