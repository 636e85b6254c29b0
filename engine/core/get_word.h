// The word rule shared by every text reader and the console.
#pragma once
#include <cstdint>

enum Word_Mode
{
    WORD_BLANKS = 0, // words between blanks; a double quote starts a word that may hold blanks
    WORD_FIELDS = 1, // fields between commas or line ends; empty fields exist
    WORD_ANGLES = 2, // the text between "<" and ">"
};

// True for the bytes that separate words: zero, tab, line feed, carriage return and space.
inline bool Is_Blank(uint8_t c)
{
    return c == 0 || c == '\t' || c == '\n' || c == '\r' || c == ' ';
}

// Finds word n (counting from 0) of the first `length` bytes of text. The word is copied into buffer, cut to
// buffer_size - 1 characters and terminated (nothing is written when buffer_size is 0). Returns the offset
// just past the word and the blanks after it, or 0 when the text has no word n (the buffer then holds "").
uint32_t Get_Word(const char* text, uint32_t length, int n, char* buffer, uint32_t buffer_size, int mode);
