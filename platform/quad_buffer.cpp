// Sprite batch buffers on OpenGL: a vertex array object holding the 36-byte vertex layout (attributes 0
// position, 1 texture coordinate, 2 colour) and the index buffer; the vertex buffer is mapped with
// buffer invalidation, the GL form of a write-discard map.
#include "platform/quad_buffer.h"

#include <epoxy/gl.h>

#include <cstdint>
#include <new>

namespace platform
{
namespace
{
// Leaves no error of ours behind for the next caller to trip over, and tells whether there was one.
bool Gl_Failed()
{
    bool failed = false;
    while (glGetError() != GL_NO_ERROR)
        failed = true;
    return failed;
}
} // namespace

bool Quad_Buffer::Create(int quads)
{
    Release();
    if (quads <= 0)
        return false;
    const size_t vertex_bytes = static_cast<size_t>(quads) * 4 * VERTEX_BYTES;
    const size_t index_count = static_cast<size_t>(quads) * 6;
    if (static_cast<uint64_t>(quads) * 4 > UINT32_MAX)
        return false;

    uint32_t* indices = new (std::nothrow) uint32_t[index_count];
    uint8_t* zeros = new (std::nothrow) uint8_t[vertex_bytes]();
    if (!indices || !zeros)
    {
        delete[] indices;
        delete[] zeros;
        return false;
    }
    for (size_t n = 0; n < static_cast<size_t>(quads); ++n)
    {
        const uint32_t first = static_cast<uint32_t>(n * 4);
        uint32_t* out = indices + n * 6;
        out[0] = first;
        out[1] = first + 1;
        out[2] = first + 2;
        out[3] = first;
        out[4] = first + 2;
        out[5] = first + 3;
    }

    Gl_Failed();
    GLint old_array = 0, old_buffer = 0;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &old_array);
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &old_buffer);

    glGenVertexArrays(1, &m_vertex_array);
    glGenBuffers(1, &m_vertex_buffer);
    glGenBuffers(1, &m_index_buffer);
    glBindVertexArray(m_vertex_array);
    glBindBuffer(GL_ARRAY_BUFFER, m_vertex_buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertex_bytes), zeros, GL_DYNAMIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, VERTEX_BYTES, reinterpret_cast<const void*>(0));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, VERTEX_BYTES, reinterpret_cast<const void*>(12));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 4, GL_FLOAT, GL_FALSE, VERTEX_BYTES, reinterpret_cast<const void*>(20));
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_index_buffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(index_count * sizeof(uint32_t)), indices,
                 GL_STATIC_DRAW);

    glBindVertexArray(static_cast<GLuint>(old_array));
    glBindBuffer(GL_ARRAY_BUFFER, static_cast<GLuint>(old_buffer));
    delete[] indices;
    delete[] zeros;

    if (Gl_Failed())
    {
        Release();
        return false;
    }
    m_vertex_bytes = vertex_bytes;
    m_quads = quads;
    return true;
}

void Quad_Buffer::Release()
{
    if (m_vertex_array == 0 && m_vertex_buffer == 0 && m_index_buffer == 0)
        return;
    Unmap();
    if (m_vertex_array)
        glDeleteVertexArrays(1, &m_vertex_array);
    if (m_index_buffer)
        glDeleteBuffers(1, &m_index_buffer);
    if (m_vertex_buffer)
        glDeleteBuffers(1, &m_vertex_buffer);
    m_vertex_array = m_vertex_buffer = m_index_buffer = 0;
    m_vertex_bytes = 0;
    m_quads = 0;
}

void* Quad_Buffer::Map()
{
    if (!Valid())
        return nullptr;
    // The copy-write target is nobody's drawing state, so mapping here leaves every binding as it was.
    glBindBuffer(GL_COPY_WRITE_BUFFER, m_vertex_buffer);
    void* data = glMapBufferRange(GL_COPY_WRITE_BUFFER, 0, static_cast<GLsizeiptr>(m_vertex_bytes),
                                  GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_BUFFER_BIT);
    glBindBuffer(GL_COPY_WRITE_BUFFER, 0);
    m_mapped = data != nullptr;
    return data;
}

void Quad_Buffer::Unmap()
{
    if (!m_mapped)
        return;
    glBindBuffer(GL_COPY_WRITE_BUFFER, m_vertex_buffer);
    glUnmapBuffer(GL_COPY_WRITE_BUFFER);
    glBindBuffer(GL_COPY_WRITE_BUFFER, 0);
    m_mapped = false;
}

void Quad_Buffer::Bind() const
{
    glBindVertexArray(m_vertex_array);
}
} // namespace platform
