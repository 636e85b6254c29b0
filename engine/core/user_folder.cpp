// The player's folder: choosing it, and the paths that reads and writes use.
#include "engine/core/user_folder.h"

#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "platform/folders.h"

#include <cstdio>
#include <cstring>

namespace
{
char g_user_folder[1024] = {}; // with a trailing slash; empty while files stay beside the program

bool Relative(const char* name)
{
    return name && *name && name[0] != '/';
}

bool Copy(const char* text, char* out, size_t size)
{
    if (!out || size == 0)
        return false;
    int n = std::snprintf(out, size, "%s", text);
    return n >= 0 && static_cast<size_t>(n) < size;
}
} // namespace

bool Set_User_Folder(const char* path)
{
    g_user_folder[0] = 0;
    if (!path || !*path)
        return true;
    if (!platform::Make_Folders(path))
        return false;
    const bool slash = path[std::strlen(path) - 1] == '/';
    int n = std::snprintf(g_user_folder, sizeof(g_user_folder), "%s%s", path, slash ? "" : "/");
    if (n < 0 || static_cast<size_t>(n) >= sizeof(g_user_folder))
    {
        g_user_folder[0] = 0;
        return false;
    }
    return true;
}

const char* Get_User_Folder()
{
    return g_user_folder;
}

bool Use_User_Folder(const char* name)
{
    if (platform::Folder_Writable("."))
    {
        Set_User_Folder(nullptr);
        return false;
    }
    char home[768];
    char folder[1024];
    bool made =
        name && *name && platform::Data_Home(home, sizeof(home)) &&
        std::snprintf(folder, sizeof(folder), "%s/%s", home, name) < static_cast<int>(sizeof(folder)) &&
        Set_User_Folder(folder);
    if (!made)
    {
        // Nothing can be kept this run; the debugger mirror still says why.
        Print_Message("Failed - no folder for the player's files (%s)\n", name ? name : "");
        return false;
    }
    char log[1024];
    if (!User_Write_Path("sys_log.txt", log, sizeof(log)) || !g_vorta_log.Set_File_Name(log))
        Print_Message("Failed - the log does not fit in the player's folder \"%s\"\n", g_user_folder);
    return true;
}

bool User_Write_Path(const char* name, char* out, size_t size)
{
    if (!name)
        return false;
    if (!g_user_folder[0] || !Relative(name))
        return Copy(name, out, size);
    int n = std::snprintf(out, size, "%s%s", g_user_folder, name);
    return n >= 0 && static_cast<size_t>(n) < size;
}

bool User_Read_Path(const char* name, char* out, size_t size)
{
    if (!g_user_folder[0] || !Relative(name))
        return false;
    // An empty copy counts as none, as an empty pack member does: the shipped file serves instead.
    return User_Write_Path(name, out, size) && platform::File_Size(out) > 0;
}

bool Vorta_File_Exists(const char* name)
{
    if (!name || !*name)
        return false;
    if (g_vorta_engine && g_vorta_engine->Pack_File_Size(name) > 0)
        return true;
    char path[1024];
    if (User_Read_Path(name, path, sizeof(path)))
        return true;
    if (std::FILE* file = std::fopen(name, "rb"))
    {
        std::fclose(file);
        return true;
    }
    return false;
}
