// Fixtures of the play tests: a new game on an App without a window (rules of play, frame by frame on the
// test's own clock), and the same on a real 1920 x 1080 window with test sprites of known cell sizes and
// one colour a cell (rules that measure cells, drawing checked by pixels, real key presses).
#pragma once
#include "game/app/app.h"
#include "support/private_display.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

class Vorta_Engine;

class Player_Test : public ::testing::Test
{
  protected:
    void SetUp() override;
    void TearDown() override;

    // A one-player game (two players when asked) on a plain floor, with no objects, the pilot standing at
    // x 10 and the buggy at x 20.
    void New_Game(bool one_player = true);
    // One frame of 1/60 s: the play update, then the drawing (which makes the ground contact).
    void Step(int frames = 1);
    // Moves the clock on without a frame.
    static void Advance(float seconds);
    // An object in the current player's table, resting on the ground (0.925) unless its state is given.
    Game_Object& Add_Object(int32_t type, float x, float y, int32_t state = OBJECT_RESTING);

    Player_Record& P() { return *app->player; }

    std::unique_ptr<App> app;
};

// The real window and sprites; tests skip without a display.
class Player_Window_Test : public Player_Test
{
  protected:
    static constexpr int WIDTH = 1920;
    static constexpr int HEIGHT = 1080;

    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // The play field as Render draws it in the play states, onto a cleared back buffer, read back.
    void Draw_Play_Field();
    // One pass of the main loop with the App as the window's game (input, Update, Render, present).
    void Frame_Pass();
    // Red, green, blue of a pixel of what was read back (x from the left, y from the top).
    uint32_t Pixel(int x, int y) const;
    // Whether any pixel of the rows y0..y1 has exactly this colour (0xRRGGBB).
    bool Row_Has(int y0, int y1, uint32_t rgb) const;

    static Vorta_Engine* engine;
    static Vorta_Window* window;
    static test_support::Scratch_Folder* folder;
    // A display of the suite's own, so that no other test's window takes the keyboard focus.
    static test_support::Private_Display* display;
    std::vector<uint8_t> pixels;
};

// The colours of the test sprites' cells (0xRRGGBB): cell c of the sprite with id s.
uint32_t Test_Cell_Colour(int sprite, int cell);
