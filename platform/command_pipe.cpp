// Command pipe on popen and pclose.
#include "platform/command_pipe.h"

#include <cstdio>
#include <sys/wait.h>
#include <vector>

namespace platform
{
Command_Result Run_Command(const char* command, size_t piece_size, int max_pieces,
                           const std::function<void(const char*)>& on_piece)
{
    Command_Result result;
    if (!command || piece_size < 2)
        return result;
    std::fflush(nullptr);
    FILE* pipe = popen(command, "r");
    if (!pipe)
        return result;
    result.started = true;
    std::vector<char> piece(piece_size);
    int pieces = 0;
    while (pieces < max_pieces && std::fgets(piece.data(), static_cast<int>(piece_size), pipe))
    {
        on_piece(piece.data());
        ++pieces;
    }
    // Output that ends exactly at the limit is still complete.
    if (pieces >= max_pieces && !std::feof(pipe) && std::fgetc(pipe) != EOF)
        result.complete = false;
    else
        result.complete = std::feof(pipe) != 0 && !std::ferror(pipe);
    int status = pclose(pipe);
    if (status == -1)
        result.exit_code = -1;
    else if (WIFEXITED(status))
        result.exit_code = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result.exit_code = 128 + WTERMSIG(status);
    return result;
}
} // namespace platform
