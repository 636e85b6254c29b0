// Text_To_Int and Text_To_Unsigned.
#include "engine/core/text_number.h"

#include <cerrno>
#include <cstdlib>

int32_t Text_To_Int(const char* text)
{
    long long value = std::strtoll(text, nullptr, 10);
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

uint32_t Text_To_Unsigned(const char* text)
{
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        ++text;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    if (*text < '0' || *text > '9')
        return 0;
    errno = 0;
    unsigned long long magnitude = std::strtoull(text, nullptr, 0);
    if (errno == ERANGE || magnitude > UINT32_MAX)
        return UINT32_MAX;
    uint32_t value = static_cast<uint32_t>(magnitude);
    return negative ? 0u - value : value;
}
