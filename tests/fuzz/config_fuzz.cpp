// Fuzz target: settings files and the script reader over arbitrary bytes. Every read must stay inside the
// buffer and every loop must move the cursor.
#include "engine/core/config_list.h"
#include "engine/core/text_file.h"
#include "engine/core/vorta_log.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace
{
std::string g_path;

void Remove_File()
{
    std::remove(g_path.c_str());
}

void Read_Everything(const uint8_t* data, size_t size, int mode)
{
    // An exact-size copy, so that any read past the end is caught.
    uint8_t* copy = new uint8_t[size ? size : 1];
    std::memcpy(copy, data, size);
    Text_File file;
    file.Set_Data(copy, static_cast<uint32_t>(size), false);
    file.Set_Mode(mode);
    char word[64];
    for (int step = 0; file.Get_Position() < file.Get_Size(); ++step)
    {
        uint32_t before = file.Get_Position();
        switch (step % 5)
        {
        case 0:
            file.Read_Word(word, sizeof(word));
            break;
        case 1:
        {
            float f[2];
            file.Read_Float2(f);
            break;
        }
        case 2:
        {
            uint32_t u;
            file.Read_Unsigned(u);
            break;
        }
        case 3:
        {
            int32_t i;
            file.Read_Int(i);
            break;
        }
        default:
            file.Read_Line(word, sizeof(word));
            break;
        }
        // Whatever a read leaves, a line read moves on: the cursor cannot get stuck before the end.
        if (file.Get_Position() == before)
        {
            file.Read_Line(word, sizeof(word));
            if (file.Get_Position() == before)
                std::abort();
        }
        if (file.Get_Position() > file.Get_Size())
            std::abort();
    }
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    g_vorta_log.Set_Flags(LOG_OFF);
    g_path = "/tmp/vorta5-fuzz-config-" + std::to_string(getpid()) + ".txt";
    std::atexit(Remove_File);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (int mode = 0; mode < 3; ++mode)
        Read_Everything(data, size, mode);

    std::FILE* file = std::fopen(g_path.c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    Config_List list;
    if (Load_Config(list, g_path.c_str()))
    {
        for (const Config_Entry* entry = list.first; entry; entry = entry->next)
        {
            if (!entry->key || Find_Config(list, entry->key) == nullptr)
                std::abort();
            for (const Config_Value* value = &entry->value; value; value = value->next)
                if (!value->text)
                    std::abort();
        }
    }
    return 0;
}
