// Test archives made by the real 7z command from files written into a scratch folder.
#pragma once
#include "support/test_files.h"

#include <string>
#include <vector>

namespace pack_test
{
struct Member_File
{
    std::string path; // relative; a path ending in "/" is an empty folder
    std::string bytes;
};

// Writes the files under folder/src-<archive name> and runs "7z a <options> <archive> <paths...>" there,
// adding the paths in the order given. Returns the archive's full path, or "" when 7z failed.
std::string Make_Archive(const test_support::Scratch_Folder& folder, const std::string& archive_name,
                         const std::string& options, const std::vector<Member_File>& files);

// Bytes of a deterministic mix: text-like when `text`, else binary with x86 call instructions (so that
// the branch-converter filters have work to do).
std::string Sample_Bytes(size_t size, unsigned seed, bool text);

// Runs a shell command; its standard output, and its exit code in `status`.
std::string Command_Output(const std::string& command, int& status);
} // namespace pack_test
