// Helpers for tests: scratch folders and whole-file reads.
#pragma once
#include <filesystem>
#include <string>

namespace test_support
{
// A fresh, empty folder under the system's temporary folder, removed again by the destructor.
class Scratch_Folder
{
  public:
    Scratch_Folder();
    ~Scratch_Folder();
    const std::filesystem::path& Path() const { return m_path; }
    std::string File(const char* name) const { return (m_path / name).string(); }

  private:
    std::filesystem::path m_path;
};

// A scratch folder that is the working directory while it lives. The process log writes "sys_log.txt" in
// the working directory, and every test process empties the one beside the executable when it starts: a
// test that reads the log back needs a folder of its own.
class Working_Folder : public Scratch_Folder
{
  public:
    Working_Folder();
    ~Working_Folder();

  private:
    std::filesystem::path m_previous;
};

// The whole file as text; empty when it cannot be read.
std::string Read_File(const std::string& path);
void Write_File(const std::string& path, const std::string& text);
} // namespace test_support
