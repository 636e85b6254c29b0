// vorta5-scene: the game's sprites by name, and the sample screens drawn with them.
#pragma once
#include "engine/render/sprite.h"

#include <map>
#include <memory>
#include <string>

class Vorta_Window;

// Every sprite a screen asks for, loaded on first use from the data folder; frames are written in the
// game's normalised units and each sprite's batch drawn once with one of the game's flag words.
class Scene_Sprites
{
  public:
    explicit Scene_Sprites(Vorta_Window* window) : m_window(window) {}

    Sprite* Get(const std::string& name);
    // One quad: cell, centre (or corner, by the flags), size (height -1 keeps the cell's proportions).
    void Put(const std::string& name, int cell, float x, float y, float w, float h = -1.0f,
             float rotation = 0.0f, Colour colour = {1, 1, 1, 1}, uint32_t flags = SPR_CENTRE);
    // Draws the batch: 0x44C0 normal, 0x48C0 additive, 0x4480 floor (wrap addressing).
    void Draw(const std::string& name, uint32_t flags = 0x44C0);
    // Text in a box on "KVR Font", centred, as the HUD writes it.
    void Text(float x, float y, float w, float h, float height, Colour colour, const char* text,
              uint32_t flags = SPR_CENTRE);
    int Failures() const { return m_failures; }

  private:
    Vorta_Window* m_window;
    std::map<std::string, std::unique_ptr<Sprite>> m_sprites;
    int m_failures = 0;
};

// The screens: each writes and draws its frames onto the bound back buffer.
void Draw_Play_Scene(Scene_Sprites& sprites, float aspect);
void Draw_Menu_Scene(Scene_Sprites& sprites, float aspect);
void Draw_Credits_Scene(Scene_Sprites& sprites, float aspect);
void Draw_Messages_Scene(Scene_Sprites& sprites, float aspect);
