// Folders on POSIX: access(2), mkdir(2) and the user database.
#include "platform/folders.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace platform
{
bool Folder_Writable(const char* path)
{
    // A read-only mount answers EROFS here even for root.
    return path && *path && access(path, W_OK | X_OK) == 0;
}

bool Data_Home(char* out, size_t size)
{
    if (!out || size == 0)
        return false;
    out[0] = 0;
    // A relative XDG_DATA_HOME is invalid and is ignored, as the base directory rules say.
    const char* data_home = std::getenv("XDG_DATA_HOME");
    int n = -1;
    if (data_home && data_home[0] == '/')
        n = std::snprintf(out, size, "%s", data_home);
    else
    {
        const char* home = std::getenv("HOME");
        if (!(home && home[0] == '/'))
        {
            const passwd* user = getpwuid(geteuid());
            home = user && user->pw_dir && user->pw_dir[0] == '/' ? user->pw_dir : nullptr;
        }
        if (home)
        {
            size_t length = std::strlen(home);
            while (length > 1 && home[length - 1] == '/')
                --length;
            n = std::snprintf(out, size, "%.*s/.local/share", static_cast<int>(length), home);
        }
    }
    if (n <= 0 || static_cast<size_t>(n) >= size)
    {
        out[0] = 0;
        return false;
    }
    // No trailing slashes: callers add their own.
    while (n > 1 && out[n - 1] == '/')
        out[--n] = 0;
    return true;
}

bool Make_Folders(const char* path)
{
    if (!path || !*path)
        return false;
    std::string folder = path;
    for (size_t at = 1; at <= folder.size(); ++at)
    {
        if (at < folder.size() && folder[at] != '/')
            continue;
        std::string part = folder.substr(0, at);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    struct stat info;
    return stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

long long File_Size(const char* path)
{
    struct stat info;
    if (!path || !*path || stat(path, &info) != 0 || !S_ISREG(info.st_mode))
        return -1;
    return static_cast<long long>(info.st_size);
}
} // namespace platform
