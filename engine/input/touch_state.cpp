// Touch_State: taking a pump's touch points.
#include "engine/input/touch_state.h"

void Touch_State::Set(const platform::Touch_Point* points, int count)
{
    if (!points || count < 0)
        count = 0;
    m_count = count < MAX_POINTS ? count : MAX_POINTS;
    for (int i = 0; i < m_count; ++i)
    {
        m_x[i] = points[i].x;
        m_y[i] = points[i].y;
    }
}
