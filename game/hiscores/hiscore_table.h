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

// The default table: score max(0, top - row x step), level 20 - row, and the sixteen default names.
void Default_Hiscores(Hiscore_Table& table, int32_t top_score, int32_t step);
// The file's scrambling, in place, byte by byte over the buffer.
void Scramble_Hiscores(uint8_t* bytes, uint32_t size);
void Unscramble_Hiscores(uint8_t* bytes, uint32_t size);
// Rows from unscrambled bytes: only the whole 21-byte records present are read, names cut at 12
// characters; the other rows keep what they hold.
void Read_Hiscores(Hiscore_Table& table, const uint8_t* bytes, uint32_t size);
// The unscrambled 384 bytes of a table.
void Write_Hiscores(const Hiscore_Table& table, uint8_t (&bytes)[HISCORE_FILE_SIZE]);
// Fills the defaults (score max(0, top - row x step), level 20 - row), then the rows the file holds.
void Load_Hiscores(Hiscore_Table& table, const char* file_name, int32_t top_score, int32_t step);
// Writes the scrambled table; false when it could not be written.
bool Save_Hiscores(const Hiscore_Table& table, const char* file_name);
// The row a score takes (the rows below move down), or -1.
int Insert_Hiscore(Hiscore_Table& table, int32_t score, int32_t level);

// "hiscores easy.dat" or "hiscores normal.dat".
inline const char* Hiscore_File_Name(int difficulty)
{
    return difficulty == 0 ? "hiscores easy.dat" : "hiscores normal.dat";
}
