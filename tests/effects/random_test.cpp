// The game's random generator: the sequence every game starts from, the ranges' modulus and top, the
// colours.
#include "game/play/random.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace
{
TEST(Random_Test, EveryGamesSeedStartsWithTheSameNumbers)
{
    Seed_Random(2103);
    EXPECT_EQ(Random_Int(), 6906);
    EXPECT_EQ(Random_Int(), 1698);
    EXPECT_EQ(Random_Int(), 4694);
    Seed_Random(2103);
    EXPECT_EQ(Random_Int(), 6906) << "seeding again starts the sequence again";
}

TEST(Random_Test, RangesUseTheModulus16284AndNeverReachTheirTop)
{
    // The draw n gives (n % 16284) x 6.140997e-05 of the range: 16300 gives a small value, not one
    // near the top as a modulus of 16384 would.
    const std::tuple<float, float> ranges[] = {{0.0f, 1.0f}, {-0.002f, 0.002f}, {2.0f, 4.0f}, {1.0f, -1.0f}};
    for (uint32_t seed : {1u, 2103u, 77777u})
        for (auto [a, b] : ranges)
        {
            Seed_Random(seed);
            const int n = Random_Int();
            Seed_Random(seed);
            EXPECT_FLOAT_EQ(Random_Range(a, b), static_cast<float>(n % 16284) * 6.140997e-05f * (b - a) + a)
                << seed << " " << a << " " << b;
            Seed_Random(seed);
            EXPECT_FLOAT_EQ(Random_Unit(), static_cast<float>(n % 16284) * 6.140997e-05f);
        }

    Seed_Random(5);
    float largest_range = 0.0f, largest_unit = 0.0f;
    for (int i = 0; i < 1000000; ++i)
    {
        const float r = Random_Range(0.0f, 1.0f);
        const float u = Random_Unit();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        ASSERT_GE(u, 0.0f);
        ASSERT_LT(u, 1.0f);
        largest_range = r > largest_range ? r : largest_range;
        largest_unit = u > largest_unit ? u : largest_unit;
    }
    EXPECT_EQ(largest_range, 16283.0f * 6.140997e-05f);
    EXPECT_EQ(largest_unit, 16283.0f * 6.140997e-05f);
}

TEST(Random_Test, ColoursAreTheSevenInTheirOrderWithFullAlpha)
{
    const Colour order[7] = {COLOUR_RED,  COLOUR_GREEN,   COLOUR_BLUE, COLOUR_YELLOW,
                             COLOUR_CYAN, COLOUR_MAGENTA, COLOUR_WHITE};
    std::set<int> seen;
    Seed_Random(9);
    for (int i = 0; i < 1000; ++i)
    {
        const uint32_t state = Random_State();
        const int n = Random_Int() % 7;
        Seed_Random(state);
        const Colour c = Random_Colour();
        ASSERT_EQ(c.r, order[n].r) << n;
        ASSERT_EQ(c.g, order[n].g) << n;
        ASSERT_EQ(c.b, order[n].b) << n;
        ASSERT_EQ(c.a, 1.0f);
        seen.insert(n);
    }
    EXPECT_EQ(seen.size(), 7u);
}
} // namespace
