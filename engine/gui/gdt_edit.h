// Gdt_Edit: a one-line text entry with a cursor. Typed keys go through the host's character table
// (with shift and caps lock); the buffer has a fixed capacity.
#pragma once
#include "engine/gui/gdt_click.h"

#include <string>

class Gdt_Edit : public Gdt_Click
{
  public:
    static constexpr int DEFAULT_CAPACITY = 100;

    explicit Gdt_Edit(Intuition* manager, int capacity = DEFAULT_CAPACITY);

    bool Update() override;
    void Refresh_Text() override;

    // The text is cut to the capacity; the cursor goes to its end.
    void Set_Text(const char* text);
    const char* Get_Text() const { return m_buffer.c_str(); }
    int Get_Length() const { return static_cast<int>(m_buffer.size()); }
    void Clear() { Set_Text(""); }
    int Get_Cursor() const { return m_cursor; }
    void Set_Cursor(int cursor);
    int Get_Capacity() const { return m_capacity; }

    // Editing as the keys do it. Insert is ignored when the buffer is full.
    bool Insert(char c);
    void Backspace();
    void Delete();

  private:
    // True when a key went down in this frame or repeats while held.
    static bool Typed(uint32_t held);
    void Read_Keys(Gui_Host* host);
    // What one typed key does: edit, move the cursor or insert its character.
    void Take_Key(Gui_Host* host, int code, bool shift, bool caps);

    int m_capacity;
    std::string m_buffer;
    int m_cursor = 0;
    bool m_changed = true;
};
