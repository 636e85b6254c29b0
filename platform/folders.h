// Folders of the file system: whether the program may write into one, the player's data home and making a
// folder with every parent it lacks.
#pragma once
#include <cstddef>

namespace platform
{
// True when this process may create files in the folder.
bool Folder_Writable(const char* path);
// The player's data home into out: $XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share
// (the home folder from the user database when HOME is not set). False when there is none or it does not fit.
bool Data_Home(char* out, size_t size);
// Makes the folder and the parents it lacks (new ones readable by their owner only). True when the folder
// exists afterwards.
bool Make_Folders(const char* path);
// The size of the regular file at the path; -1 when there is none.
long long File_Size(const char* path);
} // namespace platform
