// Settings lists: keys with ordered values, filled from a settings file by Load_Config and read with
// Find_Config. The settings of "config.txt" live in the process-wide list g_vorta_config.
#pragma once
#include <cstdint>

struct Config_Value
{
    char* text = nullptr; // owned, never null in a list
    int32_t integer = 0;  // leading decimal digits of the text, 0 when there are none
    float number = 0.0f;  // the text read as a floating-point number
    bool flag = false;    // the text is "true" (any case) or the integer is not 0
    Config_Value* next = nullptr;

    // Sets the text and the three readings of it.
    bool Set(const char* value_text);
};

struct Config_Entry
{
    // The first value; further values follow through value.next in file order.
    Config_Value value;
    char* key = nullptr; // owned
    Config_Entry* next = nullptr;

    int Value_Count() const;
    // Value `index` of the chain (0 is the first), or null.
    const Config_Value* Get_Value(int index) const;
};

class Config_List
{
  public:
    Config_List() = default;
    Config_List(const Config_List&) = delete;
    Config_List& operator=(const Config_List&) = delete;
    ~Config_List() { Clear(); }

    // Frees every entry, key, value and text.
    void Clear();

    Config_Entry* first = nullptr;
};

// Reads a settings file: "key value" words, "key { value value ... }" blocks, lines that start with a "//"
// word skipped. False when the file cannot be loaded; the list is then left as it was.
bool Load_Config(Config_List& list, const char* file_name);

// The entry whose key equals the key without regard to case, or null.
Config_Entry* Find_Config(const Config_List& list, const char* key);

// The settings read from "config.txt" at start-up.
extern Config_List g_vorta_config;
