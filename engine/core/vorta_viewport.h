// Vorta_Viewport: a region of a window with its own game callbacks and camera.
#pragma once

class Vorta_Window;
class Vorta_Callbacks;
class Vorta_Camera;

class Vorta_Viewport
{
  public:
    explicit Vorta_Viewport(Vorta_Window* owner) : m_owner(owner) {}
    Vorta_Viewport(const Vorta_Viewport&) = delete;
    Vorta_Viewport& operator=(const Vorta_Viewport&) = delete;
    ~Vorta_Viewport();

    void Set_Callbacks(Vorta_Callbacks* callbacks) { m_callbacks = callbacks; }
    Vorta_Callbacks* Get_Callbacks() const { return m_callbacks; }
    // Takes ownership of the camera (null removes it).
    void Set_Camera(Vorta_Camera* camera);
    Vorta_Camera* Get_Camera() const { return m_camera; }

    // Normalised position and size (0 to 1 of the window).
    void Set_Position(float x, float y);
    // Also sets the aspect: (width / height) x (render height / render width).
    void Set_Size(float width, float height);
    float Get_Aspect() const { return m_aspect; }
    float Get_X() const { return m_x; }
    float Get_Y() const { return m_y; }
    float Get_Width() const { return m_width; }
    float Get_Height() const { return m_height; }

    bool Is_Active() const { return m_active; }
    void Set_Active(bool active) { m_active = active; }
    Vorta_Window* Get_Owner() const { return m_owner; }

  private:
    Vorta_Window* m_owner;
    bool m_active = true;
    float m_x = 0.0f;
    float m_y = 0.0f;
    float m_width = 1.0f;
    float m_height = 1.0f;
    float m_aspect = 1.0f;
    Vorta_Callbacks* m_callbacks = nullptr; // borrowed
    Vorta_Camera* m_camera = nullptr;       // owned
};
