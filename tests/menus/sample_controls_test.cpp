// One frame of the controls from a pad and touch points (the keyboard's part is in menu_window_test.cpp):
// axis bindings, the press counters and their "changed in this frame" rule, the touch stick's catch radius
// and clamping, the touch buttons, and a pad that has been unplugged.
#include "engine/input/touch_state.h"
#include "engine/render/sprite.h"
#include "game/menus/controls.h"
#include "menu_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

using menu_test::Fake_Pad;

namespace
{
constexpr float ASPECT = 9.0f / 16.0f;

class SampleControlsTest : public ::testing::Test
{
  protected:
    menu_test::Working_Folder folder; // the controls record saves its file as it goes
};

TEST_F(SampleControlsTest, PadAxisBindings)
{
    struct Case
    {
        const char* what;
        int32_t x_binding, y_binding;
        int axis_count;
        float axes[8];
        float x, y;
    };
    const Case cases[] = {
        {"the defaults: axis 0, axis 1 inverted", 0, -1, 8, {0.5f, 0.25f}, 0.5f, -0.25f},
        {"-1 drives x from axis 1 inverted", -1, 0, 8, {0.5f, 0.25f}, -0.25f, 0.5f},
        {"-7 is the last axis inverted", -7, 7, 8, {0, 0, 0, 0, 0, 0, 0, -0.4f}, 0.4f, -0.4f},
        {"8 and beyond name no axis",
         8,
         100,
         8,
         {0.7f, 0.7f, 0.7f, 0.7f, 0.7f, 0.7f, 0.7f, 0.7f},
         0.0f,
         0.0f},
        {"the 32-bit limits name no axis", INT_MIN, INT_MAX, 8, {0.7f, 0.7f, 0.7f, 0.7f}, 0.0f, 0.0f},
        {"an axis the pad does not have", 2, -3, 2, {0.7f, 0.7f, 0.7f, 0.7f}, 0.0f, 0.0f},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        Fake_Pad pad(c.axis_count);
        for (int i = 0; i < 8; ++i)
            pad.Set_Axis(i, c.axes[i]);
        Controls controls;
        controls.pad = &pad;
        controls.bindings[BIND_PAD_X] = c.x_binding;
        controls.bindings[BIND_PAD_Y] = c.y_binding;
        Sample_Controls(controls, nullptr, nullptr, ASPECT);
        EXPECT_FLOAT_EQ(controls.x, c.x);
        EXPECT_FLOAT_EQ(controls.y, c.y);
    }
}

TEST_F(SampleControlsTest, PressCountersCountHeldFramesAndDropToZeroWhenLetGo)
{
    Fake_Pad pad;
    Controls controls;
    controls.pad = &pad;
    controls.bindings[BIND_PAD_FIRE] = 3;
    controls.bindings[BIND_PAD_USE] = 3; // one button may serve both
    const uint32_t held[] = {1, 2, 3, 0, 1, 0, 0};
    const int32_t fire[] = {1, 2, 3, 0, 1, 0, 0};
    for (size_t frame = 0; frame < std::size(held); ++frame)
    {
        pad.Set_Button(3, held[frame], 0);
        Sample_Controls(controls, nullptr, nullptr, ASPECT);
        EXPECT_EQ(controls.fire_frames, fire[frame]) << "frame " << frame;
        EXPECT_EQ(controls.use_frames, fire[frame]) << "frame " << frame;
        EXPECT_EQ(controls.Fire_Pressed(), fire[frame] == 1) << "frame " << frame;
    }

    // Buttons the pad does not have read as up.
    for (int32_t binding : {-1, 16, 40, INT_MIN})
    {
        controls.bindings[BIND_PAD_FIRE] = binding;
        pad.Set_Button(0, 1, 0);
        Sample_Controls(controls, nullptr, nullptr, ASPECT);
        EXPECT_EQ(controls.fire_frames, 0) << binding;
    }
}

TEST_F(SampleControlsTest, AnUnpluggedPadReadsAsLetGo)
{
    Fake_Pad pad;
    pad.Set_Axis(0, 0.9f);
    pad.Set_Axis(1, 0.9f);
    pad.Set_Button(0, 5, 0);
    Controls controls;
    controls.pad = &pad;
    Sample_Controls(controls, nullptr, nullptr, ASPECT);
    EXPECT_EQ(controls.fire_frames, 1);
    pad.attached = false; // its last state stays, stale
    Sample_Controls(controls, nullptr, nullptr, ASPECT);
    EXPECT_EQ(controls.x, 0.0f);
    EXPECT_EQ(controls.y, 0.0f);
    EXPECT_EQ(controls.fire_frames, 0);
    pad.attached = true;
    Sample_Controls(controls, nullptr, nullptr, ASPECT);
    EXPECT_EQ(controls.fire_frames, 1);
}

struct Touch_Case
{
    const char* what;
    std::vector<platform::Touch_Point> points;
    bool visible;
    float x, y;
    int32_t fire, use;
};

TEST_F(SampleControlsTest, TouchStickAndButtons)
{
    // The stick is at (0.1, 0.85) with radius 0.05 and catches touches up to 8 radii (0.4 screen heights)
    // away; distances across are measured in screen heights too (x offsets scaled by the aspect).
    const float r = ASPECT;
    const Touch_Case cases[] = {
        {"0.3 heights above the stick steers, clamped", {{0.1f, 0.55f}}, true, 0.0f, 1.0f, 0, 0},
        {"0.3 heights right of the stick steers, clamped",
         {{0.1f + 0.3f * r, 0.85f}},
         true,
         1.0f,
         0.0f,
         0,
         0},
        {"below and left, clamped", {{0.04f, 0.93f}}, true, -1.0f, -1.0f, 0, 0},
        {"near the centre, in proportion", {{0.12f, 0.86f}}, true, 0.4f, -0.2f, 0, 0},
        {"beyond the catch radius", {{0.1f, 0.85f - 0.41f}}, true, 0.0f, 0.0f, 0, 0},
        {"inside the dead zone", {{0.1f + 0.001f, 0.85f}}, true, 0.0f, 0.0f, 0, 0},
        {"on the fire button's edge", {{0.85f + 0.04f * r, 0.9f}}, true, 0.0f, 0.0f, 1, 0},
        {"just off the fire button", {{0.85f + 0.06f * r, 0.9f}}, true, 0.0f, 0.0f, 0, 0},
        {"the use button", {{0.925f, 0.9f + 0.03f}}, true, 0.0f, 0.0f, 0, 1},
        {"stick and fire together", {{0.1f, 0.55f}, {0.85f, 0.9f}}, true, 0.0f, 1.0f, 1, 0},
        {"two fingers on fire count twice", {{0.85f, 0.9f}, {0.86f, 0.9f}}, true, 0.0f, 0.0f, 2, 0},
        {"the last finger on the stick wins", {{0.1f, 0.55f}, {0.1f, 0.86f}}, true, 0.0f, -0.2f, 0, 0},
        {"the overlay hidden, touch still works", {{0.1f, 0.55f}, {0.925f, 0.9f}}, false, 0.0f, 1.0f, 0, 1},
    };
    for (const Touch_Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        Touch_State touch;
        touch.Set(c.points.data(), static_cast<int>(c.points.size()));
        Controls controls;
        controls.touch_sprite = new Sprite(nullptr);
        controls.touch_visible = c.visible;
        Sample_Controls(controls, nullptr, &touch, ASPECT);
        EXPECT_NEAR(controls.x, c.x, 1e-5f);
        EXPECT_NEAR(controls.y, c.y, 1e-5f);
        EXPECT_EQ(controls.fire_frames, c.fire);
        EXPECT_EQ(controls.use_frames, c.use);
    }

    // Without the touch sprite there is no touch input at all.
    Touch_State touch;
    const platform::Touch_Point fire = {0.85f, 0.9f};
    touch.Set(&fire, 1);
    Controls controls;
    Sample_Controls(controls, nullptr, &touch, ASPECT);
    EXPECT_EQ(controls.fire_frames, 0);
}

// A press made on two sources in the same frame advances the counter by two, so that press is never seen
// as "pressed in this frame".
TEST_F(SampleControlsTest, TwoSourcesHeldTogetherCountTwiceAFrame)
{
    Fake_Pad pad;
    Touch_State touch;
    const platform::Touch_Point fire = {0.85f, 0.9f};
    touch.Set(&fire, 1);
    Controls controls;
    controls.pad = &pad;
    controls.touch_sprite = new Sprite(nullptr);
    const int32_t expected[] = {2, 4, 6};
    for (int frame = 0; frame < 3; ++frame)
    {
        pad.Set_Button(0, static_cast<uint32_t>(frame + 1), 0);
        Sample_Controls(controls, nullptr, &touch, ASPECT);
        EXPECT_EQ(controls.fire_frames, expected[frame]);
        EXPECT_FALSE(controls.Fire_Pressed());
    }
    pad.Set_Button(0, 0, 3);
    Sample_Controls(controls, nullptr, &touch, ASPECT);
    EXPECT_EQ(controls.fire_frames, 7);
    touch.Clear();
    Sample_Controls(controls, nullptr, &touch, ASPECT);
    EXPECT_EQ(controls.fire_frames, 0);
}
} // namespace
