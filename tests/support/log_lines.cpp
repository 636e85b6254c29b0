// In_Order: one search after another through the text.
#include "support/log_lines.h"

#include <cstring>

namespace test_support
{
::testing::AssertionResult In_Order(const std::string& text, std::initializer_list<const char*> pieces)
{
    size_t at = 0;
    for (const char* piece : pieces)
    {
        size_t found = text.find(piece, at);
        if (found == std::string::npos)
            return ::testing::AssertionFailure() << "missing or out of order: \"" << piece << "\"\n" << text;
        at = found + std::strlen(piece);
    }
    return ::testing::AssertionSuccess();
}
} // namespace test_support
