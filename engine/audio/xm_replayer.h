// The XM replayer: song position, rows and ticks, the volume column and effects of every channel,
// envelopes, fade-out and auto-vibrato, the mixing of blocks of output frames, and a listener told of every
// row as it starts.
#pragma once
#include "engine/audio/xm_mixer.h"
#include "engine/audio/xm_song.h"

#include <cstdint>

struct XM_Envelope_State
{
    int tick = 0;
    int pos = 0;   // point the envelope is heading for (or holds at)
    int value = 0; // level x 256
    int step = 0;  // per tick
    bool hold = false;
    bool sustained = false; // holding at the sustain point while the key is down
};

struct XM_Channel
{
    // Cell of the current row.
    uint8_t note = 0, instrument_number = 0, volume_column = 0, effect = 0, param = 0;
    bool porta_row = false;

    const XM_Instrument* instrument = nullptr; // never null after a reset
    const XM_Sample* sample = nullptr;
    int last_instrument = 0; // instrument number for notes written without one
    int last_note = 0;       // pattern note of the last note read
    int relative_note = 0;
    int finetune = 0;

    int period = 0;
    int target_period = 0;
    int porta_direction = 0; // +1 period rises to the target, -1 falls, 0 none
    int out_period = 0;      // period with this tick's vibrato or arpeggio
    int volume = 0;          // 0 to 64
    int out_volume = 0;      // volume with this tick's tremolo or tremor
    int panning = 128;       // 0 to 255

    bool key_on = false;
    int fadeout = 0; // 0 to 32768
    XM_Envelope_State volume_envelope, panning_envelope;
    int auto_vibrato_pos = 0;
    int auto_vibrato_depth = 0; // x 256

    // Effect memories.
    uint8_t porta_up = 0, porta_down = 0, tone_speed = 0, fine_porta_up = 0, fine_porta_down = 0;
    uint8_t extra_fine_up = 0, extra_fine_down = 0, volume_slide = 0, fine_volume_up = 0,
            fine_volume_down = 0;
    uint8_t vibrato_speed = 0, vibrato_depth = 0, tremolo_speed = 0, tremolo_depth = 0;
    uint8_t global_slide = 0, panning_slide = 0, retrig_interval = 0, retrig_volume = 0, tremor = 0,
            sample_offset = 0;
    uint8_t vibrato_pos = 0, tremolo_pos = 0, vibrato_wave = 0, tremolo_wave = 0;
    bool glissando = false;
    int retrig_counter = 0;
    int tremor_counter = 0;
    bool tremor_off = false;
    bool tremor_started = false;
    int loop_row = 0, loop_count = 0;
    uint8_t delay_note = 0, delay_instrument = 0, delay_volume = 0;
    int delay_tick = 0;

    // Changes for the voices at the end of the tick.
    bool trigger = false;
    int32_t trigger_offset = 0;
    bool immediate = false;
    float left_target = -1.0f, right_target = -1.0f;

    XM_Voice voices[2];
};

// A row as it starts to play: where the song is, and when. A row held by a pattern delay starts again
// (repeat set) on each of its extra rows.
struct XM_Row_Start
{
    int position = 0; // song position (order index)
    int pattern = 0;
    int row = 0;
    int64_t tick = 0;  // ticks run since the song started
    int64_t frame = 0; // output frame at which the row's first tick begins
    int speed = 6;
    int tempo = 125;
    bool repeat = false;
};

class XM_Replayer;

// Told of every row start, after the row's first tick has been processed (so the channels hold what the
// row set), on the thread that mixes.
class XM_Row_Listener
{
  public:
    virtual ~XM_Row_Listener() = default;
    virtual void On_Row(const XM_Replayer& replayer, const XM_Row_Start& row) = 0;
};

class XM_Replayer
{
  public:
    static constexpr int MAX_BLOCK = 4096;

    XM_Replayer() = default;
    XM_Replayer(const XM_Replayer&) = delete;
    XM_Replayer& operator=(const XM_Replayer&) = delete;

    void Configure(int rate, bool interpolation, bool ramping);
    // Takes a song to play (borrowed; it must outlive its use here) or none.
    void Attach(const XM_Song* song);
    // Starts from song position 0, row 0 at a master volume of 0 to 64.
    void Start(int master_volume);
    // Silences every channel and voice.
    void Reset_Channels();
    // Mixes frames (at most MAX_BLOCK) of interleaved 16-bit stereo; silence when no song is attached.
    void Mix(int16_t* out, int frames);

    int Rate() const { return m_rate; }
    int Master_Volume() const { return m_master; }
    int Speed() const { return m_speed; }
    int Tempo() const { return m_tempo; }
    int Tick_Frames() const { return m_tick_frames; }
    int Song_Position() const { return m_position; }
    int Row() const { return m_row; }
    int Global_Volume() const { return m_global_volume; }
    const XM_Channel& Channel(int c) const { return m_channels[c]; }
    // Times the order list has run off its end, and the output frame at which it first did (or -1).
    int Wrap_Count() const { return m_wraps; }
    int64_t First_Wrap_Frame() const { return m_first_wrap_frame; }
    // Output frames mixed since the song started.
    int64_t Frames_Mixed() const { return m_frames; }
    int Channel_Count() const { return m_song ? m_song->channels : 0; }
    // Row starts go to the listener (borrowed; none with null). Set it while nothing mixes.
    void Set_Row_Listener(XM_Row_Listener* listener) { m_row_listener = listener; }

  private:
    void Run_Tick();
    void Next_Row();
    void Read_Row(XM_Channel& ch, const uint8_t* cell);
    void Take_Note(XM_Channel& ch, int note, int instrument, bool delayed);
    void Volume_Column_First(XM_Channel& ch, bool delayed);
    void Volume_Column_Tick(XM_Channel& ch);
    void Effect_First(XM_Channel& ch);
    void Extended_First(XM_Channel& ch);
    void Effect_Tick(XM_Channel& ch, int tick);
    void Update_Channel(XM_Channel& ch);

    void Key_Off(XM_Channel& ch);
    void Reset_Instrument_State(XM_Channel& ch);
    void Retrigger_Envelopes(XM_Channel& ch);
    void Retrigger(XM_Channel& ch);
    void Tone_Porta(XM_Channel& ch);
    void Vibrato(XM_Channel& ch, int depth);
    void Tremolo(XM_Channel& ch);
    void Volume_Slide(XM_Channel& ch, uint8_t param);
    void Multi_Retrig(XM_Channel& ch);
    void Arpeggio(XM_Channel& ch, int tick);
    void Set_Volume(XM_Channel& ch, int volume, bool immediate);
    int Note_Period(int real_note, int finetune) const;
    int Nearest_Note(int period, int finetune) const;

    const XM_Song* m_song = nullptr;
    int m_rate = 44000;
    bool m_interpolation = true;
    bool m_ramping = true;
    int m_master = 64;

    int m_speed = 6, m_tempo = 125;
    int m_tick = 0;
    int m_row = 0, m_position = 0, m_rows = 64;
    int m_global_volume = 64;
    int m_break_row = 0;
    bool m_position_jump = false;
    bool m_loop_jump = false;
    int m_jump_position = -1;
    int m_pattern_delay = 0, m_pattern_delay_left = 0;
    int m_tick_frames = 0, m_tick_left = 0;
    int64_t m_frames = 0;
    int64_t m_ticks = 0;
    int64_t m_tick_frame = 0; // output frame at which the running tick began
    XM_Row_Listener* m_row_listener = nullptr;
    int m_wraps = 0;
    int64_t m_first_wrap_frame = -1;
    bool m_wrapped_in_tick = false;

    XM_Channel m_channels[XM_Song::MAX_CHANNELS];
    float m_left[MAX_BLOCK];
    float m_right[MAX_BLOCK];
};
