// Replacing a file whole: the new bytes go to a temporary file beside it, which is then renamed over the
// old one, so that a crash or a full disk leaves either the old file or the new one, never a cut one.
#pragma once
#include <cstddef>

// The file goes where the program keeps what it writes (engine/core/user_folder.h): beside the program, or
// in the player's folder. False (and the old file untouched) when the bytes could not all be written.
bool Replace_File(const char* file_name, const void* data, size_t size);
