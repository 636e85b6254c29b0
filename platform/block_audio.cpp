// Block audio output on an SDL2 audio device. The device pulls from a ring of blocks: each time a block
// has been copied out whole, the fill function mixes new frames into it, so output runs the ring's length
// ahead of the mixer.
#include "platform/block_audio.h"

#include <SDL.h>

#include <cstring>
#include <new>

namespace platform
{
bool Block_Audio::Open(int rate, int block_frames, int blocks, Fill_Function fill, void* user)
{
    Close();
    if (rate <= 0 || block_frames <= 0 || blocks <= 0 || blocks > MAX_BLOCKS || !fill)
        return false;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    m_sdl_audio = true;
    m_ring = new (std::nothrow) int16_t[static_cast<size_t>(blocks) * block_frames * 2];
    if (!m_ring)
    {
        Close();
        return false;
    }
    std::memset(m_ring, 0, sizeof(int16_t) * static_cast<size_t>(blocks) * block_frames * 2);
    m_rate = rate;
    m_block_frames = block_frames;
    m_blocks = blocks;
    m_next = 0;
    m_offset = 0;
    m_fill = fill;
    m_user = user;

    SDL_AudioSpec want{}, have{};
    want.freq = rate;
    want.format = AUDIO_S16LSB;
    want.channels = 2;
    want.samples = static_cast<Uint16>(block_frames);
    want.callback = &Block_Audio::Device_Callback;
    want.userdata = this;
    m_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (m_device == 0)
    {
        Close();
        return false;
    }
    SDL_PauseAudioDevice(m_device, 0);
    return true;
}

void Block_Audio::Close()
{
    if (m_device)
    {
        SDL_CloseAudioDevice(m_device); // waits for a running callback
        m_device = 0;
    }
    delete[] m_ring;
    m_ring = nullptr;
    if (m_sdl_audio)
    {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m_sdl_audio = false;
    }
    m_fill = nullptr;
}

void Block_Audio::Device_Callback(void* self, uint8_t* stream, int bytes)
{
    auto* a = static_cast<Block_Audio*>(self);
    int frames = bytes / 4;
    auto* out = reinterpret_cast<int16_t*>(stream);
    while (frames > 0)
    {
        int16_t* block = a->m_ring + static_cast<size_t>(a->m_next) * a->m_block_frames * 2;
        int n = a->m_block_frames - a->m_offset;
        if (n > frames)
            n = frames;
        std::memcpy(out, block + a->m_offset * 2, sizeof(int16_t) * 2 * n);
        out += 2 * n;
        frames -= n;
        a->m_offset += n;
        if (a->m_offset == a->m_block_frames)
        {
            // The block has been handed out: mix the next frames into it, to play a ring's length later.
            a->m_fill(a->m_user, block, a->m_block_frames);
            a->m_offset = 0;
            a->m_next = (a->m_next + 1) % a->m_blocks;
        }
    }
}
} // namespace platform
