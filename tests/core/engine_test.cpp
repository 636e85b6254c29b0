// Vorta_Engine and Vorta_Window on a real display: window slots, viewports, and the main loop's end.
#include "engine/core/vorta_callbacks.h"
#include "engine/core/vorta_engine.h"
#include "engine/core/vorta_log.h"
#include "engine/core/vorta_viewport.h"
#include "engine/core/vorta_window.h"
#include "platform/os_window.h"
#include "support/requirements.h"

#include <gtest/gtest.h>

namespace
{
class EngineTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        if (!test_support::Have_Display())
            VORTA5_SKIP() << "no display to open windows on";
        g_vorta_log.Set_Flags(LOG_FILE);
        engine = new Vorta_Engine();
        ASSERT_EQ(g_vorta_engine, engine);
        ASSERT_TRUE(engine->Init("", "config.txt"));
        ASSERT_TRUE(engine->Get_Window_Class().Registered()) << platform::Last_Window_Error();
        ASSERT_NE(engine->Create_Device(0), nullptr);
    }
    void TearDown() override
    {
        delete engine;
        EXPECT_EQ(g_vorta_engine, nullptr);
    }
    Vorta_Window* Open(int width = 320, int height = 180)
    {
        return engine->Create_Window(0, 0, width, height, false, 60, false, false, "engine test");
    }

    Vorta_Engine* engine = nullptr;
};

TEST_F(EngineTest, SeventhWindowIsRefusedAndChangesNothing)
{
    Vorta_Window* windows[6];
    for (int i = 0; i < 6; ++i)
    {
        windows[i] = Open();
        ASSERT_NE(windows[i], nullptr);
        EXPECT_EQ(windows[i]->Get_Slot(), i);
        EXPECT_TRUE(windows[i]->Is_Open());
    }
    EXPECT_EQ(Open(), nullptr);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(engine->Get_Window(i), windows[i]);
    engine->Shutdown();
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(engine->Get_Window(i), nullptr);
}

TEST_F(EngineTest, FullWindowViewportHasTheWindowsAspect)
{
    Vorta_Window* window = Open(1280, 720);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Get_Viewport(-1), nullptr);
    Vorta_Viewport* viewport = window->Get_Viewport(0);
    ASSERT_NE(viewport, nullptr);
    EXPECT_EQ(window->Get_Viewport(-1), viewport);
    EXPECT_EQ(window->Get_Viewport(0), viewport);
    viewport->Set_Position(0.0f, 0.0f);
    viewport->Set_Size(1.0f, 1.0f);
    EXPECT_FLOAT_EQ(viewport->Get_Aspect(), 0.5625f);
    EXPECT_EQ(window->Get_Camera(0), nullptr);
}

// Counts the calls and asks for the end of the loop in the given Update.
class Counting_Game : public Vorta_Callbacks
{
  public:
    enum class Ending
    {
        close_window,
        request_quit
    };
    Counting_Game(Vorta_Engine* engine, Ending ending, int stop_at)
        : engine(engine), ending(ending), stop_at(stop_at)
    {
    }
    void Update(Vorta_Window* window) override
    {
        EXPECT_EQ(window->Get_Viewport(-1)->Get_Callbacks(), this);
        if (++updates == stop_at)
        {
            if (ending == Ending::close_window)
                platform::Post_Close(window->Get_Os_Window());
            else
                engine->Request_Quit();
        }
    }
    void Render(Vorta_Window*) override { ++renders; }

    Vorta_Engine* engine;
    Ending ending;
    int stop_at;
    int updates = 0;
    int renders = 0;
};

class EngineLoopTest : public EngineTest, public ::testing::WithParamInterface<Counting_Game::Ending>
{
};

TEST_P(EngineLoopTest, CloseRequestOrQuitEndsTheLoopAfterTheCurrentPass)
{
    Vorta_Window* window = Open();
    ASSERT_NE(window, nullptr);
    window->Set_Lock(false);
    Counting_Game game(engine, GetParam(), 3);
    window->Get_Viewport(0)->Set_Callbacks(&game);
    window->Set_Callbacks(&game);
    engine->Main_Loop();
    EXPECT_TRUE(engine->Quit_Requested());
    EXPECT_EQ(game.updates, 3);
    EXPECT_EQ(game.renders, 3);
}

INSTANTIATE_TEST_SUITE_P(Endings, EngineLoopTest,
                         ::testing::Values(Counting_Game::Ending::close_window,
                                           Counting_Game::Ending::request_quit));

TEST_F(EngineTest, KeepsTheCommandLineAndTheTextureFolder)
{
    Vorta_Engine other;
    EXPECT_EQ(other.Get_Command_Line(), nullptr);
    ASSERT_TRUE(other.Init("-window test", "config.txt"));
    EXPECT_STREQ(other.Get_Command_Line(), "-window test");
    EXPECT_STREQ(other.Get_Texture_Path(), "data/textures/");
    EXPECT_TRUE(other.Get_MSAA());
    EXPECT_EQ(other.Create_Device(4), nullptr);
    EXPECT_EQ(other.Get_CPU_Load(), 0);
}

TEST(ViewportDeathTest, InvalidViewportIndexEndsTheProgramWithTheErrorBox)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Vorta_Window window(nullptr, 0);
    EXPECT_EXIT(window.Get_Viewport(4), ::testing::ExitedWithCode(1),
                "Error!!!: Vorta_Window::Get_Viewport - Invalid viewport index");
    EXPECT_EXIT(window.Get_Camera(1), ::testing::ExitedWithCode(1),
                "Error!!!: Vorta_Window::Get_Camera - Invalid viewport index");
    window.Get_Viewport(1);
    EXPECT_EXIT(window.Get_Camera(4), ::testing::ExitedWithCode(1), "Get_Camera - Invalid viewport index");
}
} // namespace
