// Sprite: construction, the texture, cell and matrix tables, and the frame pool.
#include "engine/render/sprite.h"

#include "engine/core/vorta_log.h"
#include "platform/gpu_buffer_map.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace
{
// Replaces *table (of *count entries) by a table of n entries, copying the first min(old, n) and making
// the rest with `fill`. A count outside 0..Sprite::MAX_TABLE or a failed allocation keeps the old table.
template <typename T> void Resize_Table(T*& table, int& count, int n, const T& fill)
{
    if (n < 0 || n > Sprite::MAX_TABLE)
        return;
    T* fresh = nullptr;
    if (n > 0)
    {
        fresh = new (std::nothrow) T[n];
        if (!fresh)
            return;
        const int kept = std::min(count, n);
        for (int i = 0; i < n; ++i)
            fresh[i] = i < kept ? table[i] : fill;
    }
    delete[] table;
    table = fresh;
    count = n;
}
} // namespace

Sprite::Sprite(Vorta_Window* window) : m_window(window) {}

Sprite::~Sprite()
{
    Release_Buffers();
    delete[] m_matrices;
    delete[] m_cells;
    delete[] m_textures;
    delete[] m_name;
}

void Sprite::Create_Textures(int n)
{
    Resize_Table<Texture*>(m_textures, m_texture_count, n, nullptr);
}

void Sprite::Create_Cells(int n)
{
    Resize_Table(m_cells, m_cell_count, n, Sprite_Cell{});
}

void Sprite::Create_Matrices(int n)
{
    const Matrix4 identity = Matrix_Identity();
    // Every matrix starts as identity, the kept ones included.
    Resize_Table(m_matrices, m_matrix_count, n, identity);
    for (int i = 0; i < m_matrix_count; ++i)
        m_matrices[i] = identity;
}

void Sprite::Set_Cell(int index, float u, float v, float w, float h)
{
    if (index < 0 || index >= m_cell_count)
        return;
    Sprite_Cell& cell = m_cells[index];
    cell = Sprite_Cell{};
    cell.u = u;
    cell.v = v;
    cell.flip_x = w < 0.0f;
    cell.flip_y = h < 0.0f;
    cell.width = std::fabs(w);
    cell.height = std::fabs(h);
    cell.aspect = cell.height != 0.0f ? cell.width / cell.height : 0.0f;
    float texture_width = 0.0f, texture_height = 0.0f;
    if (Texture_Size(0, texture_width, texture_height))
    {
        cell.pixel_width = cell.width * texture_width;
        cell.pixel_height = cell.height * texture_height;
    }
    cell.pixel_aspect = cell.pixel_height != 0.0f ? cell.pixel_width / cell.pixel_height : 0.0f;
    m_widest_cell = std::max(m_widest_cell, cell.pixel_width);
}

void Sprite::Set_Texture(int index, Texture* texture)
{
    if (index >= 0 && index < m_texture_count)
        m_textures[index] = texture;
}

Texture* Sprite::Get_Texture(int index) const
{
    return index >= 0 && index < m_texture_count ? m_textures[index] : nullptr;
}

const Sprite_Cell* Sprite::Get_Cell(int index) const
{
    return index >= 0 && index < m_cell_count ? &m_cells[index] : nullptr;
}

const Matrix4* Sprite::Get_Matrix(int index) const
{
    return index >= 0 && index < m_matrix_count ? &m_matrices[index] : nullptr;
}

int Sprite::Get_Frame()
{
    if (m_frames_in_use < m_frame_capacity)
        return m_frames_in_use++;
    Print_Message("No free frames in Sprite \"%s\"!!!\n", Texture_Name(0));
    return -1;
}

const Sprite_Cell* Sprite::Clamped_Cell(int cell) const
{
    if (m_cell_count <= 0)
        return nullptr;
    return &m_cells[std::clamp(cell, 0, m_cell_count - 1)];
}

void Sprite::Set_Frame(int frame, int cell, Vector2 position, Vector2 size, float rotation,
                       const Colour& colour, uint32_t flags)
{
    if (frame < 0 || frame >= m_frames_in_use)
        return;
    if (!m_mapped)
    {
        m_mapped = static_cast<Sprite_Vertex*>(platform::Map_Buffer_In_Place(m_vertex_buffer.get()));
        if (!m_mapped)
            return;
    }
    Write_Sprite_Quad(m_mapped + frame * 4, Clamped_Cell(cell), position, size, rotation, colour, flags,
                      Space());
}

void Sprite::Unmap()
{
    if (m_mapped)
        platform::Unmap_Buffer_In_Place(m_vertex_buffer.get());
    m_mapped = nullptr;
}
