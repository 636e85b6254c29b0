// Hiscore tables: sixteen rows best first, kept per difficulty in a scrambled 384-byte file.
#pragma once
#include <cstdint>

constexpr int HISCORE_ROWS = 16;
constexpr int HISCORE_NAME_LENGTH = 12;
constexpr int HISCORE_FILE_SIZE = 384;

struct Hiscore_Entry
{
    int32_t score = 0;
    int32_t level = 0;
    char name[16] = {}; // at most 12 characters and a zero byte
};

struct Hiscore_Table
{
    Hiscore_Entry rows[HISCORE_ROWS];
};

// Fills the defaults (score max(0, top - row x step), level 20 - row), then the rows the file holds.
void Load_Hiscores(Hiscore_Table& table, const char* file_name, int32_t top_score, int32_t step);
// Writes the scrambled table; false when it could not be written.
bool Save_Hiscores(const Hiscore_Table& table, const char* file_name);
// The row a score takes (the rows below move down), or -1.
int Insert_Hiscore(Hiscore_Table& table, int32_t score, int32_t level);
