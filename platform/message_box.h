// Message box and the debugger mirror of the log.
#pragma once

namespace platform
{
// Shows text in a warning box with the caption and waits for the person to close it. With no display, or
// in a test or CI run (VORTA5_HEADLESS or CI set), writes the caption and text to standard error and
// returns at once. Returns 1, the value of the box's OK button.
int Show_Message_Box(const char* text, const char* caption);

// True when no message box may wait for a person.
bool Headless_Run();

// Mirrors a log line to the debugger output: standard error.
void Debug_Output(const char* text);
} // namespace platform
