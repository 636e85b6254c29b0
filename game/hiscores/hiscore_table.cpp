// Hiscore tables: defaults, insertion, and the scrambled 384-byte files they are kept in.
#include "game/hiscores/hiscore_table.h"

#include "engine/core/file_replace.h"
#include "engine/core/text_file.h"

#include <cstring>
#include <new>

namespace
{
// Only the low eight bits of the key take part in the scrambling.
constexpr uint16_t k_hiscore_key = 0x5A3D;
constexpr int k_record_size = 21;

const char* const k_default_names[HISCORE_ROWS] = {
    "KESTROVA", "VORTA5",   "LUNA", "ORBITER", "CRATER", "BUGGY",  "JETPACK", "ROVER",
    "NOVA",     "REGOLITH", "MARE", "ZENITH",  "APOGEE", "PULSAR", "QUASAR",  "TERMINUS",
};

uint8_t Key_Byte(uint32_t offset)
{
    const uint32_t d = (static_cast<uint32_t>(k_hiscore_key) * offset) & 0xFF;
    return static_cast<uint8_t>((d * 86) & 0xFF);
}

uint8_t Swap_Halves(uint8_t b)
{
    return static_cast<uint8_t>((b << 4) | (b >> 4));
}

void Put_Int(uint8_t* at, int32_t value)
{
    const uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<uint8_t>(v >> (8 * i));
}

int32_t Get_Int(const uint8_t* at)
{
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(at[i]) << (8 * i);
    return static_cast<int32_t>(v);
}
} // namespace

void Scramble_Hiscores(uint8_t* bytes, uint32_t size)
{
    for (uint32_t i = 0; i < size; ++i)
        bytes[i] = Swap_Halves(bytes[i]) ^ Key_Byte(i);
}

void Unscramble_Hiscores(uint8_t* bytes, uint32_t size)
{
    for (uint32_t i = 0; i < size; ++i)
        bytes[i] = Swap_Halves(static_cast<uint8_t>(bytes[i] ^ Key_Byte(i)));
}

void Default_Hiscores(Hiscore_Table& table, int32_t top_score, int32_t step)
{
    for (int r = 0; r < HISCORE_ROWS; ++r)
    {
        Hiscore_Entry& row = table.rows[r];
        const int32_t score = top_score - r * step;
        row.score = score > 0 ? score : 0;
        row.level = 20 - r;
        std::memset(row.name, 0, sizeof row.name);
        std::strncpy(row.name, k_default_names[r], HISCORE_NAME_LENGTH);
    }
}

void Read_Hiscores(Hiscore_Table& table, const uint8_t* bytes, uint32_t size)
{
    // Only whole records are taken; rows beyond the bytes keep what they hold.
    for (int r = 0; r < HISCORE_ROWS; ++r)
    {
        const uint32_t at = static_cast<uint32_t>(r) * k_record_size;
        if (at + k_record_size > size)
            break;
        Hiscore_Entry& row = table.rows[r];
        row.score = Get_Int(bytes + at);
        row.level = Get_Int(bytes + at + 4);
        std::memset(row.name, 0, sizeof row.name);
        for (int i = 0; i < HISCORE_NAME_LENGTH && bytes[at + 8 + i]; ++i)
            row.name[i] = static_cast<char>(bytes[at + 8 + i]);
    }
}

void Write_Hiscores(const Hiscore_Table& table, uint8_t (&bytes)[HISCORE_FILE_SIZE])
{
    std::memset(bytes, 0, sizeof bytes);
    for (int r = 0; r < HISCORE_ROWS; ++r)
    {
        const Hiscore_Entry& row = table.rows[r];
        uint8_t* at = bytes + r * k_record_size;
        Put_Int(at, row.score);
        Put_Int(at + 4, row.level);
        for (int i = 0; i < HISCORE_NAME_LENGTH && row.name[i]; ++i)
            at[8 + i] = static_cast<uint8_t>(row.name[i]);
    }
}

void Load_Hiscores(Hiscore_Table& table, const char* file_name, int32_t top_score, int32_t step)
{
    Default_Hiscores(table, top_score, step);
    Text_File file;
    if (!file.Load(file_name))
        return;
    const uint32_t size = file.Get_Size();
    uint8_t* bytes = new (std::nothrow) uint8_t[size];
    if (!bytes)
        return;
    std::memcpy(bytes, file.Get_Data(), size);
    Unscramble_Hiscores(bytes, size);
    Read_Hiscores(table, bytes, size);
    delete[] bytes;
}

bool Save_Hiscores(const Hiscore_Table& table, const char* file_name)
{
    uint8_t bytes[HISCORE_FILE_SIZE];
    Write_Hiscores(table, bytes);
    Scramble_Hiscores(bytes, HISCORE_FILE_SIZE);
    return Replace_File(file_name, bytes, HISCORE_FILE_SIZE);
}

int Insert_Hiscore(Hiscore_Table& table, int32_t score, int32_t level)
{
    int row = 0;
    while (row < HISCORE_ROWS && table.rows[row].score >= score)
        ++row;
    if (row == HISCORE_ROWS)
        return -1;
    for (int r = HISCORE_ROWS - 1; r > row; --r)
        table.rows[r] = table.rows[r - 1];
    Hiscore_Entry& entry = table.rows[row];
    entry.score = score;
    entry.level = level;
    std::memset(entry.name, 0, 13);
    entry.name[0] = 'A';
    return row;
}
