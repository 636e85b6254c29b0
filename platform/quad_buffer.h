// The GPU buffers of one sprite batch: a dynamic vertex buffer of quads x 4 vertices (36 bytes each:
// position, texture coordinate, colour) that is mapped with write-discard and written in place, and an index
// buffer of two triangles per quad that is filled once. Needs the renderer's GL context to be current.
#pragma once
#include <cstddef>

namespace platform
{
class Quad_Buffer
{
  public:
    static constexpr int VERTEX_BYTES = 36;

    Quad_Buffer() = default;
    Quad_Buffer(const Quad_Buffer&) = delete;
    Quad_Buffer& operator=(const Quad_Buffer&) = delete;
    ~Quad_Buffer() { Release(); }

    // Buffers for `quads` quads, the vertices zero-filled; releases any earlier ones first. False (and
    // nothing held) when the device refuses them.
    bool Create(int quads);
    void Release();
    bool Valid() const { return m_vertex_array != 0; }
    int Quads() const { return m_quads; }

    // A CPU pointer to all the vertices; the previous contents are discarded. Null when there are no
    // buffers or the map fails.
    void* Map();
    void Unmap();
    bool Mapped() const { return m_mapped; }

    // Makes this batch's vertex layout and index buffer the ones that the next indexed draw reads.
    void Bind() const;

  private:
    unsigned m_vertex_array = 0;
    unsigned m_vertex_buffer = 0;
    unsigned m_index_buffer = 0;
    size_t m_vertex_bytes = 0;
    int m_quads = 0;
    bool m_mapped = false;
};
} // namespace platform
