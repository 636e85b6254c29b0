// The comparison half of bench_sprites: SDL2's own renderer (GL backend) drawing the same quads with
// SDL_RenderCopyExF, timed the same way.
#include "bench_sprites.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <cstdio>

bool Bench_Sdl(const Bench_Setup& setup, Bench_Figures& out)
{
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
    SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
    {
        std::fprintf(stderr, "SDL video: %s\n", SDL_GetError());
        return false;
    }
    SDL_Window* window = SDL_CreateWindow("bench_sprites SDL", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          setup.width, setup.height, SDL_WINDOW_OPENGL);
    SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED) : nullptr;
    SDL_Texture* texture = nullptr;
    if (renderer)
    {
        texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC,
                                    setup.texture_size, setup.texture_size);
        if (texture)
        {
            SDL_UpdateTexture(texture, nullptr, setup.pixels, setup.texture_size * 4);
            SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
        }
    }
    bool ok = texture != nullptr;
    if (!ok)
        std::fprintf(stderr, "SDL renderer: %s\n", SDL_GetError());
    else
    {
        SDL_RendererInfo info{};
        SDL_GetRendererInfo(renderer, &info);
        std::snprintf(out.backend, sizeof out.backend, "%s", info.name);
        Bench_Timer timer;
        for (int frame = 0; frame < setup.warm_up + setup.frames; ++frame)
        {
            SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
            SDL_RenderClear(renderer);
            SDL_RenderFlush(renderer);
            glFinish();
            timer.Start();
            for (int i = 0; i < setup.quads; ++i)
            {
                const Bench_Quad& q = Bench_Quad_At(setup, frame, i);
                SDL_SetTextureColorMod(texture, q.r, q.g, q.b);
                SDL_SetTextureAlphaMod(texture, q.a);
                const SDL_FRect dest{q.x - q.w * 0.5f, q.y - q.h * 0.5f, q.w, q.h};
                // SDL turns clockwise for positive degrees on screen; ours turns the other way.
                SDL_RenderCopyExF(renderer, texture, nullptr, &dest, -static_cast<double>(q.degrees), nullptr,
                                  SDL_FLIP_NONE);
            }
            timer.Written();
            SDL_RenderFlush(renderer);
            timer.Stop(frame >= setup.warm_up);
            SDL_RenderPresent(renderer);
        }
        timer.Result(out);
    }
    if (texture)
        SDL_DestroyTexture(texture);
    if (renderer)
        SDL_DestroyRenderer(renderer);
    if (window)
        SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return ok;
}
