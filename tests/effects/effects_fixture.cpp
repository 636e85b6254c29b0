// The effects tests' App, sprites and clock.
#include "effects_fixture.h"

#include "engine/core/vorta_log.h"
#include "engine/core/vorta_timer.h"
#include "game/play/random.h"

void Effects_Test::SetUp()
{
    // The App saves its files where it runs: here, a folder of the test's own.
    m_previous = std::filesystem::current_path();
    std::filesystem::current_path(m_folder.Path());
    g_vorta_log.Set_Flags(LOG_FILE);
    m_clock_start = g_vorta_clock.now;
    app = std::make_unique<App>();
    app->player->pilot_x = 50.0f;
    app->player->pilot_y = 0.5f;
    Seed_Random(2103);
}

void Effects_Test::TearDown()
{
    app.reset(); // deletes the sprites before their textures go
    g_vorta_clock.now = m_clock_start;
    std::filesystem::current_path(m_previous);
}

void Effects_Test::Give_Sprite(int id, int cells, float cell_width, float cell_height)
{
    m_textures[id] = std::make_unique<Sized_Texture>(cell_width * cells, cell_height);
    Sprite* sprite = new Sprite(nullptr);
    sprite->Create_Textures(1);
    sprite->Set_Texture(0, m_textures[id].get());
    sprite->Create_Cells(cells);
    for (int i = 0; i < cells; ++i)
        sprite->Set_Cell(i, static_cast<float>(i) / cells, 0.0f, 1.0f / cells, 1.0f);
    delete app->sprites[id];
    app->sprites[id] = sprite;
}

void Effects_Test::Next_Frame()
{
    // A tick over a sixtieth, so that a timer started with 1/60 s has run out after one frame whatever the
    // rounding of its length.
    g_vorta_clock.now += g_vorta_clock.frequency / 60 + 1;
}
