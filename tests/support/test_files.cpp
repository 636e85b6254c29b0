// Scratch folders and file helpers for tests.
#include "support/test_files.h"

#include <fstream>
#include <random>
#include <sstream>

namespace test_support
{
Scratch_Folder::Scratch_Folder()
{
    std::random_device random;
    for (;;)
    {
        m_path = std::filesystem::temp_directory_path() / ("vorta5-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(m_path))
            break;
    }
}

Scratch_Folder::~Scratch_Folder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

Working_Folder::Working_Folder() : m_previous(std::filesystem::current_path())
{
    std::filesystem::current_path(Path());
}

Working_Folder::~Working_Folder()
{
    std::error_code ignored;
    std::filesystem::current_path(m_previous, ignored);
}

std::string Read_File(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void Write_File(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}
} // namespace test_support
