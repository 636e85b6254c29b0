// The key-state rule, dead zones, and a controller taking device readings.
#include "engine/input/controller.h"
#include "engine/input/key_state.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
TEST(KeyStateTest, HeldCountsUpAndTheReleaseCarriesTheCountForOnePoll)
{
    Key_State key;
    const bool polls[] = {true, true, true, false, false, true, false};
    const uint32_t held[] = {1, 2, 3, 0, 0, 1, 0};
    const uint32_t released[] = {0, 0, 0, 3, 0, 0, 1};
    for (int i = 0; i < 7; ++i)
    {
        key.Update(polls[i]);
        EXPECT_EQ(key.held, held[i]) << "poll " << i;
        EXPECT_EQ(key.released, released[i]) << "poll " << i;
        EXPECT_EQ(key.Pressed(), held[i] == 1);
        EXPECT_EQ(key.Released(), released[i] != 0);
    }
}

TEST(KeyStateTest, HeldStopsAtTheTopOfItsRange)
{
    Key_State key{0xFFFFFFFEu, 0};
    key.Update(true);
    key.Update(true);
    EXPECT_EQ(key.held, 0xFFFFFFFFu);
    key.Update(false);
    EXPECT_EQ(key.released, 0xFFFFFFFFu);
}

TEST(DeadZoneTest, ZoneClearsTheCentreAndStretchesTheRest)
{
    struct Case
    {
        float x, zone, expected;
    };
    const Case cases[] = {
        {0.1f, 0.15f, 0.0f},  {-0.1f, 0.15f, 0.0f}, {0.575f, 0.15f, 0.5f}, {-0.575f, 0.15f, -0.5f},
        {0.15f, 0.15f, 0.0f}, {1.0f, 0.15f, 1.0f},  {-1.0f, 0.15f, -1.0f}, {0.3f, 0.0f, 0.3f},
        {-0.7f, 0.0f, -0.7f}, {0.9f, 1.0f, 0.0f},   {1.0f, 1.0f, 0.0f},    {-1.0f, 2.0f, 0.0f},
    };
    for (const Case& c : cases)
    {
        float out = Apply_Dead_Zone(c.x, c.zone);
        EXPECT_FALSE(std::isnan(out));
        EXPECT_NEAR(out, c.expected, 1e-6f) << "x " << c.x << " zone " << c.zone;
    }
}

TEST(ControllerTest, ReadingsMapOntoTheAxisOrderButtonsAndHat)
{
    DX_Controller pad(nullptr);
    EXPECT_EQ(pad.Get_Axis_Count(), 8);
    EXPECT_EQ(pad.Get_POV(), -1);
    for (int i = 0; i < 8; ++i)
        EXPECT_FLOAT_EQ(pad.Get_Dead_Zone(i), 0.15f);

    platform::Joystick_Reading reading;
    // Each field off centre by a different amount: 32768 + 4096 * (k + 1) reads (k + 1) / 8 before the zone.
    int32_t* fields[8] = {&reading.x,         &reading.y,         &reading.z,  &reading.rz,
                          &reading.slider[0], &reading.slider[1], &reading.rx, &reading.ry};
    for (int k = 0; k < 8; ++k)
    {
        *fields[k] = 32768 + 4096 * (k + 1) - (k == 7 ? 1 : 0);
        pad.Set_Dead_Zone(k, 0.0f);
    }
    reading.pov[0] = 9000;
    pad.Apply(reading);
    for (int k = 0; k < 8; ++k)
        EXPECT_NEAR(pad.Get_Axis(k), (k + 1) / 8.0f, 1e-4f) << "axis " << k;
    EXPECT_EQ(pad.Get_POV(), 9000);
    EXPECT_EQ(pad.Get_POV_Held(), 1u);
    pad.Apply(reading);
    EXPECT_EQ(pad.Get_POV_Held(), 2u);
    reading.pov[0] = -1;
    pad.Apply(reading);
    EXPECT_EQ(pad.Get_POV(), -1);
    EXPECT_EQ(pad.Get_POV_Held(), 0u);

    // The low end of the range is full deflection the other way.
    reading.x = 0;
    pad.Set_Dead_Zone(0, 0.15f);
    pad.Apply(reading);
    EXPECT_FLOAT_EQ(pad.Get_Axis(0), -1.0f);

    // Out of range indices read as nothing and writes to them are ignored; a negative zone is no zone.
    pad.Set_Axis(8, 1.0f);
    pad.Set_Dead_Zone(-1, 0.5f);
    pad.Set_Dead_Zone(1, -0.5f);
    EXPECT_EQ(pad.Get_Axis(8), 0.0f);
    EXPECT_EQ(pad.Get_Axis(-1), 0.0f);
    EXPECT_EQ(pad.Get_Dead_Zone(1), 0.0f);
    EXPECT_FALSE(pad.Button_Pressed(0)); // a controller without a device has no buttons
    EXPECT_EQ(pad.Button_Held(40), 0u);
}

TEST(ControllerTest, BaseBehaviourAndTheNameLimit)
{
    struct Plain : Controller
    {
        void Poll() override {}
    } plain;
    EXPECT_EQ(plain.Get_Axis(0), 0.0f);
    EXPECT_EQ(plain.Get_Button_Count(), 0);
    EXPECT_EQ(plain.Get_POV(), 0);
    Orientation_Matrix m = plain.Get_Orientation();
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(m.m[r][c], r == c ? 1.0f : 0.0f);
    std::string long_name(300, 'x');
    plain.Set_Name(long_name.c_str());
    EXPECT_EQ(std::string(plain.Get_Name()), std::string(255, 'x'));
}
} // namespace
