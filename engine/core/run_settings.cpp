// The process's run settings and the two process facts the entry point needs for its options.
#include "engine/core/run_settings.h"

#include "platform/process.h"

Vorta_Run_Settings g_vorta_run;

const char* Launch_Directory()
{
    return platform::Launch_Directory();
}

int64_t Resident_Memory_Kb()
{
    return platform::Resident_Memory_Kb();
}
