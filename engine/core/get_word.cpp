// Get_Word: the three word rules.
#include "engine/core/get_word.h"

#include <cstring>

namespace
{
struct Span
{
    uint32_t start = 0; // first byte of the word
    uint32_t end = 0;   // one past its last byte
    uint32_t next = 0;  // where the following word may begin
};

uint32_t Skip_Blanks(const uint8_t* text, uint32_t length, uint32_t at)
{
    while (at < length && Is_Blank(text[at]))
        ++at;
    return at;
}

bool Is_Line_End(uint8_t c)
{
    return c == 0 || c == '\n' || c == '\r';
}

// Mode 0. A quoted word without its closing quote runs to the end and keeps the quote.
bool Next_Blank_Word(const uint8_t* text, uint32_t length, uint32_t at, Span& word)
{
    at = Skip_Blanks(text, length, at);
    if (at >= length)
        return false;
    if (text[at] == '"')
    {
        const void* close = std::memchr(text + at + 1, '"', length - at - 1);
        if (close)
        {
            word.start = at + 1;
            word.end = static_cast<uint32_t>(static_cast<const uint8_t*>(close) - text);
            word.next = Skip_Blanks(text, length, word.end + 1);
            return true;
        }
        word.start = at;
        word.end = word.next = length;
        return true;
    }
    word.start = at;
    while (at < length && !Is_Blank(text[at]))
        ++at;
    word.end = at;
    word.next = Skip_Blanks(text, length, at);
    return true;
}

// Mode 1. The separator after a field belongs to it.
bool Next_Field(const uint8_t* text, uint32_t length, uint32_t at, Span& word)
{
    if (at >= length)
        return false;
    word.start = at;
    while (at < length && text[at] != ',' && !Is_Line_End(text[at]))
        ++at;
    word.end = at;
    word.next = at < length ? at + 1 : at;
    return true;
}

// Mode 2.
bool Next_Angle_Word(const uint8_t* text, uint32_t length, uint32_t at, Span& word)
{
    while (at < length && text[at] != '<')
        ++at;
    if (at >= length)
        return false;
    word.start = ++at;
    while (at < length && text[at] != '>' && !Is_Line_End(text[at]))
        ++at;
    word.end = at;
    if (at < length && text[at] == '>')
        ++at;
    word.next = Skip_Blanks(text, length, at);
    return true;
}
} // namespace

uint32_t Get_Word(const char* text, uint32_t length, int n, char* buffer, uint32_t buffer_size, int mode)
{
    if (buffer && buffer_size > 0)
        buffer[0] = 0;
    if (!text || n < 0)
        return 0;
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(text);
    Span word;
    uint32_t at = 0;
    for (int index = 0; index <= n; ++index)
    {
        bool found = mode == WORD_FIELDS   ? Next_Field(bytes, length, at, word)
                     : mode == WORD_ANGLES ? Next_Angle_Word(bytes, length, at, word)
                                           : Next_Blank_Word(bytes, length, at, word);
        if (!found)
            return 0;
        at = word.next;
    }
    if (buffer && buffer_size > 0)
    {
        uint32_t count = word.end - word.start;
        if (count > buffer_size - 1)
            count = buffer_size - 1;
        std::memcpy(buffer, text + word.start, count);
        buffer[count] = 0;
    }
    return word.next;
}
