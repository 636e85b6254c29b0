// Con_Cmd: registration and the word access of command lines.
#include "engine/gui/con_cmd.h"

#include "engine/gui/console.h"

#include "engine/core/get_word.h"
#include "engine/core/no_case.h"

#include <cstdint>
#include <cstring>

void Con_Cmd::Register(Console& console)
{
    console.Register(this);
}

bool Con_Same_Name(const char* a, const char* b)
{
    return Equal_No_Case(a, b);
}

bool Con_Get_Word(const char* line, int n, char* out, size_t size)
{
    if (!out || size == 0)
        return false;
    out[0] = '\0';
    if (!line || n < 0)
        return false;
    uint32_t capacity = size > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(size);
    return Get_Word(line, static_cast<uint32_t>(std::strlen(line)), n, out, capacity, WORD_BLANKS) != 0;
}
