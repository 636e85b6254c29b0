// In-place buffer mapping on OpenGL: glMapBufferRange with buffer invalidation is the GL form of a
// write-discard map. Draws already queued keep the storage they read; the mapping gets fresh storage.
#include "platform/gpu_buffer_map.h"

#include <epoxy/gl.h>

namespace platform
{
void* Map_Buffer_In_Place(const Gpu_Buffer* buffer)
{
    if (!buffer || buffer->Name() == 0 || buffer->Size() == 0)
        return nullptr;
    // The copy-write target belongs to no draw state, so mapping through it disturbs no binding.
    glBindBuffer(GL_COPY_WRITE_BUFFER, buffer->Name());
    void* data = glMapBufferRange(GL_COPY_WRITE_BUFFER, 0, static_cast<GLsizeiptr>(buffer->Size()),
                                  GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_BUFFER_BIT);
    glBindBuffer(GL_COPY_WRITE_BUFFER, 0);
    return data;
}

void Unmap_Buffer_In_Place(const Gpu_Buffer* buffer)
{
    if (!buffer || buffer->Name() == 0)
        return;
    glBindBuffer(GL_COPY_WRITE_BUFFER, buffer->Name());
    glUnmapBuffer(GL_COPY_WRITE_BUFFER);
    glBindBuffer(GL_COPY_WRITE_BUFFER, 0);
}
} // namespace platform
