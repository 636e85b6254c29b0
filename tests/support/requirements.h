// What a test needs of the machine beyond the build: an X display, Xvfb for a display of its own, programs
// such as xdotool or ImageMagick's import. A test that lacks one skips on a bare developer machine. The test
// command (`./run.sh test`, and CI through it) installs every package of deps/ and sets VORTA5_REQUIRE_ALL=1:
// there the same test fails instead, so a broken display or a missing tool never passes as a skip. (run.sh
// test also fails when ctest reports any skipped test, so a plain GTEST_SKIP fails there too: use this.)
//
//     if (!test_support::Have_Display())
//         VORTA5_SKIP() << "needs a display";
//     ASSERT_TRUE(engine->Init("", "config.txt")) << log; // on a working display a failure is the product's
//
// Check the machine first and the product after it: a failing Init or Create_Window on a display that
// works is a fault of the program and fails the test, never skips it. VORTA5_SKIP returns from the
// function it is in, like GTEST_SKIP: use it in SetUp or in the test itself, not in a helper (a skip in
// a helper leaves the test running on).
#pragma once
#include <gtest/gtest.h>

namespace test_support
{
// True when VORTA5_REQUIRE_ALL is set to anything but "" or "0".
bool Require_All();
// True when DISPLAY names an X server that takes a connection.
bool Have_Display();
// True when the program is on PATH.
bool Have_Program(const char* name);

// How VORTA5_SKIP reports: a skip, or under VORTA5_REQUIRE_ALL a fatal failure with a line saying why.
::testing::TestPartResult::Type Missing_Requirement_Kind();
const char* Missing_Requirement_Prefix();
} // namespace test_support

// GTEST_SKIP(), except that it fails the test under VORTA5_REQUIRE_ALL; stream the reason into it.
#define VORTA5_SKIP()                                                                                        \
    return GTEST_MESSAGE_(::test_support::Missing_Requirement_Prefix(),                                      \
                          ::test_support::Missing_Requirement_Kind())
