// Settings lists: Load_Config, Find_Config and the value readings.
#include "engine/core/config_list.h"

#include "engine/core/no_case.h"
#include "engine/core/text_file.h"
#include "engine/core/text_number.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <unordered_map>

Config_List g_vorta_config;

namespace
{
constexpr uint32_t WORD_SIZE = 2048;

char* Copy_Text(const char* text)
{
    size_t length = std::strlen(text) + 1;
    char* copy = new (std::nothrow) char[length];
    if (copy)
        std::memcpy(copy, text, length);
    return copy;
}

} // namespace

bool Config_Value::Set(const char* value_text)
{
    char* copy = Copy_Text(value_text ? value_text : "");
    if (!copy)
        return false;
    delete[] text;
    text = copy;
    integer = Text_To_Int(text);
    number = static_cast<float>(std::atof(text));
    flag = Equal_No_Case(text, "true") || integer != 0;
    return true;
}

int Config_Entry::Value_Count() const
{
    int count = 0;
    for (const Config_Value* v = &value; v; v = v->next)
        ++count;
    return count;
}

const Config_Value* Config_Entry::Get_Value(int index) const
{
    const Config_Value* v = &value;
    for (; v && index > 0; --index)
        v = v->next;
    return index == 0 ? v : nullptr;
}

void Config_List::Clear()
{
    while (first)
    {
        Config_Entry* entry = first;
        first = entry->next;
        for (Config_Value* v = entry->value.next; v;)
        {
            Config_Value* next = v->next;
            delete[] v->text;
            delete v;
            v = next;
        }
        delete[] entry->value.text;
        delete[] entry->key;
        delete entry;
    }
}

namespace
{
// Fills a list in file order. Keys are found through an index, so a file of many keys loads in linear time.
class Config_Builder
{
  public:
    explicit Config_Builder(Config_List& list) : m_end(&list.first) {}

    bool Has(const char* key) const { return m_index.count(Folded(key)) != 0; }

    void Add(const char* key, const char* text)
    {
        std::string folded = Folded(key);
        auto found = m_index.find(folded);
        if (found != m_index.end())
        {
            Config_Value* value = new (std::nothrow) Config_Value();
            if (!value || !value->Set(text))
            {
                delete value;
                return;
            }
            found->second->next = value;
            found->second = value;
            return;
        }
        Config_Entry* entry = new (std::nothrow) Config_Entry();
        if (!entry)
            return;
        entry->key = Copy_Text(key);
        if (!entry->key || !entry->value.Set(text))
        {
            delete[] entry->key;
            delete[] entry->value.text;
            delete entry;
            return;
        }
        *m_end = entry;
        m_end = &entry->next;
        m_index.emplace(std::move(folded), &entry->value);
    }

  private:
    static std::string Folded(const char* key)
    {
        std::string folded(key);
        for (char& c : folded)
            c = Fold_Case(c);
        return folded;
    }

    Config_Entry** m_end;
    std::unordered_map<std::string, Config_Value*> m_index; // key -> last value of its chain
};
} // namespace

bool Load_Config(Config_List& list, const char* file_name)
{
    Text_File file;
    if (!file.Load(file_name, WORD_BLANKS))
        return false;
    list.Clear();
    Config_Builder builder(list);

    char key[WORD_SIZE];
    char value[WORD_SIZE];
    for (;;)
    {
        uint32_t line_start = file.Get_Position();
        if (file.Read_Word(key, WORD_SIZE) == 0)
            break;
        if (key[0] == '/' && key[1] == '/')
        {
            file.Set_Position(line_start);
            file.Read_Line(nullptr, 0);
            continue;
        }
        // A key with no word after it (the last word of the file) still becomes an entry, with an empty
        // value; a key seen before keeps the values it has.
        if (file.Read_Word(value, WORD_SIZE) == 0)
        {
            if (!builder.Has(key))
                builder.Add(key, "");
            break;
        }
        if (value[0] != '{')
        {
            builder.Add(key, value);
            continue;
        }
        while (file.Read_Word(value, WORD_SIZE) > 0 && value[0] != '}')
            builder.Add(key, value);
    }
    return true;
}

Config_Entry* Find_Config(const Config_List& list, const char* key)
{
    for (Config_Entry* entry = list.first; entry; entry = entry->next)
        if (Equal_No_Case(entry->key, key))
            return entry;
    return nullptr;
}
