// The kinds of source the builder turns into data files. Each takes one source file and adds the files
// it makes to the outputs; on a mistake in the source it fails the file with the line and the reason.
#pragma once
#include "source_file.h"

#include <map>
#include <string>
#include <vector>

namespace assets
{
// Files made from the sources: path relative to the data folder -> contents.
using Outputs = std::map<std::string, std::vector<unsigned char>>;

// `name` is the source's path relative to the assets folder without its extension
// ("textures/resource/shadow").
void Build_Picture(Source_File& source, const std::string& name, Outputs& outputs); // .pic -> .png [+ .spr]
void Build_Font(Source_File& source, const std::string& name, Outputs& outputs);    // .font -> .png + .spr
void Build_Sound(Source_File& source, const std::string& name, Outputs& outputs);   // .sfx -> .wav
void Build_Song(Source_File& source, const std::string& name, Outputs& outputs);    // .song -> .xm

// The texture name a sprite in data/textures asks for: the path below "textures/".
std::string Texture_Name(const std::string& name);
std::vector<unsigned char> Bytes(const std::string& text);
} // namespace assets
