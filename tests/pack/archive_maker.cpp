// Making test archives with 7z.
#include "archive_maker.h"

#include <cstdio>
#include <filesystem>
#include <sys/wait.h>

namespace pack_test
{
std::string Make_Archive(const test_support::Scratch_Folder& folder, const std::string& archive_name,
                         const std::string& options, const std::vector<Member_File>& files)
{
    namespace fs = std::filesystem;
    fs::path source = folder.Path() / ("src-" + archive_name);
    fs::create_directories(source);
    std::string paths;
    for (const Member_File& file : files)
    {
        fs::path path = source / file.path;
        if (!file.path.empty() && file.path.back() == '/')
            fs::create_directories(path);
        else
        {
            fs::create_directories(path.parent_path());
            test_support::Write_File(path.string(), file.bytes);
        }
        std::string relative = file.path;
        if (!relative.empty() && relative.back() == '/')
            relative.pop_back();
        paths += " '" + relative + "'";
    }
    std::string archive = (folder.Path() / archive_name).string();
    std::string command = "cd '" + source.string() + "' && 7z a -t7z -bd " + options + " '" + archive + "'" +
                          paths + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0 ? archive : "";
}

std::string Sample_Bytes(size_t size, unsigned seed, bool text)
{
    std::string bytes;
    bytes.reserve(size);
    uint32_t state = seed * 2654435761u + 1;
    while (bytes.size() < size)
    {
        state = state * 1664525u + 1013904223u;
        if (text)
            bytes.push_back(static_cast<char>("abcdefgh \n{}0123"[(state >> 24) & 15]));
        else if ((state >> 28) == 0)
            bytes.push_back(static_cast<char>(0xE8)); // call rel32
        else
            bytes.push_back(static_cast<char>(state >> 24));
    }
    return bytes;
}

std::string Command_Output(const std::string& command, int& status)
{
    std::string output;
    status = -1;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return output;
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0)
        output.append(buffer, got);
    int result = pclose(pipe);
    status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    return output;
}
} // namespace pack_test
