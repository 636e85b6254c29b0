// The number readings of a word: integers saturated at the 32-bit limits, as the settings and script
// readers use them.
#pragma once
#include <cstdint>

// Leading decimal digits (after blanks and a sign), 0 when there are none.
int32_t Text_To_Int(const char* text);
// Decimal, "0x" hexadecimal or leading-zero octal. A minus sign negates modulo 2^32; a magnitude beyond
// 32 bits gives the largest value.
uint32_t Text_To_Unsigned(const char* text);
