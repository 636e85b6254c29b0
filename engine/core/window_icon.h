// Window_Icon: a window icon read from a PNG (or any picture the image layer decodes) in the data pack,
// else on disk, kept in the form Vorta_Window::Set_Icon takes.
#pragma once
#include "platform/os_window.h"

#include <cstdint>
#include <vector>

class Window_Icon
{
  public:
    // Reads and decodes the picture; false (and an empty icon) when the file is in neither place or does
    // not decode. Logs "Window icon \"%s\"..." and the outcome.
    bool Load(const char* file_name);
    // The icon; 0 x 0 with no pixels until a Load succeeds, which Set_Icon leaves alone.
    const platform::Icon_Image& Get_Image() const { return m_image; }

  private:
    std::vector<uint32_t> m_pixels;
    platform::Icon_Image m_image;
};
