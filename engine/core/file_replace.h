// Replacing a file whole: the new bytes go to a temporary file beside it, which is then renamed over the
// old one, so that a crash or a full disk leaves either the old file or the new one, never a cut one.
#pragma once
#include <cstddef>

// False (and the old file untouched) when the bytes could not all be written.
bool Replace_File(const char* file_name, const void* data, size_t size);
