// Fuzz target: hiscore files of any bytes and any length. Nothing may be read past the loaded bytes and
// every name must come out as at most 12 characters and a zero byte.
#include "game/hiscores/hiscore_table.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // An exact-size copy, so that a read past the end is caught.
    uint8_t* bytes = new uint8_t[size ? size : 1];
    std::memcpy(bytes, data, size);
    Unscramble_Hiscores(bytes, static_cast<uint32_t>(size));
    Hiscore_Table table;
    Default_Hiscores(table, 80000, 5000);
    Read_Hiscores(table, bytes, static_cast<uint32_t>(size));
    delete[] bytes;
    for (const Hiscore_Entry& row : table.rows)
        if (std::memchr(row.name, 0, HISCORE_NAME_LENGTH + 1) == nullptr)
            std::abort();
    // What was read writes back and reads again the same.
    uint8_t written[HISCORE_FILE_SIZE];
    Write_Hiscores(table, written);
    Hiscore_Table again;
    Read_Hiscores(again, written, HISCORE_FILE_SIZE);
    for (int r = 0; r < HISCORE_ROWS; ++r)
        if (again.rows[r].score != table.rows[r].score || std::strcmp(again.rows[r].name, table.rows[r].name))
            std::abort();
    return 0;
}
