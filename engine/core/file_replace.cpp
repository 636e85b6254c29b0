// Replace_File: write beside, then rename over.
#include "engine/core/file_replace.h"

#include "engine/core/user_folder.h"

#include <cstdio>
#include <string>

bool Replace_File(const char* file_name, const void* data, size_t size)
{
    if (!file_name || !*file_name || (!data && size))
        return false;
    // An installed program keeps what it writes in the player's folder.
    char path[1024];
    if (!User_Write_Path(file_name, path, sizeof(path)))
        return false;
    file_name = path;
    const std::string temporary = std::string(file_name) + ".new";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return false;
    bool ok = size == 0 || std::fwrite(data, 1, size, file) == size;
    ok = std::fflush(file) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    if (ok && std::rename(temporary.c_str(), file_name) == 0)
        return true;
    std::remove(temporary.c_str());
    return false;
}
