// Con_Cmd: registration and the word access of command lines.
#include "engine/gui/con_cmd.h"

#include "engine/gui/console.h"

#include <cstring>
#include <strings.h>

void Con_Cmd::Register(Console& console)
{
    console.Register(this);
}

bool Con_Same_Name(const char* a, const char* b)
{
    return a && b && strcasecmp(a, b) == 0;
}

namespace
{
bool Is_Separator(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
} // namespace

bool Con_Get_Word(const char* line, int n, char* out, size_t size)
{
    if (!out || size == 0)
        return false;
    out[0] = '\0';
    if (!line || n < 0)
        return false;
    const char* p = line;
    for (int word = 0;; ++word)
    {
        while (*p && Is_Separator(*p))
            ++p;
        if (!*p)
            return false;
        const char* start = p;
        const char* end;
        if (*p == '"')
        {
            start = ++p;
            while (*p && *p != '"')
                ++p;
            end = p;
            if (*p == '"')
                ++p;
        }
        else
        {
            while (*p && !Is_Separator(*p))
                ++p;
            end = p;
        }
        if (word == n)
        {
            size_t length = static_cast<size_t>(end - start);
            if (length > size - 1)
                length = size - 1;
            std::memcpy(out, start, length);
            out[length] = '\0';
            return true;
        }
    }
}
