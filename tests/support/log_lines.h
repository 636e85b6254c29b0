// Checks on the text of a log: pieces that must appear, each after the one before.
#pragma once
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace test_support
{
// Success when every piece is in the text, each one after the end of the one before; otherwise a failure
// that names the first piece missing or out of order and shows the text.
::testing::AssertionResult In_Order(const std::string& text, std::initializer_list<const char*> pieces);
} // namespace test_support
