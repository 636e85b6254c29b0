// The gadget toolkit: drawing modes, text rebuild, buttons, edit fields, windows and the manager.
#include "fake_host.h"

#include "engine/gui/gdt_edit.h"
#include "engine/gui/gdt_window.h"
#include "engine/gui/intuition.h"

#include <gtest/gtest.h>

namespace
{
Gadget_Graphics Box_Graphics(int mode = GADGET_BOX, Gui_Vec2 parameter = {0.01f, 0.01f})
{
    return {"resource/bas_relief", mode, {}, parameter};
}

// One frame of the manager.
void Frame(Intuition& gui)
{
    gui.Update();
    gui.Draw();
}

// Presses and lets go at a point over two frames.
void Click(Fake_Host& host, Intuition& gui, Gui_Vec2 at)
{
    host.Mouse_Down(at);
    Frame(gui);
    host.Mouse_Up(at);
    Frame(gui);
    host.Mouse_Idle();
}

struct Mode_Case
{
    int mode;
    Gui_Vec2 size;
    Gui_Vec2 parameter;
    int quads;
    Gui_Vec2 quad_size;
    int boxes;
};

TEST(GadgetTest, GraphicsAreRebuiltForEachDrawingMode)
{
    const Mode_Case cases[] = {
        {GADGET_TILED, {0.35f, 0.2f}, {0.1f, 0.1f}, 6, {0.35f / 3, 0.1f}, 0}, // 3 columns of 2 rows
        {GADGET_TILED, {0.05f, 0.05f}, {0.1f, 0.1f}, 1, {0.05f, 0.05f}, 0},   // smaller than a tile
        {GADGET_STRETCHED, {0.3f, 0.2f}, {}, 1, {0.3f, 0.2f}, 0},
        {GADGET_BOX, {0.3f, 0.2f}, {0.01f, 0.02f}, 0, {}, 1},
    };
    for (const Mode_Case& c : cases)
    {
        Fake_Host host;
        Intuition gui(&host);
        Gadget gadget(&gui);
        gadget.Set_Rect(0.1f, 0.1f, c.size.x, c.size.y);
        ASSERT_TRUE(gadget.Load_Graphics(Box_Graphics(c.mode, c.parameter)));
        gadget.Draw();
        gadget.Draw(); // not dirty: drawn again without a rebuild
        Fake_Sprite* sprite = Fake(gadget.Get_Graphics_Sprite());
        EXPECT_EQ(static_cast<int>(sprite->quads.size()), c.quads) << c.mode;
        EXPECT_EQ(static_cast<int>(sprite->boxes.size()), c.boxes) << c.mode;
        if (c.quads)
        {
            EXPECT_NEAR(sprite->quads.back().size.x, c.quad_size.x, 1e-6) << c.mode;
            EXPECT_NEAR(sprite->quads.back().size.y, c.quad_size.y, 1e-6) << c.mode;
        }
        if (c.boxes)
        {
            EXPECT_FLOAT_EQ(sprite->boxes[0].border.y, 0.02f);
            EXPECT_FALSE(sprite->boxes[0].second_set);
        }
        // Quads are relative to the gadget, which is drawn at its position.
        ASSERT_EQ(sprite->draws.size(), 2u);
        EXPECT_FLOAT_EQ(sprite->draws[0].x, 0.1f);
    }
}

TEST(GadgetTest, SetUpRulesAndMissingSprites)
{
    Fake_Host host;
    Intuition gui(&host);
    Gadget gadget(&gui);
    gadget.Set_Name("Probe");
    gadget.Set_Rect(0.1f, 0.2f, 0.3f, 0.4f);
    gadget.Set_Rect(0.5f, 0.6f, -1.0f, 0.7f);
    EXPECT_FLOAT_EQ(gadget.Get_Size().x, 0.3f);
    EXPECT_FLOAT_EQ(gadget.Get_Size().y, 0.7f);

    // A script that cannot be loaded leaves the gadget without that sprite; it still works.
    EXPECT_FALSE(gadget.Load_Graphics({"missing/box", GADGET_BOX, {}, {}}));
    EXPECT_FALSE(gadget.Load_Font("missing/font", {}, 0.03f, 2, 0));
    gadget.Set_Line(1, "kept");
    gadget.Set_Line(2, "beyond the line count");
    EXPECT_STREQ(gadget.Get_Line(1), "kept");
    EXPECT_EQ(gadget.Get_Line_Count(), 2);
    gadget.Draw();
    EXPECT_FALSE(gadget.Update());
}

TEST(GadgetTest, TextLinesFillBandsAndTheFocusedLineShowsItsCursor)
{
    Fake_Host host;
    Intuition gui(&host);

    Gadget lines(&gui);
    lines.Set_Rect(0.0f, 0.0f, 0.5f, 0.3f);
    lines.Load_Font("resource/arial", {}, 0.03f, 3, GUI_LEFT | GUI_TOP);
    lines.Set_Line(0, "one");
    lines.Set_Line(2, "three");
    lines.Set_Caption({0.0f, -0.02f}, {}, 0.025f, "Caption");
    lines.Draw();
    Fake_Sprite* font = Fake(lines.Get_Font_Sprite());
    ASSERT_EQ(font->printed.size(), 4u); // three bands and the caption
    EXPECT_EQ(font->printed[2].text, "three");
    EXPECT_NEAR(font->printed[2].pen.y, 0.2f, 1e-6);
    EXPECT_EQ(font->printed[3].text, "Caption");
    EXPECT_EQ(font->printed[3].flags, 6u);

    lines.Set_Shown_Line(2);
    lines.Draw();
    ASSERT_EQ(font->printed.size(), 2u);
    EXPECT_EQ(font->printed[0].text, "three");

    Gdt_Edit edit(&gui);
    edit.Set_Rect(0.1f, 0.5f, 0.5f, 0.05f);
    edit.Load_Font("resource/arial", {}, 0.03f, 1, GUI_LEFT | GUI_CENTRE);
    edit.Set_Text("abcd");
    edit.Set_Cursor(2);
    edit.Refresh_Text();
    gui.Set_Focus(&edit);
    edit.Draw();
    font = Fake(edit.Get_Font_Sprite());
    ASSERT_EQ(font->printed.size(), 2u);
    EXPECT_EQ(font->printed[1].text, "_");
    EXPECT_NEAR(font->printed[1].pen.x, 0.02f, 1e-6); // two characters of 0.01 in

    // Losing the focus rebuilds the old focus without its cursor.
    gui.Set_Focus(nullptr);
    ASSERT_EQ(font->printed.size(), 1u);
    EXPECT_EQ(font->printed[0].text, "abcd");
}

TEST(GadgetTest, ButtonShowsPressedCellAndClicksOnReleaseOverIt)
{
    Fake_Host host;
    Intuition gui(&host);
    Gdt_Click button(&gui);
    button.Set_Rect(0.1f, 0.1f, 0.1f, 0.1f);
    button.Load_Graphics(Box_Graphics());

    host.Mouse_Down({0.15f, 0.15f});
    EXPECT_TRUE(button.Update());
    EXPECT_EQ(button.Get_Cell(), 1);
    EXPECT_FALSE(button.Was_Clicked());
    button.Draw();
    EXPECT_TRUE(Fake(button.Get_Graphics_Sprite())->boxes[0].second_set);
    host.Mouse_Down({0.2f, 0.2f}); // the corner counts as inside
    button.Update();
    EXPECT_EQ(button.Get_Held_Frames(), 2u);
    host.Mouse_Up({0.2f, 0.2f});
    EXPECT_TRUE(button.Update());
    EXPECT_TRUE(button.Was_Clicked());
    EXPECT_EQ(button.Get_Cell(), 0);
    host.Mouse_Idle();
    button.Update();
    EXPECT_FALSE(button.Was_Clicked());

    // Pressed, then dragged off before letting go: no click.
    host.Mouse_Down({0.15f, 0.15f});
    button.Update();
    host.Mouse_Down({0.5f, 0.5f});
    button.Update();
    EXPECT_EQ(button.Get_Cell(), 0);
    host.Mouse_Up({0.15f, 0.15f});
    button.Update();
    EXPECT_FALSE(button.Was_Clicked());
}

TEST(GadgetTest, EditTypesWithShiftAndCapsLockUpToItsCapacity)
{
    Fake_Host host;
    Intuition gui(&host);
    Gdt_Edit edit(&gui, 5);
    edit.Set_Rect(0.0f, 0.0f, 0.5f, 0.05f);

    host.Tap(35); // h: no focus yet, nothing typed
    edit.Update();
    EXPECT_STREQ(edit.Get_Text(), "");

    host.Hold({});
    host.Mouse_Down({0.1f, 0.01f}); // a press on it takes the focus
    edit.Update();
    host.Mouse_Idle();
    EXPECT_EQ(gui.Get_Focus(), &edit);

    struct Key
    {
        int code;
        bool shift, caps;
    };
    for (Key key : {Key{35, true, false}, Key{18, false, true}, Key{38, true, true}, Key{38, false, false},
                    Key{2, true, false}, Key{24, false, false}})
    {
        host.shift = key.shift;
        host.caps_lock = key.caps;
        host.Hold({}); // let go of the previous key
        edit.Update();
        host.Tap(key.code);
        edit.Update();
    }
    EXPECT_STREQ(edit.Get_Text(), "HELl!"); // the sixth key finds the buffer full

    host.Hold({});
    edit.Update();
    host.Tap(203); // left
    edit.Update();
    host.Hold({});
    edit.Update();
    host.Tap(14); // backspace removes the character before the cursor
    edit.Update();
    EXPECT_STREQ(edit.Get_Text(), "HEL!");
    EXPECT_EQ(edit.Get_Cursor(), 3);

    // A held key repeats after half a second.
    host.Hold({});
    edit.Update();
    for (int frame = 0; frame < 36; ++frame)
    {
        host.Hold({14});
        edit.Update();
    }
    EXPECT_STREQ(edit.Get_Text(), "!");

    host.Tap(28); // Return
    edit.Update();
    EXPECT_TRUE(edit.Was_Clicked());
    edit.Refresh_Text();
    EXPECT_STREQ(edit.Get_Line(0), "!");
    EXPECT_EQ(edit.Get_Cursor_Column(), 0);
}

class WindowTest : public ::testing::Test
{
  protected:
    // A window with a title, client, back button and one button child covering its client.
    Gdt_Window* Make_Window(const char* name, float x, float y)
    {
        Gdt_Window* window = new Gdt_Window(&gui);
        window->Set_Name(name);
        window->Set_Rect(x, y, 0.4f, 0.4f);
        window->Add_Title(0.04f, Box_Graphics(), "resource/arial", 0.035f, {}, name);
        window->Add_Client(Box_Graphics());
        window->Add_Back(Box_Graphics(), 0.025f, 0.0075f);
        Gdt_Click* button = new Gdt_Click(&gui);
        button->Set_Rect(0.0f, 0.0f, 0.4f, 0.4f);
        window->Add_Child(button);
        gui.Add(window);
        return window;
    }
    Gdt_Click* Button_Of(Gdt_Window* window) { return static_cast<Gdt_Click*>(window->Get_Child(0)); }
    bool Clicked_In(Gdt_Window* window, Gui_Vec2 at)
    {
        host.Mouse_Down(at);
        Frame(gui);
        host.Mouse_Up(at);
        gui.Update();
        bool clicked = Button_Of(window)->Was_Clicked();
        gui.Draw();
        host.Mouse_Idle();
        return clicked;
    }

    Fake_Host host;
    Intuition gui{&host};
};

TEST_F(WindowTest, ClickInTheOverlapOfTwoOpaqueWindowsReachesOnlyTheFrontOne)
{
    Gdt_Window* back = Make_Window("Back", 0.1f, 0.1f);
    Gdt_Window* front = Make_Window("Front", 0.3f, 0.3f);
    back->Set_Depth(1);
    front->Set_Depth(2);
    Gui_Vec2 overlap{0.4f, 0.45f};
    Gui_Vec2 back_only{0.15f, 0.2f};

    host.Mouse_Down(overlap);
    Frame(gui);
    host.Mouse_Up(overlap);
    gui.Update();
    EXPECT_TRUE(Button_Of(front)->Was_Clicked());
    EXPECT_FALSE(Button_Of(back)->Was_Clicked());
    gui.Draw();
    host.Mouse_Idle();

    EXPECT_TRUE(Clicked_In(back, back_only));
    // The client of the back window is in front of its own children in nothing: its child still clicks.
    front->Set_Hidden(true);
    EXPECT_TRUE(Clicked_In(back, overlap));
}

TEST_F(WindowTest, BackButtonSendsTheFrontWindowBehindEveryOther)
{
    Gdt_Window* a = Make_Window("A", 0.1f, 0.1f);
    Gdt_Window* b = Make_Window("B", 0.2f, 0.2f);
    Gdt_Window* c = Make_Window("C", 0.3f, 0.3f);
    a->Set_Depth(5);
    b->Set_Depth(3);
    c->Set_Depth(10);
    // Where the back button belongs: 0.025 square (across scaled by the aspect), inset 0.0075 from the title
    // bar's right end; C spans 0.3 to 0.7 across from 0.3 down.
    Click(host, gui, {0.7f - (0.0075f + 0.0125f) * host.aspect, 0.3f + 0.0075f + 0.0125f});
    EXPECT_LT(c->Get_Depth(), b->Get_Depth());
    EXPECT_EQ(c->Get_Depth(), 2);
    gui.Update();
    EXPECT_EQ(gui.Get_Sorted(0), a);
    EXPECT_EQ(gui.Get_Sorted(2), c);

    gui.Raise(b);
    EXPECT_EQ(b->Get_Depth(), 6);
}

TEST_F(WindowTest, DecorationsAreAddedOnceAndNamedAfterTheWindow)
{
    Gdt_Window* window = Make_Window("Tools", 0.1f, 0.1f);
    Gadget* title = window->Get_Title();
    EXPECT_FALSE(window->Add_Title(0.1f, Box_Graphics(), "resource/arial", 0.03f, {}, "Again"));
    EXPECT_FALSE(window->Add_Client(Box_Graphics()));
    EXPECT_FALSE(window->Add_Back(Box_Graphics(), 0.03f, 0.01f));
    EXPECT_TRUE(window->Add_Close(Box_Graphics(), 0.025f, 0.0075f));
    EXPECT_FALSE(window->Add_Close(Box_Graphics(), 0.025f, 0.0075f));
    EXPECT_EQ(window->Get_Title(), title);
    EXPECT_FLOAT_EQ(window->Get_Title_Height(), 0.04f);
    EXPECT_STREQ(title->Get_Line(0), "Tools");
    EXPECT_STREQ(window->Get_Close()->Get_Name(), "Tools - Close");
    EXPECT_STREQ(window->Get_Back()->Get_Name(), "Tools - Back");

    // Close at the left end, back at the right end, both inset and scaled across by the aspect.
    float aspect = host.aspect;
    EXPECT_NEAR(window->Get_Close()->Get_Rect().x, 0.1f + 0.0075f * aspect, 1e-6);
    EXPECT_NEAR(window->Get_Back()->Get_Rect().x, 0.5f - 0.0325f * aspect, 1e-6);
    EXPECT_NEAR(window->Get_Back()->Get_Rect().w, 0.025f * aspect, 1e-6);
    // Children sit in the client area, under the title.
    EXPECT_NEAR(Button_Of(window)->Get_Rect().y, 0.14f, 1e-6);
}

TEST_F(WindowTest, DraggingTheTitleMovesTheWholeWindowAndRaisesIt)
{
    Gdt_Window* other = Make_Window("Other", 0.6f, 0.6f);
    Gdt_Window* window = Make_Window("Moved", 0.1f, 0.1f);
    other->Set_Depth(4);
    window->Set_Depth(1);
    host.Mouse_Down({0.2f, 0.12f});
    Frame(gui);
    host.Mouse_Down({0.3f, 0.32f});
    Frame(gui);
    EXPECT_NEAR(window->Get_Position().x, 0.2f, 1e-6);
    EXPECT_NEAR(window->Get_Position().y, 0.3f, 1e-6);
    EXPECT_NEAR(window->Get_Title()->Get_Position().y, 0.3f, 1e-6);
    EXPECT_NEAR(window->Get_Client()->Get_Position().y, 0.34f, 1e-6);
    EXPECT_NEAR(Button_Of(window)->Get_Position().x, 0.2f, 1e-6);
    EXPECT_NEAR(window->Get_Back()->Get_Position().y, 0.3075f, 1e-6);
    EXPECT_GT(window->Get_Depth(), other->Get_Depth());
    host.Mouse_Up({0.3f, 0.32f});
    Frame(gui);
    host.Mouse_Idle();
    Frame(gui);
    EXPECT_NEAR(window->Get_Position().x, 0.2f, 1e-6);
}

TEST_F(WindowTest, MinimiseCollapsesTheWindowToItsTitleBar)
{
    Gdt_Window* window = Make_Window("Small", 0.1f, 0.1f);
    window->Add_Minimise(Box_Graphics(), 0.025f, 0.0075f);
    Gui_Rect minimise = window->Get_Minimise()->Get_Rect();
    EXPECT_NEAR(minimise.x, window->Get_Back()->Get_Rect().x - 1.5f * 0.025f * host.aspect, 1e-6);
    Click(host, gui, {minimise.x + 0.001f, minimise.y + 0.001f});
    EXPECT_TRUE(window->Is_Collapsed());
    EXPECT_TRUE(Button_Of(window)->Is_Collapsed());

    // Collapsed: the child neither clicks nor draws, and only the title hides what lies behind.
    Fake_Sprite* client = Fake(window->Get_Client()->Get_Graphics_Sprite());
    size_t client_draws = client->draws.size();
    EXPECT_FALSE(Clicked_In(window, {0.3f, 0.3f}));
    EXPECT_EQ(client->draws.size(), client_draws);
    gui.Update();
    EXPECT_FALSE(gui.Is_Excluded({0.3f, 0.3f}));
    EXPECT_TRUE(gui.Is_Excluded({0.3f, 0.12f}));
}

TEST(IntuitionTest, ExclusionListSkipsContainedRectanglesAndHoldsAHundred)
{
    Fake_Host host;
    Intuition gui(&host);
    gui.Exclude({0.0f, 0.0f, 0.5f, 0.5f});
    gui.Exclude({0.1f, 0.1f, 0.2f, 0.2f}); // inside the first
    gui.Exclude({0.0f, 0.0f, 0.5f, 0.5f}); // the same again
    EXPECT_EQ(gui.Get_Exclusion_Count(), 1);
    gui.Exclude({0.4f, 0.4f, 0.2f, 0.2f}); // overlapping, not inside
    EXPECT_EQ(gui.Get_Exclusion_Count(), 2);
    for (int i = 0; i < 150; ++i)
        gui.Exclude({0.6f + i * 0.001f, 0.9f, 0.0005f, 0.0005f});
    EXPECT_EQ(gui.Get_Exclusion_Count(), Intuition::MAX_EXCLUSIONS);
    EXPECT_TRUE(gui.Is_Excluded({0.5f, 0.5f}));
    EXPECT_FALSE(gui.Is_Excluded({0.7f, 0.1f}));
    gui.Update();
    EXPECT_EQ(gui.Get_Exclusion_Count(), 0);
}

TEST(IntuitionTest, SortsByDepthAndUpdatesOnlyTheCapturedGadget)
{
    Fake_Host host;
    Intuition gui(&host);
    EXPECT_EQ(gui.Get_Sorted_Count(), 0);
    Gadget* empty_raise = new Gadget(&gui);
    gui.Raise(empty_raise); // nothing managed yet
    EXPECT_EQ(empty_raise->Get_Depth(), 1);
    gui.Lower(empty_raise);
    EXPECT_EQ(empty_raise->Get_Depth(), -1);
    delete empty_raise;

    Gdt_Click* low = new Gdt_Click(&gui);
    Gdt_Click* high = new Gdt_Click(&gui);
    low->Set_Rect(0.0f, 0.0f, 0.2f, 0.2f);
    high->Set_Rect(0.0f, 0.0f, 0.2f, 0.2f);
    low->Set_Depth(-5);
    high->Set_Depth(7);
    gui.Add(low);
    gui.Add(high);
    EXPECT_EQ(low->Get_Id(), 0);
    EXPECT_EQ(high->Get_Id(), 1);
    gui.Update();
    ASSERT_EQ(gui.Get_Sorted_Count(), 2);
    EXPECT_EQ(gui.Get_Sorted(0), high);

    gui.Set_Capture(low);
    host.Mouse_Down({0.1f, 0.1f});
    gui.Update();
    EXPECT_EQ(low->Get_Held_Frames(), 1u);
    EXPECT_EQ(high->Get_Held_Frames(), 0u);
    EXPECT_EQ(gui.Get_Capture(), nullptr); // its update consumed the press, which ends the capture

    // A gadget that goes away leaves neither focus nor list behind.
    gui.Set_Focus(high);
    delete high;
    EXPECT_EQ(gui.Get_Focus(), nullptr);
    gui.Update();
    EXPECT_EQ(gui.Get_Sorted_Count(), 1);
}
} // namespace
