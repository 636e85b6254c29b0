// Process facilities: the working directory, and SIGINT/SIGTERM as a request to quit.
#pragma once
#include <cstddef>

namespace platform
{
// Makes the folder that holds the running executable the working directory. False when it cannot.
bool Enter_Executable_Directory();
// The working directory into out (always terminated). False when it does not fit or cannot be read.
bool Current_Directory(char* out, size_t size);

// From now on SIGINT and SIGTERM raise the quit request instead of ending the process.
void Install_Quit_Signals();
// True once SIGINT or SIGTERM has arrived.
bool Quit_Signal_Received();
} // namespace platform
