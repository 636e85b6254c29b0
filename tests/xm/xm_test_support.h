// Helpers for the XM tests: loading a written module into the process-wide player without a device and
// rendering frames through the player's mixing step.
#pragma once
#include "engine/audio/xm_player.h"
#include "xm_writer.h"

#include <gtest/gtest.h>
#include <vector>

class Xm_Test : public ::testing::Test
{
  protected:
    void SetUp() override { ASSERT_TRUE(g_xm_player.Initialise(44000, true, true, false)); }
    void TearDown() override { g_xm_player.Shutdown(); }

    bool Load(const Xm_Writer& writer)
    {
        m_bytes = writer.Build();
        return g_xm_player.Load(m_bytes.data(), m_bytes.size());
    }
    // Interleaved stereo frames from the start of the song.
    std::vector<int16_t> Render(int frames, float volume = 1.0f)
    {
        g_xm_player.Play(volume);
        return Continue(frames);
    }
    // The next frames, in blocks as the device callback mixes them.
    std::vector<int16_t> Continue(int frames)
    {
        std::vector<int16_t> out(static_cast<size_t>(frames) * 2);
        for (int done = 0; done < frames; done += XM_Player::BLOCK_FRAMES)
        {
            int n = std::min(XM_Player::BLOCK_FRAMES, frames - done);
            g_xm_player.Render(out.data() + 2 * done, n);
        }
        return out;
    }
    static int First_Sound(const std::vector<int16_t>& out)
    {
        for (size_t i = 0; i < out.size(); ++i)
            if (out[i])
                return static_cast<int>(i / 2);
        return -1;
    }

    std::vector<uint8_t> m_bytes;
};
