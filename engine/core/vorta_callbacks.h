// The interfaces through which the engine calls the game (Vorta_Callbacks) and a viewport's camera.
#pragma once

class Vorta_Window;

class Vorta_Callbacks
{
  public:
    virtual ~Vorta_Callbacks() = default;
    virtual void Update(Vorta_Window* /*window*/) {}
    virtual void Render(Vorta_Window* /*window*/) {}
};

// A viewport's camera: applied between the game's Update and the clears. Owned by its viewport.
class Vorta_Camera
{
  public:
    virtual ~Vorta_Camera() = default;
    virtual void Apply(Vorta_Window* window) = 0;
};
