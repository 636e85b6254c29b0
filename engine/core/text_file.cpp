// Text_File: loading and the cursor reads.
#include "engine/core/text_file.h"

#include "engine/core/text_number.h"
#include "engine/core/user_folder.h"
#include "engine/core/vorta_engine.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace
{
// Whole-file size by seeking to the end; 0 when the file does not open, is empty or is too large.
uint32_t Disk_File_Size(const char* file_name)
{
    std::FILE* file = std::fopen(file_name, "rb");
    if (!file)
        return 0;
    long size = std::fseek(file, 0, SEEK_END) == 0 ? std::ftell(file) : -1;
    std::fclose(file);
    return size > 0 && static_cast<unsigned long>(size) < UINT32_MAX ? static_cast<uint32_t>(size) : 0;
}

} // namespace

void Text_File::Keep_Name(const char* file_name)
{
    std::snprintf(m_name, sizeof(m_name), "%s", file_name);
}

bool Text_File::Load(const char* file_name, int mode)
{
    if (!file_name)
        return false;
    m_mode = mode;
    if (g_vorta_engine)
        g_vorta_engine->Pump_Messages();

    // The player's own copy of a file the program writes comes before the pack and the disk.
    char user_path[1024];
    const char* disk_name = User_Read_Path(file_name, user_path, sizeof(user_path)) ? user_path : nullptr;

    uint32_t packed = !disk_name && g_vorta_engine ? g_vorta_engine->Pack_File_Size(file_name) : 0;
    if (packed > 0)
    {
        Close();
        Keep_Name(file_name);
        uint8_t* data = nullptr;
        uint32_t size = g_vorta_engine->Pack_Extract(file_name, &data);
        Set_Data(data, data ? size : 0, false);
        return data && size == packed;
    }

    if (!disk_name)
        disk_name = file_name;
    uint32_t size = Disk_File_Size(disk_name);
    if (size == 0)
        return false;
    Close();
    uint8_t* data = new (std::nothrow) uint8_t[size];
    if (!data)
        return false;
    std::FILE* file = std::fopen(disk_name, "rb");
    size_t read = file ? std::fread(data, 1, size, file) : 0;
    if (file)
        std::fclose(file);
    Keep_Name(file_name);
    // A file that shrank or could not be read in the meantime is a failed load, not a shorter text.
    if (read != size)
    {
        delete[] data;
        return false;
    }
    Set_Data(data, size, false);
    return true;
}

void Text_File::Set_Data(uint8_t* data, uint32_t size, bool borrowed)
{
    Close();
    m_data = data;
    m_size = data ? size : 0;
    m_borrowed = borrowed;
}

uint32_t Text_File::Read_Word(char* buffer, uint32_t size)
{
    if (buffer && size > 0)
        buffer[0] = 0;
    if (!m_data || m_position >= m_size)
        return 0;
    uint32_t moved = Get_Word(reinterpret_cast<const char*>(m_data) + m_position, m_size - m_position, 0,
                              buffer, size, m_mode);
    m_position += moved;
    return moved;
}

uint32_t Text_File::Read_Line(char* buffer, uint32_t size)
{
    if (buffer && size > 0)
        buffer[0] = 0;
    if (!m_data || m_position >= m_size)
        return 0;
    uint32_t end = m_position;
    while (end < m_size && m_data[end] != 0 && m_data[end] != '\n' && m_data[end] != '\r')
        ++end;
    uint32_t copied = 0;
    if (buffer && size > 0)
    {
        copied = end - m_position;
        if (copied > size - 1)
            copied = size - 1;
        std::memcpy(buffer, m_data + m_position, copied);
        buffer[copied] = 0;
    }
    while (end < m_size && (m_data[end] == 0 || m_data[end] == '\n' || m_data[end] == '\r'))
        ++end;
    m_position = end;
    return copied;
}

bool Text_File::Read_Number_Word(char (&word)[NUMBER_SIZE])
{
    return Read_Word(word, NUMBER_SIZE) > 0;
}

bool Text_File::Read_Float(float& out)
{
    char word[NUMBER_SIZE];
    if (!Read_Number_Word(word))
        return false;
    out = static_cast<float>(std::atof(word));
    return true;
}

bool Text_File::Read_Int(int32_t& out)
{
    char word[NUMBER_SIZE];
    if (!Read_Number_Word(word))
        return false;
    out = Text_To_Int(word);
    return true;
}

bool Text_File::Read_Unsigned(uint32_t& out)
{
    char word[NUMBER_SIZE];
    if (!Read_Number_Word(word))
        return false;
    out = Text_To_Unsigned(word);
    return true;
}

bool Text_File::Read_Float2(float out[2])
{
    return Read_Float(out[0]) && Read_Float(out[1]);
}

void Text_File::Close()
{
    if (!m_borrowed)
        delete[] m_data;
    m_data = nullptr;
    m_size = 0;
    m_position = 0;
}
