// Entry point of Kestrova Reboot: engine, game, main loop, teardown. Exit codes: 0 after a normal run,
// 1 when the engine cannot be created (or a fatal error box), 2 when the engine's start-up fails.
#include "engine/core/user_folder.h"
#include "engine/core/vorta_engine.h"
#include "game/app/app.h"

#include <new>
#include <string>

int main(int argc, char** argv)
{
    // An installed game keeps its settings, controls, hiscores, log and grabs in the player's folder.
    Use_User_Folder("kestrova-reboot");

    std::string command_line;
    for (int i = 1; i < argc; ++i)
    {
        if (i > 1)
            command_line += ' ';
        command_line += argv[i];
    }

    Vorta_Engine* engine = new (std::nothrow) Vorta_Engine();
    if (!engine)
        return 1;
    if (!engine->Init(command_line.c_str(), "config.txt"))
    {
        delete engine;
        return 2;
    }
    engine->Create_Device(0);

    g_app = new (std::nothrow) App();
    if (!g_app)
    {
        delete engine;
        return 1;
    }
    g_app->Initialize();
    engine->Main_Loop();

    delete g_app;
    g_app = nullptr;
    engine->Shutdown();
    delete engine;
    return 0;
}
