// A scratch folder made the working directory for a test, with data/sounds/ in it.
#pragma once
#include "support/sound_fixtures.h"
#include "support/test_files.h"

#include <filesystem>

class Sound_Folder
{
  public:
    Sound_Folder() : m_previous(std::filesystem::current_path())
    {
        std::filesystem::create_directories(m_folder.Path() / "data" / "sounds");
        std::filesystem::current_path(m_folder.Path());
    }
    ~Sound_Folder() { std::filesystem::current_path(m_previous); }
    // Writes data/sounds/<name>.
    void Put(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        test_support::Write_Bytes(Sound_Path(name), bytes);
    }
    std::string Sound_Path(const std::string& name) const { return m_folder.File("data/sounds/") + name; }
    std::string File(const char* name) const { return m_folder.File(name); }

  private:
    test_support::Scratch_Folder m_folder;
    std::filesystem::path m_previous;
};

// Stands in for a window handle where no window is needed.
inline const void* Test_Window()
{
    static const char handle = 0;
    return &handle;
}
