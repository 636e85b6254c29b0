// Command pipe: runs a command line through /bin/sh and reads its standard output as text.
#pragma once
#include <cstddef>
#include <functional>

namespace platform
{
struct Command_Result
{
    bool started = false;  // the shell could be started
    bool complete = false; // the output was read to its end
    int exit_code = -1;    // the command's exit status (128 + signal when a signal ended it)
};

// Hands the output to on_piece in pieces of at most piece_size - 1 characters; a piece ends at a line end
// (kept) or when it is full. After max_pieces pieces the rest is not read: the pipe is closed, which ends
// a command that keeps writing, and the result is not complete.
Command_Result Run_Command(const char* command, size_t piece_size, int max_pieces,
                           const std::function<void(const char*)>& on_piece);
} // namespace platform
