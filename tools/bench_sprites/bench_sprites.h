// bench_sprites: 10,000 textured, rotated, coloured quads a frame, through a Sprite and through SDL2's
// renderer, with the CPU time each takes to write and submit a frame.
#pragma once
#include <cstdint>
#include <ctime>

struct Bench_Quad
{
    float x, y, w, h; // pixels, y down, centre of the quad
    float degrees;    // counter-clockwise on screen
    uint8_t r, g, b, a;
};

struct Bench_Setup
{
    int width = 1280;
    int height = 720;
    int quads = 10000;
    int frames = 200;
    int warm_up = 20;
    int texture_size = 32;
    const uint8_t* pixels = nullptr; // texture_size^2 RGBA
    const Bench_Quad* table = nullptr;
};

struct Bench_Figures
{
    double cpu_ms = 0.0;       // thread CPU time a frame, mean
    double wall_ms = 0.0;      // wall-clock time a frame, mean
    double write_cpu_ms = 0.0; // of cpu_ms: writing the quads, before the submission
    char backend[64] = {};
};

// Each frame turns every quad by one more degree, so that nothing can be cached between frames.
inline Bench_Quad Bench_Quad_At(const Bench_Setup& setup, int frame, int i)
{
    Bench_Quad q = setup.table[i];
    q.degrees += static_cast<float>(frame);
    return q;
}

class Bench_Timer
{
  public:
    void Start()
    {
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &m_cpu);
        clock_gettime(CLOCK_MONOTONIC, &m_wall);
    }
    // Between Start and Stop: the quads are written, the rest is submitting them.
    void Written() { clock_gettime(CLOCK_THREAD_CPUTIME_ID, &m_written); }
    void Stop(bool count)
    {
        timespec cpu, wall;
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
        clock_gettime(CLOCK_MONOTONIC, &wall);
        if (!count)
            return;
        m_cpu_total += Seconds(cpu) - Seconds(m_cpu);
        m_write_total += Seconds(m_written) - Seconds(m_cpu);
        m_wall_total += Seconds(wall) - Seconds(m_wall);
        ++m_count;
    }
    void Result(Bench_Figures& out) const
    {
        out.cpu_ms = m_count ? m_cpu_total * 1000.0 / m_count : 0.0;
        out.write_cpu_ms = m_count ? m_write_total * 1000.0 / m_count : 0.0;
        out.wall_ms = m_count ? m_wall_total * 1000.0 / m_count : 0.0;
    }

  private:
    static double Seconds(const timespec& t) { return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9; }
    timespec m_cpu{}, m_wall{}, m_written{};
    double m_cpu_total = 0.0, m_write_total = 0.0, m_wall_total = 0.0;
    int m_count = 0;
};

bool Bench_Sdl(const Bench_Setup& setup, Bench_Figures& out);
bool Bench_Vorta(const Bench_Setup& setup, Bench_Figures& out);
