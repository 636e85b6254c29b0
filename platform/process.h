// Process facilities: the working directory, SIGINT/SIGTERM as a request to quit, resident memory and the
// drivers of a headless run.
#pragma once
#include <cstddef>
#include <cstdint>

namespace platform
{
// Makes the folder that holds the running executable the working directory. False when it cannot.
bool Enter_Executable_Directory();
// The working directory as it was before Enter_Executable_Directory changed it (the current one when it was
// never called); empty when it could not be read.
const char* Launch_Directory();
// The working directory into out (always terminated). False when it does not fit or cannot be read.
bool Current_Directory(char* out, size_t size);

// From now on SIGINT and SIGTERM raise the quit request instead of ending the process.
void Install_Quit_Signals();
// True once SIGINT or SIGTERM has arrived.
bool Quit_Signal_Received();

// The process's resident set in kilobytes; 0 when it cannot be read.
int64_t Resident_Memory_Kb();
// From now on windows open on the video driver without a screen and sound goes to drivers without
// speakers, and message boxes never wait (for a run with no one watching). Call before the first window.
void Use_Headless_Drivers();
} // namespace platform
