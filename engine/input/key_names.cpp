// The key-name table and the UK character table.
#include "engine/input/key_names.h"

#include <strings.h>

namespace
{
struct Char_Row
{
    char plain;
    char shifted;
    char caps;
    int code;
};

// In scan-code order, ending with code -1. Shift+4 types the pound sign, which has no place in 7-bit text:
// the table holds character 127 for it. Rows of 0 are keys that type nothing.
constexpr Char_Row k_char_table[] = {
    {0, 0, 0, 1},         {'1', '!', '1', 2},   {'2', '"', '2', 3},    {'3', 127, '3', 4},
    {'4', '$', '4', 5},   {'5', '%', '5', 6},   {'6', '^', '6', 7},    {'7', '&', '7', 8},
    {'8', '*', '8', 9},   {'9', '(', '9', 10},  {'0', ')', '0', 11},   {'-', '_', '-', 12},
    {'=', '+', '=', 13},  {0, 0, 0, 14},        {0, 0, 0, 15},         {'q', 'Q', 'Q', 16},
    {'w', 'W', 'W', 17},  {'e', 'E', 'E', 18},  {'r', 'R', 'R', 19},   {'t', 'T', 'T', 20},
    {'y', 'Y', 'Y', 21},  {'u', 'U', 'U', 22},  {'i', 'I', 'I', 23},   {'o', 'O', 'O', 24},
    {'p', 'P', 'P', 25},  {'[', '{', '[', 26},  {']', '}', ']', 27},   {0, 0, 0, 28},
    {0, 0, 0, 29},        {'a', 'A', 'A', 30},  {'s', 'S', 'S', 31},   {'d', 'D', 'D', 32},
    {'f', 'F', 'F', 33},  {'g', 'G', 'G', 34},  {'h', 'H', 'H', 35},   {'j', 'J', 'J', 36},
    {'k', 'K', 'K', 37},  {'l', 'L', 'L', 38},  {';', ':', ';', 39},   {'\'', '@', '\'', 40},
    {0, 0, 0, 41},        {0, 0, 0, 42},        {'#', '~', '#', 43},   {'z', 'Z', 'Z', 44},
    {'x', 'X', 'X', 45},  {'c', 'C', 'C', 46},  {'v', 'V', 'V', 47},   {'b', 'B', 'B', 48},
    {'n', 'N', 'N', 49},  {'m', 'M', 'M', 50},  {',', '<', ',', 51},   {'.', '>', '.', 52},
    {'/', '?', '/', 53},  {0, 0, 0, 54},        {'*', '*', '*', 55},   {0, 0, 0, 56},
    {' ', ' ', ' ', 57},  {0, 0, 0, 58},        {0, 0, 0, 59},         {0, 0, 0, 60},
    {0, 0, 0, 61},        {0, 0, 0, 62},        {0, 0, 0, 63},         {0, 0, 0, 64},
    {0, 0, 0, 65},        {0, 0, 0, 66},        {0, 0, 0, 67},         {0, 0, 0, 68},
    {0, 0, 0, 69},        {0, 0, 0, 70},        {'\\', '|', '\\', 86}, {0, 0, 0, 87},
    {0, 0, 0, 88},        {0, 0, 0, 100},       {0, 0, 0, 101},        {0, 0, 0, 102},
    {0, 0, 0, 112},       {0, 0, 0, 115},       {0, 0, 0, 121},        {0, 0, 0, 123},
    {0, 0, 0, 125},       {0, 0, 0, 126},       {'=', '=', '=', 141},  {0, 0, 0, 144},
    {'@', '@', '@', 145}, {':', ':', ':', 146}, {0, 0, 0, 147},        {0, 0, 0, 148},
    {0, 0, 0, 149},       {0, 0, 0, 150},       {0, 0, 0, 151},        {0, 0, 0, 153},
    {0, 0, 0, 156},       {0, 0, 0, 157},       {0, 0, 0, 160},        {0, 0, 0, 161},
    {0, 0, 0, 162},       {0, 0, 0, 164},       {0, 0, 0, 174},        {0, 0, 0, 176},
    {0, 0, 0, 178},       {',', ',', ',', 179}, {'/', '/', '/', 181},  {0, 0, 0, 183},
    {0, 0, 0, 184},       {0, 0, 0, 197},       {0, 0, 0, 199},        {0, 0, 0, 200},
    {0, 0, 0, 201},       {0, 0, 0, 203},       {0, 0, 0, 205},        {0, 0, 0, 207},
    {0, 0, 0, 208},       {0, 0, 0, 209},       {0, 0, 0, 210},        {0, 0, 0, 211},
    {0, 0, 0, 219},       {0, 0, 0, 220},       {0, 0, 0, 221},        {0, 0, 0, 222},
    {0, 0, 0, 223},       {0, 0, 0, 227},       {0, 0, 0, 229},        {0, 0, 0, 230},
    {0, 0, 0, 231},       {0, 0, 0, 232},       {0, 0, 0, 233},        {0, 0, 0, 234},
    {0, 0, 0, 235},       {0, 0, 0, 236},       {0, 0, 0, 237},        {0, 0, 0, -1},
};

struct Name_Row
{
    const char* name;
    int code;
};

constexpr Name_Row k_names[] = {
    {"f1", 59},
    {"f2", 60},
    {"f3", 61},
    {"f4", 62},
    {"f5", 63},
    {"f6", 64},
    {"f7", 65},
    {"f8", 66},
    {"f9", 67},
    {"f10", 68},
    {"f11", 87},
    {"f12", 88},
    {"escape", 1},
    {"lctrl", 29},
    {"left control", 29},
    {"rctrl", 157},
    {"right control", 157},
    {"lshift", 42},
    {"left shift", 42},
    {"rshift", 54},
    {"right shift", 54},
    {"lalt", 56},
    {"left alt", 56},
    {"ralt", 184},
    {"right alt", 184},
    {"lwin", 219},
    {"left windows", 219},
    {"rwin", 220},
    {"right windows", 220},
    {"up", 200},
    {"down", 208},
    {"left", 203},
    {"right", 205},
    {"grave", 41},
    {"tab", 15},
    {"pageup", 201},
    {"pagedown", 209},
    // The names the controls file has always written for these two keys.
    {"page up", 201},
    {"page down", 209},
    {"return", 28},
    {"space", 57},
};

// The numeric pad: the "np" prefix must be lower case, the rest is compared without regard to case.
constexpr Name_Row k_pad_names[] = {
    {"np1", 79},      {"np2", 80},    {"np3", 81},     {"np4", 75},    {"np5", 76},      {"np6", 77},
    {"np7", 71},      {"np8", 72},    {"np9", 73},     {"npdot", 83},  {"npenter", 156}, {"nplock", 69},
    {"npslash", 181}, {"npstar", 55}, {"npminus", 74}, {"npplus", 78},
};

template <size_t N> int Find_Name(const Name_Row (&table)[N], const char* name)
{
    for (const Name_Row& row : table)
        if (strcasecmp(row.name, name) == 0)
            return row.code;
    return 0;
}
} // namespace

int Key_From_Name(const char* name)
{
    if (!name || !*name)
        return 0;
    if (name[1] == '\0')
        return Key_From_Char(name[0]);
    if (name[0] == 'n' && name[1] == 'p')
    {
        for (const Name_Row& row : k_pad_names)
            if (strcasecmp(row.name + 2, name + 2) == 0)
                return row.code;
    }
    return Find_Name(k_names, name);
}

const char* Name_From_Key(int scan_code)
{
    for (const Name_Row& row : k_names)
        if (row.code == scan_code)
            return row.name;
    for (const Name_Row& row : k_pad_names)
        if (row.code == scan_code)
            return row.name;
    return nullptr;
}

char Char_From_Key(int scan_code, bool shift, bool caps_lock)
{
    for (const Char_Row* row = k_char_table; row->code != -1; ++row)
    {
        if (row->code != scan_code || static_cast<unsigned char>(row->plain) < 32)
            continue;
        if (shift)
            return row->shifted;
        return caps_lock ? row->caps : row->plain;
    }
    return 0;
}

int Key_From_Char(char character)
{
    // No key types the character 0 (the rows of keys without characters hold it).
    if (character == 0)
        return 0;
    for (const Char_Row* row = k_char_table; row->code != -1; ++row)
        if (row->plain == character || row->shifted == character)
            return row->code;
    return 0;
}
