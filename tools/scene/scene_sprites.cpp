// Loading sprites by name and writing their frames for the sample screens.
#include "scene.h"

#include "engine/core/vorta_log.h"

#include <cstdio>

Sprite* Scene_Sprites::Get(const std::string& name)
{
    auto found = m_sprites.find(name);
    if (found != m_sprites.end())
        return found->second.get();
    auto sprite = std::make_unique<Sprite>(m_window);
    // The laser's glow copy is a second sprite of the same script, as the game loads it.
    const std::string script = name == "Laser glow" ? "Laser" : name;
    if (!sprite->Initialize(script.c_str()))
    {
        std::fprintf(stderr, "vorta5-scene: sprite \"%s\" does not load\n", name.c_str());
        ++m_failures;
        sprite.reset();
    }
    Sprite* raw = sprite.get();
    m_sprites[name] = std::move(sprite);
    return raw;
}

void Scene_Sprites::Put(const std::string& name, int cell, float x, float y, float w, float h, float rotation,
                        Colour colour, uint32_t flags)
{
    Sprite* sprite = Get(name);
    if (!sprite)
        return;
    int frame = sprite->Get_Frame();
    sprite->Set_Frame(frame, cell, {x, y}, {w, h}, rotation, colour, flags);
}

void Scene_Sprites::Draw(const std::string& name, uint32_t flags)
{
    if (Sprite* sprite = Get(name))
        sprite->Draw({0, 0}, {1, 1}, 0.0f, 0, flags, {1, 1, 1, 1}, 1.0f, {0, 0});
}

void Scene_Sprites::Text(float x, float y, float w, float h, float height, Colour colour, const char* text,
                         uint32_t flags)
{
    if (Sprite* font = Get("KVR Font"))
        font->Print_In_Box({x, y}, {w, h}, height, colour, flags, text);
}
