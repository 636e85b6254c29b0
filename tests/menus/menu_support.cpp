// Helpers for the menu and controls tests: working folder, stand-in art, grabs and their layout.
#include "menu_support.h"

#include "platform/image_file.h"

#include <sys/wait.h>

#include <cstdio>
#include <sstream>

namespace fs = std::filesystem;

namespace menu_test
{
Working_Folder::Working_Folder() : m_previous(fs::current_path())
{
    fs::current_path(m_folder.Path());
}

Working_Folder::~Working_Folder()
{
    std::error_code ignored;
    fs::current_path(m_previous, ignored);
}

bool Build_Menu_Art(const fs::path& data_folder, std::string& output)
{
    const std::string command = std::string("'") + MENU_TEST_ASSET_BUILDER + "' '" + MENU_TEST_ART + "' '" +
                                data_folder.string() + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return false;
    char buffer[512];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, n);
    const int status = pclose(pipe);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool Picture::Load(const std::string& path)
{
    const std::string bytes = test_support::Read_File(path);
    // A JPEG still being written has no end marker yet.
    const bool jpeg = bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
                      static_cast<unsigned char>(bytes[1]) == 0xD8;
    if (jpeg && (static_cast<unsigned char>(bytes[bytes.size() - 2]) != 0xFF ||
                 static_cast<unsigned char>(bytes.back()) != 0xD9))
        return false;
    platform::Decoded_Image image;
    if (bytes.empty() ||
        !platform::Decode_Image(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), image))
        return false;
    width = static_cast<int>(image.desc.width);
    height = static_cast<int>(image.desc.height);
    rgba = std::move(image.bytes);
    return rgba.size() >= static_cast<size_t>(width) * height * 4;
}

bool Is_White(const unsigned char* p)
{
    return p[0] > 190 && p[1] > 190 && p[2] > 190;
}

bool Is_Green(const unsigned char* p)
{
    return p[0] < 90 && p[1] > 170 && p[2] < 90;
}

bool Is_Blue(const unsigned char* p)
{
    return p[0] < 90 && p[1] < 90 && p[2] > 170;
}

bool Is_Yellow(const unsigned char* p)
{
    return p[0] > 170 && p[1] > 170 && p[2] < 90;
}

bool Is_Magenta(const unsigned char* p)
{
    return p[0] > 170 && p[1] < 90 && p[2] > 170;
}

Page_Layout Read_Page(const Picture& picture)
{
    Page_Layout page;
    constexpr int ROWS = 7;
    for (int row = 0; row < ROWS; ++row)
    {
        const float top = 0.57f + 0.06f * static_cast<float>(row);
        // The bar spans the whole width: look at both edges, clear of the panel and the touch overlay.
        const float y0 = top + 0.01f, y1 = top + 0.035f;
        const int green =
            picture.Count(0.005f, y0, 0.04f, y1, Is_Green) + picture.Count(0.96f, y0, 0.995f, y1, Is_Green);
        const int area = picture.Count(0.005f, y0, 0.04f, y1, [](const unsigned char*) { return true; }) * 2;
        if (area > 0 && green * 4 > area)
            page.cursor_row = page.cursor_row == -1 ? row : -2;
        page.text_rows.push_back(picture.Count(0.3f, top + 0.005f, 0.7f, top + 0.055f, Is_White) >= 20);
    }
    page.heading = picture.Count(0.35f, 0.46f, 0.65f, 0.54f, Is_White) >= 40;
    for (int x = 0; x < 50 && page.heading && page.heading_left < 0; ++x)
    {
        const float x0 = static_cast<float>(x) * 0.01f;
        if (picture.Count(x0, 0.46f, x0 + 0.01f, 0.54f, Is_White) >= 3)
            page.heading_left = x;
    }
    page.title = picture.Count(0.45f, 0.2f, 0.55f, 0.25f, Is_Magenta) * 2 >
                 picture.Count(0.45f, 0.2f, 0.55f, 0.25f, [](const unsigned char*) { return true; });
    page.panel = picture.Count(0.21f, 0.857f, 0.26f, 0.868f, Is_Blue) * 2 >
                 picture.Count(0.21f, 0.857f, 0.26f, 0.868f, [](const unsigned char*) { return true; });
    page.version = picture.Count(0.93f, 0.0f, 1.0f, 0.035f, Is_White) >= 10;
    page.stars = picture.Count(0.0f, 0.0f, 1.0f, 1.0f, Is_Yellow) >= 20;
    return page;
}

std::string Page_Layout::Describe() const
{
    std::ostringstream text;
    text << "cursor row " << cursor_row << ", text rows";
    for (bool row : text_rows)
        text << ' ' << (row ? 'T' : '.');
    text << (heading ? ", heading from " + std::to_string(heading_left) : std::string(", no heading"))
         << (title ? ", title" : ", no title") << (panel ? ", panel" : ", no panel")
         << (version ? ", version" : ", no version") << (stars ? ", stars" : ", no stars");
    return text.str();
}
} // namespace menu_test
