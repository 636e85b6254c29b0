// Sprite: a texture table, a cell table and a fixed pool of quads drawn as one batch; also a bitmap font.
#pragma once
#include "engine/render/matrix.h"
#include "engine/render/sprite_quad.h"
#include "engine/render/sprite_types.h"

#include <cstdint>
#include <memory>

class Vorta_Window;
class D3D_SwapChain;
namespace platform
{
class Gpu_Buffer;
}
class Texture;
class Text_File;

class Sprite
{
  public:
    // Counts a script may ask for; a larger count is refused like a failed allocation.
    static constexpr int MAX_TABLE = 1 << 16;
    static constexpr int MAX_FRAMES = 1 << 18;

    explicit Sprite(Vorta_Window* window);
    Sprite(const Sprite&) = delete;
    Sprite& operator=(const Sprite&) = delete;
    ~Sprite();

    // Reads "<texture path><name>.spr" (pack first, then disk). False only when the script cannot be
    // read; every other problem is reported and skipped.
    bool Initialize(const char* name);
    // Builds the sprite from a script that is already loaded; `file_name` names it in error boxes.
    void Read_Script(Text_File& file, const char* file_name);

    // Buffers for n quads. False (and no frames at all) when they cannot be made.
    bool Create_Frames(int n);
    // Resize the tables, keeping the first entries; new entries are empty.
    void Create_Textures(int n);
    void Create_Cells(int n);
    void Create_Matrices(int n);
    // A cell in texture coordinates; a negative extent is stored positive and marks a flip.
    void Set_Cell(int index, float u, float v, float w, float h);
    // Asks the texture manager for the texture. False when the manager fails; an index outside the
    // table is ignored and counts as success.
    bool Load_Texture(int index, const char* file_name);
    void Set_Texture(int index, Texture* texture);

    // The next free frame, or -1 (with a log line) when all are taken.
    int Get_Frame();
    void Clear_Frames() { m_frames_in_use = 0; }
    // Writes one quad into a frame taken since the last clear.
    void Set_Frame(int frame, int cell, Vector2 position, Vector2 size, float rotation, const Colour& colour,
                   uint32_t flags);
    // Draws every frame in use with one draw call. False when there is nothing to draw.
    bool Draw(Vector2 position, Vector2 scale, float rotation, int texture, uint32_t flags,
              const Colour& colour, float depth, Vector2 shader_vector);

    // Text: one frame per visible character. The pen and the colour are moved on by the text.
    void Print(Vector2& pen, float height, Colour& colour, uint32_t flags, const char* text);
    void Print_In_Box(Vector2 position, Vector2 size, float height, Colour colour, uint32_t flags,
                      const char* text);
    float Text_Width(const char* text, float height, bool pixels, bool fixed) const;
    // A nine-cell box from cells 0-8 (or 9-17 with the second set).
    void Draw_Box(bool second_set, Vector2 position, Vector2 size, Vector2 border, const Colour& colour);

    int Get_Cell_Count() const { return m_cell_count; }
    // The cell's natural size on screen in normalised units; (0,0) for an unknown texture or cell.
    Vector2 Get_Cell_Size(int texture, int cell) const;

    const char* Get_Name() const { return m_name ? m_name : ""; }
    int Get_Frames_In_Use() const { return m_frames_in_use; }
    int Get_Frame_Capacity() const { return m_frame_capacity; }
    int Get_Texture_Count() const { return m_texture_count; }
    Texture* Get_Texture(int index) const;
    const Sprite_Cell* Get_Cell(int index) const;
    float Get_Base_Line() const { return m_base_line; }
    float Get_Centre_Line() const { return m_centre_line; }
    float Get_Top_Line() const { return m_top_line; }
    float Get_Bottom_Line() const { return m_bottom_line; }
    float Get_Widest_Cell() const { return m_widest_cell; }
    float Get_Fixed_Width() const { return m_fixed_width; }
    int Get_Matrix_Count() const { return m_matrix_count; }
    const Matrix4* Get_Matrix(int index) const;

  private:
    friend class Sprite_Script;

    // Size of the bound render target and the current viewport's aspect.
    Quad_Space Space() const;
    D3D_SwapChain* Swap_Chain() const;
    float Text_Scale(float height, float target_height) const;
    const Sprite_Cell* Clamped_Cell(int cell) const;
    // Pixel size of a loaded texture slot; false when the slot is empty or out of range.
    bool Texture_Size(int index, float& width, float& height) const;
    // Name of a loaded texture slot; "" when there is none.
    const char* Texture_Name(int index) const;
    void Unmap();
    void Release_Buffers();

    Vorta_Window* m_window;
    char* m_name = nullptr;
    int m_frames_in_use = 0;
    int m_frame_capacity = 0;
    std::unique_ptr<platform::Gpu_Buffer> m_vertex_buffer; // capacity x 4 vertices, written in place
    std::unique_ptr<platform::Gpu_Buffer> m_index_buffer;  // capacity x 6 indices, filled once
    Sprite_Vertex* m_mapped = nullptr;
    int m_texture_count = 0;
    Texture** m_textures = nullptr; // borrowed from the texture manager
    int m_cell_count = 0;
    Sprite_Cell* m_cells = nullptr;
    float m_base_line = 0.0f;
    float m_centre_line = 0.0f;
    float m_top_line = 0.0f;
    float m_bottom_line = 0.0f;
    float m_widest_cell = 0.0f;
    float m_fixed_width = -1.0f;
    int m_matrix_count = 0;
    Matrix4* m_matrices = nullptr;
};
