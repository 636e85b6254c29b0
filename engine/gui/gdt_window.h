// Gdt_Window: a gadget list dressed as a window: title bar (dragged to move the window), client area,
// drop shadow, and close, back and minimise buttons. Children are placed in the client area.
#pragma once
#include "engine/gui/gadget_list.h"
#include "engine/gui/gdt_click.h"

class Gdt_Window : public Gadget_List
{
  public:
    static constexpr int START_DEPTH = -1000;

    explicit Gdt_Window(Intuition* manager);
    ~Gdt_Window() override;

    bool Update() override;
    void Draw() override;
    // Decorations take depths relative to the window's: title -2, client -1, shadow 0, buttons -3.
    void Set_Depth(int depth) override;
    // A window counts and collects as one gadget: it updates and draws its own parts.
    void Count(int& counter) const override { ++counter; }
    void Collect(Gadget_Array& array) override { Gadget::Collect(array); }
    void Set_Hidden(bool hidden) override;
    void Extend_Bounds(float& min_x, float& min_y, float& max_x, float& max_y) const override;
    void Layout() override;
    void Set_Collapsed(bool collapsed) override;
    // Child positions are given relative to the client area.
    void Add_Child(Gadget* child) override;
    void Follow_Title() override;

    // Each decoration is added once; a second call does nothing and returns false.
    bool Add_Title(float height, const Gadget_Graphics& graphics, const char* font, float font_size,
                   const Gui_Colour& text_colour, const char* text);
    bool Add_Client(const Gadget_Graphics& graphics);
    bool Add_Shadow(Gui_Vec2 offset, const Gadget_Graphics& graphics);
    // size and inset are given in height units; across they are scaled by the viewport's aspect.
    bool Add_Close(const Gadget_Graphics& graphics, float size, float inset);
    bool Add_Back(const Gadget_Graphics& graphics, float size, float inset);
    bool Add_Minimise(const Gadget_Graphics& graphics, float size, float inset);

    // Moves the window (and everything in it) to a new top-left corner.
    void Move_To(Gui_Vec2 position);

    Gadget* Get_Title() const { return m_title; }
    Gadget* Get_Client() const { return m_client; }
    Gadget* Get_Shadow() const { return m_shadow; }
    Gdt_Click* Get_Close() const { return m_close; }
    Gdt_Click* Get_Back() const { return m_back; }
    Gdt_Click* Get_Minimise() const { return m_minimise; }
    float Get_Title_Height() const { return m_title ? m_title_height : 0.0f; }
    // The area the window covers: title and client.
    Gui_Rect Get_Frame_Rect() const;

  protected:
    Gadget* Make_Decoration(const char* suffix);
    Gdt_Click* Make_Button(const char* suffix, const Gadget_Graphics& graphics, float size, float inset);
    // Puts title, client, shadow and buttons where the window's position and size say.
    void Place_Decorations();
    void Place_Button(Gdt_Click* button, float size, float inset, float x);

    Gadget* m_title = nullptr;
    Gadget* m_client = nullptr;
    Gadget* m_shadow = nullptr;
    Gdt_Click* m_close = nullptr;
    Gdt_Click* m_back = nullptr;
    Gdt_Click* m_minimise = nullptr;
    float m_title_height = 0.0f;
    Gui_Vec2 m_shadow_offset;
    float m_button_size[3] = {};  // close, back, minimise
    float m_button_inset[3] = {}; // close, back, minimise
};
