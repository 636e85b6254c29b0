// Window_Icon: the picture's bytes through Text_File (pack first, then disk), decoded by the image layer.
#include "engine/core/window_icon.h"

#include "engine/core/text_file.h"
#include "engine/core/vorta_log.h"
#include "platform/image_file.h"

#include <cstring>

bool Window_Icon::Load(const char* file_name)
{
    m_pixels.clear();
    m_image = platform::Icon_Image{};
    if (!file_name)
        return false;
    Print_Message("Window icon \"%s\"...", file_name);
    Text_File file;
    platform::Decoded_Image decoded;
    if (!file.Load(file_name) || !platform::Decode_Image(file.Get_Data(), file.Get_Size(), decoded) ||
        decoded.desc.format != platform::GPU_FORMAT_R8G8B8A8_UNORM || decoded.desc.width == 0 ||
        decoded.desc.height == 0 || decoded.desc.width > 1024 || decoded.desc.height > 1024)
    {
        Print_Message("Failed\n");
        return false;
    }
    const size_t count = static_cast<size_t>(decoded.desc.width) * decoded.desc.height;
    if (decoded.bytes.size() < count * 4)
    {
        Print_Message("Failed\n");
        return false;
    }
    // R, G, B, A in memory order, as the icon wants them.
    m_pixels.resize(count);
    std::memcpy(m_pixels.data(), decoded.bytes.data(), count * 4);
    m_image.width = static_cast<int>(decoded.desc.width);
    m_image.height = static_cast<int>(decoded.desc.height);
    m_image.pixels = m_pixels.data();
    Print_Message("OK\n");
    return true;
}
