// Mixer voices of the XM player: one sample playing with interpolation, loops and click-free ramps.
#pragma once
#include <cstdint>

struct XM_Sample;

struct XM_Voice
{
    const float* data = nullptr;
    int32_t length = 0;
    int32_t loop_start = 0;
    int32_t loop_end = 0;
    int loop_mode = 0; // 0 none, 1 forward, 2 ping-pong
    bool backwards = false;
    bool active = false;

    int32_t position = 0;
    float fraction = 0.0f;
    float step = 0.0f;    // sample frames per output frame
    int32_t fetched = -1; // position whose current and next values are held, -1 for none
    float current = 0.0f;
    float next = 0.0f;

    float left = 0.0f, right = 0.0f;
    float left_target = 0.0f, right_target = 0.0f;
    float left_step = 0.0f, right_step = 0.0f;
    int volume_ramp = 0; // frames left of the volume ramp

    float gain = 1.0f;
    float gain_target = 1.0f;
    float gain_step = 0.0f;
    int gain_ramp = 0;
    bool ending = false; // ramping down to silence; ends when the ramp is done

    // Starts the sample at a frame offset; false (voice idle) when the offset is past the sample's end.
    bool Start(const XM_Sample& sample, int32_t offset);
    void Stop() { active = false; }
    // Volume targets, reached in frames output frames (0: at once).
    void Set_Volume(float new_left, float new_right, int frames);
    // Gain ramp to a target over frames output frames; ramping to 0 with end set stops the voice after it.
    void Ramp_Gain(float from, float to, int frames, bool end);
};

// Adds frames of a voice into the left and right buffers.
void XM_Mix_Voice(XM_Voice& v, float* left, float* right, int frames, bool interpolate);
