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
    // Where the camera is and how it is turned (radians about x, y and z), for read-outs such as the
    // console's.
    virtual void Get_Position(float position[3]) const { position[0] = position[1] = position[2] = 0.0f; }
    virtual void Get_Rotation(float rotation[3]) const { rotation[0] = rotation[1] = rotation[2] = 0.0f; }
};
