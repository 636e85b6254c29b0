// Text_File: a whole text file in memory (from the data pack when it holds the file, else from disk) read
// through a cursor as words, lines and numbers.
#pragma once
#include "engine/core/get_word.h"

#include <cstdint>

class Text_File
{
  public:
    Text_File() = default;
    Text_File(const Text_File&) = delete;
    Text_File& operator=(const Text_File&) = delete;
    ~Text_File() { Close(); }

    // Loads the whole file and puts the cursor at its start. False for a null name, a file that is in
    // neither the pack nor on disk, an empty file, or one that could not be read whole.
    bool Load(const char* file_name, int mode = WORD_BLANKS);
    // Reads from a buffer of the caller's instead of a file; the buffer is freed by Close only when it is
    // not borrowed, and must then come from new[].
    void Set_Data(uint8_t* data, uint32_t size, bool borrowed);

    // The next word (cut to size - 1 characters); the number of bytes the cursor moved, 0 at the end.
    uint32_t Read_Word(char* buffer, uint32_t size);
    // The rest of the current line (cut to size - 1 characters); the cursor moves past the line end and any
    // line ends and zero bytes after it. Returns the characters copied; 0 also at the end.
    uint32_t Read_Line(char* buffer, uint32_t size);
    bool Read_Float(float& out);
    bool Read_Int(int32_t& out);       // decimal
    bool Read_Unsigned(uint32_t& out); // decimal, "0x" hexadecimal or leading-zero octal
    bool Read_Float2(float out[2]);

    uint32_t Get_Position() const { return m_position; }
    void Set_Position(uint32_t position) { m_position = position; }
    uint32_t Get_Size() const { return m_size; }
    const uint8_t* Get_Data() const { return m_data; }
    const char* Get_Name() const { return m_name; }
    int Get_Mode() const { return m_mode; }
    void Set_Mode(int mode) { m_mode = mode; }
    void Set_Borrowed(bool borrowed) { m_borrowed = borrowed; }

    // Frees the buffer unless it is borrowed and puts the cursor back to 0.
    void Close();

  private:
    static constexpr uint32_t NUMBER_SIZE = 256;

    bool Read_Number_Word(char (&word)[NUMBER_SIZE]);
    void Keep_Name(const char* file_name);

    char m_name[256] = {};
    uint32_t m_position = 0;
    uint32_t m_size = 0;
    uint8_t* m_data = nullptr;
    bool m_borrowed = false;
    int m_mode = WORD_BLANKS;
};
