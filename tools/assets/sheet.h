// The contact sheet of a data folder's sprites (vorta5-assets sheet).
#pragma once
#include <string>

namespace assets
{
// Draws every sprite script under DATA/textures (the engine's own resources too when `with_engine`) with
// its cells into a PNG at `out_path`. The exit code: 0, or 1 and 2 after a message.
int Make_Sheet(const std::string& data_folder, const std::string& out_path, bool with_engine);
} // namespace assets
