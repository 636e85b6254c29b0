// CSound_3d: one loaded buffer placed in the listener's space.
#include "engine/audio/sound.h"

CSound_3d::~CSound_3d()
{
    Release_Voices();
}

bool CSound_3d::Query_3d()
{
    m_3d = m_buffer.Has_3d();
    return m_3d;
}

void CSound_3d::Stop_All()
{
    m_buffer.Stop();
}

void CSound_3d::Release_Voices()
{
    m_3d = false;
}

bool CSound_3d::Play(float volume, bool looping)
{
    if (!m_buffer.Exists())
        return false;
    m_buffer.Stop();
    m_buffer.Set_Volume(Sound_Attenuation(volume));
    m_buffer.Rewind();
    return m_buffer.Play(looping);
}

void CSound_3d::Set_Position(float x, float y, float z)
{
    m_position[0] = x;
    m_position[1] = y;
    m_position[2] = z;
    if (m_3d)
        m_buffer.Set_3d_Position(x, y, z);
}
