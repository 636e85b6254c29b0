// Recordings of input: every poll of a window's devices written as text, and read back in place of the
// devices. The format, which is meant to be written and edited by hand as well:
//
//   kestrova-demo 1                      the first line, always
//   window 1280 720                      header lines: a word and the rest of the line; the program adds
//   pad 0 12 "Some Pad"                  its own, and "pad <index> <buttons> "<name>"" lists the joypads
//   60 +return                           frame lines: the poll's number (0 the first), then what changed
//   62 -return  # a comment to the end of the line
//   600 end                              the recording is 600 polls long
//
// What a frame line can hold; everything but move, typed and lost stays as it is set until it is set again:
//   +KEY -KEY            keyboard key down / up, by a key name of controls.txt without blanks (return,
//                        space, left, lshift, np5, a, 7, ...) or by scan code as #N (#183 is Print Screen);
//                        keys that go down in one poll are typed in the order of their + items
//   typed=KEY,KEY...     the keys typed in this poll in their order, where that is not the + items'
//                        (a key typed twice in one poll); typed=none for none
//   +mouseN -mouseN      mouse button N (0 left, 1 right, 2 middle, 3 to 7 the others) down / up
//   mouse=X,Y            the mouse position, normalised over the window (0,0 top left, 1,1 bottom right)
//   move=DX,DY[,DZ]      mouse motion in this poll only, in pixels, and the wheel (120 a notch)
//   +padN.bM -padN.bM    button M of joypad N down / up
//   padN.AXIS=V          axis x y z rx ry rz s0 s1 of joypad N, 0 to 65535 (32768 centred, 0 left or up);
//                        padN.pov0 to pov3 the hats, hundredths of a degree clockwise from up, -1 centred
//   touch=X,Y;X,Y...     the fingers on the window, normalised (at most 10); touch=none lifts them all
//   caps=0 caps=1        the caps-lock toggle
//   lost=keyboard lost=mouse   that device's read failed in this poll (it lets go of everything)
//   lost=padN            joypad N could not be read: it is pulled out (it reads as released)
//   padN.out             joypad N was pulled out
//   padN.in=B,NAME       a joypad with B buttons was plugged into place N (one past the last: a new place);
//                        in NAME a blank, comma or backslash is written \x20, \x2C, \x5C
//   end                  the recording ends before this poll
// Without an end item a recording ends after its last frame line. Frame numbers never go down; one frame
// may have several lines.
#pragma once
#include "engine/input/input_frame.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// The text of a frame line's key: a name where the key has one, else #N.
void Recording_Key_Name(int scan_code, char* out, int size);
// The shortest text that reads back as the same float (0.1 rather than 0.100000001).
void Recording_Number(float value, char* out, int size);
// A name as one word of a frame line: \xHH for a blank, a comma, a backslash, a quote or what is not plain
// printable text; and back (false when an escape is broken).
std::string Recording_Word(const char* name);
bool Recording_Unword(const std::string& word, char* name, int size);

// Writes every poll it is shown to a file.
class Input_Recorder final : public Input_Tap
{
  public:
    Input_Recorder() = default;
    Input_Recorder(const Input_Recorder&) = delete;
    Input_Recorder& operator=(const Input_Recorder&) = delete;
    ~Input_Recorder() override { Finish(); }

    // Creates the file; false when it cannot be written.
    bool Open(const char* file_name);
    // A header line (a word and the rest; no line end), kept until the first frame writes the header.
    void Add_Header_Line(const char* line);
    // Writes the end line and closes the file. False when anything could not be written.
    bool Finish();
    uint32_t Frames() const { return m_frames; }

    void Take_Devices(const Input_Pad_Info* pads, int count) override;
    void Take_Frame(const Input_Frame& frame) override;

  private:
    void Write_Header();

    std::FILE* m_file = nullptr;
    bool m_failed = false;
    bool m_header_written = false;
    std::vector<std::string> m_header;
    std::vector<Input_Pad_Info> m_pads;
    uint32_t m_frames = 0;
    Input_Frame m_state; // what a playback of the lines so far holds
};

// A recording read back, poll by poll.
class Input_Playback final : public Input_Source
{
  public:
    // Reads and checks the whole file. False with the reason (and its line number) when it is not a
    // recording or a line cannot be read.
    bool Load(const char* file_name, std::string& error);
    bool Load_Text(const std::string& text, std::string& error);

    // The rest of the first header line that begins with the word; null when there is none.
    const char* Header(const char* key) const;
    // The rests of every header line that begins with the word, in file order.
    std::vector<const char*> Header_Lines(const char* key) const;
    // Polls in the recording.
    uint32_t Frame_Count() const { return m_frame_count; }
    // Polls handed out so far. Past the end each poll holds what the last one held, without motion.
    uint32_t Frames_Played() const { return m_next_frame; }

    int Pad_Count() const override { return static_cast<int>(m_pads.size()); }
    const Input_Pad_Info& Pad_Info(int index) const override;
    void Next_Frame(Input_Frame& frame) override;

  private:
    struct Header_Line
    {
        std::string key;
        std::string rest;
    };
    struct Frame_Line
    {
        uint32_t frame;
        int line_number;
        std::string items;
    };

    // Applies a frame line's items to the state; false with the reason. typed_given: the frame's typed keys
    // were given by an item of their own (else each key that goes down is typed).
    bool Apply_Items(const std::string& items, Input_Frame& state, bool& end, bool& typed_given,
                     std::string& error) const;
    void Begin_Frame(Input_Frame& state) const;
    // Before the first poll: the header's pads, plugged in.
    Input_Frame Initial_State() const;

    std::vector<Header_Line> m_header;
    std::vector<Input_Pad_Info> m_pads;
    std::vector<Frame_Line> m_lines;
    uint32_t m_frame_count = 0;
    uint32_t m_next_frame = 0;
    size_t m_next_line = 0;
    Input_Frame m_state;
};
