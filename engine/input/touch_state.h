// Touch_State: the fingers on a window as the last pump saw them, normalised over the client area.
#pragma once
#include "platform/os_window.h"

class Touch_State
{
  public:
    static constexpr int MAX_POINTS = 10;

    // The pump clears the count before it takes the desktop's events.
    void Clear() { m_count = 0; }
    // At most MAX_POINTS are kept.
    void Set(const platform::Touch_Point* points, int count);

    int Get_Count() const { return m_count; }
    float Get_X(int index) const { return index >= 0 && index < MAX_POINTS ? m_x[index] : 0.0f; }
    float Get_Y(int index) const { return index >= 0 && index < MAX_POINTS ? m_y[index] : 0.0f; }

  private:
    int m_count = 0;
    float m_x[MAX_POINTS] = {};
    float m_y[MAX_POINTS] = {};
};
