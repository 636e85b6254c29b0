// Entry point of Kestrova Reboot: engine, game, main loop, teardown. Exit codes: 0 after a normal run,
// 1 when the engine cannot be created (or a fatal error box), 2 when the engine's start-up fails, 3 when the
// command line's options or their files cannot be used, 4 when a replay ended before its end.
// Without options the program runs as it always has; the options (--help lists them) record, replay and
// trace games on the fixed-step clock.
#include "engine/core/user_folder.h"
#include "engine/core/vorta_engine.h"
#include "game/app/app.h"
#include "game/app/run_options.h"
#include "game/app/run_session.h"

#include <cstdio>
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

    Run_Options options;
    std::string error;
    if (!Parse_Run_Options(argc, argv, options, error))
    {
        std::fprintf(stderr, "kestrova: %s\n\n%s", error.c_str(), Run_Usage());
        return 3;
    }
    if (options.help)
    {
        std::fputs(Run_Usage(), stdout);
        return 0;
    }
    Run_Session session(options);
    if (options.Any() && !session.Prepare(error))
    {
        std::fprintf(stderr, "kestrova: %s\n", error.c_str());
        return 3;
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
    int code = 0;
    if (options.Any())
        session.Configure(*g_app);
    g_app->Initialize();
    if (options.Any() && !session.Start(*g_app, error))
    {
        std::fprintf(stderr, "kestrova: %s\n", error.c_str());
        code = 3;
    }
    else
    {
        engine->Main_Loop();
        if (options.Any())
            code = session.Finish();
    }

    delete g_app;
    g_app = nullptr;
    engine->Shutdown();
    delete engine;
    return code;
}
