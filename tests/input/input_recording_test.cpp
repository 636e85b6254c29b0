// Recordings of input: polls written and read back unchanged, hand-written text read as it says, bad lines
// refused with their line number, and the input system taking its polls from a source and showing them to
// a tap.
#include "engine/input/input_recording.h"
#include "engine/input/input_system.h"
#include "engine/input/key_names.h"
#include "engine/input/touch_state.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using test_support::Read_File;
using test_support::Scratch_Folder;

namespace
{
// What a playback gives for a poll is what the devices gave: the same readings where they were read.
void Expect_Same_Poll(const Input_Frame& recorded, const Input_Frame& played, int frame)
{
    SCOPED_TRACE(testing::Message() << "frame " << frame);
    EXPECT_EQ(played.keyboard,
              recorded.keyboard == INPUT_NO_DEVICE ? uint8_t{INPUT_READ} : recorded.keyboard);
    if (recorded.keyboard == INPUT_READ)
    {
        for (int code = 0; code < 256; ++code)
            EXPECT_EQ(played.keys[code] & 0x80, recorded.keys[code] & 0x80) << "key " << code;
        EXPECT_EQ(std::vector<uint8_t>(played.typed, played.typed + played.typed_count),
                  std::vector<uint8_t>(recorded.typed, recorded.typed + recorded.typed_count));
    }
    EXPECT_EQ(played.mouse, recorded.mouse);
    if (recorded.mouse == INPUT_READ)
    {
        EXPECT_EQ(played.mouse_reading.dx, recorded.mouse_reading.dx);
        EXPECT_EQ(played.mouse_reading.dy, recorded.mouse_reading.dy);
        EXPECT_EQ(played.mouse_reading.dz, recorded.mouse_reading.dz);
        for (int button = 0; button < 8; ++button)
            EXPECT_EQ(played.mouse_reading.buttons[button] != 0, recorded.mouse_reading.buttons[button] != 0);
    }
    EXPECT_EQ(played.mouse_x, recorded.mouse_x);
    EXPECT_EQ(played.mouse_y, recorded.mouse_y);
    EXPECT_EQ(played.caps_lock, recorded.caps_lock);
    ASSERT_EQ(played.pad_count, recorded.pad_count);
    for (int pad = 0; pad < recorded.pad_count; ++pad)
    {
        EXPECT_EQ(played.pad[pad], recorded.pad[pad]) << "pad " << pad;
        EXPECT_EQ(played.pad_attached[pad], recorded.pad_attached[pad]) << "pad " << pad;
        EXPECT_EQ(played.pad_event[pad], recorded.pad_event[pad]) << "pad " << pad;
        if (recorded.pad_event[pad] & PAD_PLUGGED_IN)
        {
            EXPECT_STREQ(played.pad_info[pad].name, recorded.pad_info[pad].name);
            EXPECT_EQ(played.pad_info[pad].buttons, recorded.pad_info[pad].buttons);
        }
        if (recorded.pad[pad] != INPUT_READ)
            continue;
        const platform::Joystick_Reading& a = recorded.pad_reading[pad];
        const platform::Joystick_Reading& b = played.pad_reading[pad];
        EXPECT_EQ(std::vector<int32_t>(
                      {b.x, b.y, b.z, b.rx, b.ry, b.rz, b.slider[0], b.slider[1], b.pov[0], b.pov[3]}),
                  std::vector<int32_t>(
                      {a.x, a.y, a.z, a.rx, a.ry, a.rz, a.slider[0], a.slider[1], a.pov[0], a.pov[3]}))
            << "pad " << pad;
        for (int button = 0; button < 32; ++button)
            EXPECT_EQ(b.buttons[button] != 0, a.buttons[button] != 0)
                << "pad " << pad << " button " << button;
    }
    ASSERT_EQ(played.touch_count, recorded.touch_count);
    for (int i = 0; i < recorded.touch_count; ++i)
    {
        EXPECT_EQ(played.touch_x[i], recorded.touch_x[i]);
        EXPECT_EQ(played.touch_y[i], recorded.touch_y[i]);
    }
}

std::vector<Input_Frame> Sample_Polls()
{
    std::vector<Input_Frame> polls(11);
    Input_Frame& first = polls[0];
    first.keyboard = first.mouse = INPUT_READ;
    first.pad_count = 2;
    first.pad[0] = first.pad[1] = INPUT_READ;
    first.pad_attached[0] = first.pad_attached[1] = true;
    first.mouse_x = 0.25f;
    first.mouse_y = 0.7777777f; // written with every digit a float needs
    // Keys with names and without, a click with motion and the wheel, caps lock, a pad moved, two fingers.
    Input_Frame& busy = polls[1];
    busy = first;
    busy.keys[28] = busy.keys[183] = busy.keys[12] = 0x80;
    busy.typed_count = 3; // in the order typed, not the order of the codes
    busy.typed[0] = 183;
    busy.typed[1] = 28;
    busy.typed[2] = 12;
    busy.mouse_reading.buttons[0] = 0x80;
    busy.mouse_reading.dx = 3;
    busy.mouse_reading.dy = -2;
    busy.mouse_reading.dz = 120;
    busy.caps_lock = true;
    busy.pad_reading[1].x = 0;
    busy.pad_reading[1].slider[1] = 65535;
    busy.pad_reading[1].pov[0] = 9000;
    busy.pad_reading[1].buttons[3] = busy.pad_reading[1].buttons[31] = 0x80;
    busy.touch_count = 2;
    busy.touch_x[0] = 0.1f;
    busy.touch_y[0] = 0.85f;
    busy.touch_x[1] = 1.0f / 3.0f;
    busy.touch_y[1] = 0.9f;
    // The keyboard lost for a poll: the keys it held are not written as let go.
    polls[2] = busy;
    polls[2].keyboard = INPUT_LOST;
    polls[2].typed_count = 0;
    polls[2].mouse_reading.dx = polls[2].mouse_reading.dy = polls[2].mouse_reading.dz = 0;
    // Back, with Return let go meanwhile; the mouse lost, and pad 0 gone (it cannot be read: pulled out).
    polls[3] = polls[2];
    polls[3].keyboard = INPUT_READ;
    polls[3].keys[28] = 0;
    polls[3].mouse = INPUT_LOST;
    polls[3].pad[0] = INPUT_LOST;
    polls[3].pad_attached[0] = false;
    polls[3].pad_reading[0] = platform::Joystick_Reading();
    // Nothing changes: no line (pad 0 reads as released while it is out).
    polls[4] = polls[3];
    polls[4].mouse = INPUT_READ;
    polls[4].pad[0] = INPUT_NO_DEVICE;
    // Pad 0 plugged in again, another one into a new place, Space typed twice between two polls.
    polls[5] = polls[4];
    polls[5].pad[0] = INPUT_READ;
    polls[5].pad_attached[0] = true;
    polls[5].pad_event[0] = PAD_PLUGGED_IN;
    std::snprintf(polls[5].pad_info[0].name, sizeof polls[5].pad_info[0].name, "Again Pad");
    polls[5].pad_info[0].buttons = 8;
    polls[5].pad_reading[0].buttons[0] = 0x80;
    polls[5].pad_count = 3;
    polls[5].pad[2] = INPUT_READ;
    polls[5].pad_attached[2] = true;
    polls[5].pad_event[2] = PAD_PLUGGED_IN;
    std::snprintf(polls[5].pad_info[2].name, sizeof polls[5].pad_info[2].name, "Third, \"odd\" \\ pad");
    polls[5].pad_info[2].buttons = 0;
    polls[5].pad_reading[2].y = 1;
    polls[5].typed_count = 2;
    polls[5].typed[0] = polls[5].typed[1] = 57;
    // Pad 1 pulled out; in pad 2's place another pad at once; a key down with nothing typed.
    polls[6] = polls[5];
    polls[6].typed_count = 0;
    for (uint8_t& event : polls[6].pad_event)
        event = 0;
    polls[6].pad[1] = INPUT_NO_DEVICE;
    polls[6].pad_attached[1] = false;
    polls[6].pad_event[1] = PAD_PULLED_OUT;
    polls[6].pad_reading[1] = platform::Joystick_Reading();
    polls[6].pad_event[2] = PAD_PULLED_OUT | PAD_PLUGGED_IN;
    std::snprintf(polls[6].pad_info[2].name, sizeof polls[6].pad_info[2].name, "Fourth");
    polls[6].pad_info[2].buttons = 4;
    polls[6].pad_reading[2] = platform::Joystick_Reading(); // the new pad is at rest
    polls[6].keys[30] = 0x80;
    polls[7] = polls[6];
    for (uint8_t& event : polls[7].pad_event)
        event = 0;
    polls[7].keys[30] = 0;
    // Everything let go.
    polls[8] = polls[7];
    polls[8].keys[183] = polls[8].keys[12] = 0;
    polls[8].mouse_reading = platform::Mouse_Reading();
    polls[8].caps_lock = false;
    polls[8].touch_count = 0;
    polls[8].pad_reading[0] = platform::Joystick_Reading();
    polls[9] = polls[8];
    polls[10] = polls[9];
    polls[10].keyboard = INPUT_NO_DEVICE; // a keyboard without a device reads as all keys up
    return polls;
}

TEST(RecordingTest, EveryPollComesBackAsItWasRecorded)
{
    Scratch_Folder folder;
    const std::string file = folder.File("demo.txt");
    const std::vector<Input_Frame> polls = Sample_Polls();
    {
        Input_Recorder recorder;
        ASSERT_TRUE(recorder.Open(file.c_str()));
        recorder.Add_Header_Line("window 320 200");
        Input_Pad_Info pads[2];
        std::snprintf(pads[0].name, sizeof pads[0].name, "First \"Pad\"");
        pads[0].buttons = 10;
        std::snprintf(pads[1].name, sizeof pads[1].name, "Second");
        pads[1].buttons = 32;
        recorder.Take_Devices(pads, 2);
        for (const Input_Frame& poll : polls)
            recorder.Take_Frame(poll);
        EXPECT_EQ(recorder.Frames(), polls.size());
        EXPECT_TRUE(recorder.Finish());
    }
    const std::string text = Read_File(file);
    EXPECT_EQ(
        text.rfind("kestrova-demo 1\nwindow 320 200\npad 0 10 \"First 'Pad'\"\npad 1 32 \"Second\"\n", 0), 0u)
        << text;
    for (const char* quiet : {"\n4 ", "\n9 ", "\n10 "})
        EXPECT_EQ(text.find(quiet), std::string::npos) << "a poll without changes has no line:\n" << text;
    EXPECT_NE(text.find("\n11 end\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n1 +#183 +return +#12 +mouse0"), std::string::npos) << text;
    EXPECT_NE(text.find("\n3 -return lost=mouse lost=pad0\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n5 typed=space,space pad0.in=8,Again\\x20Pad +pad0.b0 "
                        "pad2.in=0,Third\\x2C\\x20\\x22odd\\x22\\x20\\x5C\\x20pad pad2.y=1\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\n6 +a typed=none pad1.out pad2.out pad2.in=4,Fourth\n"), std::string::npos) << text;

    Input_Playback playback;
    std::string error;
    ASSERT_TRUE(playback.Load(file.c_str(), error)) << error << "\n" << text;
    ASSERT_NE(playback.Header("window"), nullptr);
    EXPECT_STREQ(playback.Header("window"), "320 200");
    ASSERT_EQ(playback.Pad_Count(), 2);
    EXPECT_STREQ(playback.Pad_Info(0).name, "First 'Pad'");
    EXPECT_EQ(playback.Pad_Info(0).buttons, 10);
    EXPECT_EQ(playback.Pad_Info(1).buttons, 32);
    EXPECT_EQ(playback.Frame_Count(), polls.size());
    Input_Frame played;
    for (size_t i = 0; i < polls.size(); ++i)
    {
        playback.Next_Frame(played);
        Expect_Same_Poll(polls[i], played, static_cast<int>(i));
    }
    // Past the end the last poll's state holds, without motion.
    playback.Next_Frame(played);
    Expect_Same_Poll(polls.back(), played, static_cast<int>(polls.size()));
    EXPECT_EQ(playback.Frames_Played(), polls.size() + 1);
}

TEST(RecordingTest, AHandWrittenRecordingReadsAsItSays)
{
    const char* text = "kestrova-demo 1\n"
                       "# start a game, then fly\n"
                       "window 1280 720\n"
                       "pad 0 4 \"Hand Pad\"\n"
                       "\n"
                       "10 +return mouse=0.5,0.25   # Return down\n"
                       "12 -return +np5 +#183 +A +7 +mouse1 move=4,-6\n"
                       "12 pad0.x=0 +pad0.b2 pad0.pov0=27000 touch=0.1,0.85;0.9,0.9 caps=1\n"
                       "13 lost=keyboard lost=pad0\n"
                       "14 typed=h,e,#14\n"
                       "20 touch=none -mouse1 pad0.in=4,Hand\\x20Pad -pad0.b2 pad0.x=100\n"
                       "30 end\n";
    Input_Playback playback;
    std::string error;
    ASSERT_TRUE(playback.Load_Text(text, error)) << error;
    EXPECT_EQ(playback.Frame_Count(), 30u);
    EXPECT_STREQ(playback.Header("window"), "1280 720");
    EXPECT_EQ(playback.Header("frames"), nullptr);
    std::vector<Input_Frame> frames(31);
    for (Input_Frame& frame : frames)
        playback.Next_Frame(frame);

    EXPECT_FALSE(frames[9].keys[28]);
    EXPECT_EQ(frames[9].mouse_x, 0.0f);
    EXPECT_TRUE(frames[10].keys[28] && frames[11].keys[28] && !frames[12].keys[28]);
    EXPECT_EQ(frames[11].mouse_x, 0.5f);
    EXPECT_EQ(frames[11].mouse_y, 0.25f);
    for (int code : {76, 183, 30, 8})
        EXPECT_TRUE(frames[12].keys[code] && frames[29].keys[code]) << code;
    EXPECT_EQ(frames[12].mouse_reading.dx, 4);
    EXPECT_EQ(frames[12].mouse_reading.dy, -6);
    EXPECT_EQ(frames[13].mouse_reading.dx, 0); // motion lasts one poll
    EXPECT_TRUE(frames[12].mouse_reading.buttons[1] && frames[19].mouse_reading.buttons[1]);
    EXPECT_FALSE(frames[20].mouse_reading.buttons[1]);
    EXPECT_EQ(frames[12].pad_count, 1);
    EXPECT_EQ(frames[12].pad_reading[0].x, 0);
    EXPECT_EQ(frames[12].pad_reading[0].pov[0], 27000);
    EXPECT_TRUE(frames[12].pad_reading[0].buttons[2]);
    EXPECT_EQ(frames[20].pad_reading[0].x, 100);
    EXPECT_EQ(frames[12].touch_count, 2);
    EXPECT_EQ(frames[12].touch_x[1], 0.9f);
    EXPECT_EQ(frames[19].touch_count, 2);
    EXPECT_EQ(frames[20].touch_count, 0);
    EXPECT_TRUE(frames[12].caps_lock && frames[25].caps_lock);
    EXPECT_EQ(frames[12].keyboard, INPUT_READ);
    EXPECT_EQ(frames[13].keyboard, INPUT_LOST);
    EXPECT_EQ(frames[13].pad[0], INPUT_LOST);
    EXPECT_EQ(frames[14].keyboard, INPUT_READ);
    EXPECT_EQ(std::vector<uint8_t>(frames[12].typed, frames[12].typed + frames[12].typed_count),
              (std::vector<uint8_t>{76, 183, 30, 8})); // Return went up; the rest in the order of the items
    EXPECT_EQ(frames[13].typed_count, 0);
    EXPECT_EQ(std::vector<uint8_t>(frames[14].typed, frames[14].typed + frames[14].typed_count),
              (std::vector<uint8_t>{35, 18, 14}));
    EXPECT_EQ(frames[10].typed_count, 1);
    EXPECT_EQ(frames[14].pad[0], INPUT_NO_DEVICE) << "a pad that cannot be read is pulled out";
    EXPECT_FALSE(frames[19].pad_attached[0]);
    EXPECT_EQ(frames[19].pad_reading[0].x, 32768) << "and reads as released";
    EXPECT_EQ(frames[20].pad[0], INPUT_READ);
    EXPECT_EQ(frames[20].pad_event[0], PAD_PLUGGED_IN);
    EXPECT_STREQ(frames[20].pad_info[0].name, "Hand Pad");
    EXPECT_EQ(frames[21].pad_event[0], 0);

    // Without an end item the recording ends after its last frame line.
    ASSERT_TRUE(playback.Load_Text("kestrova-demo 1\n5 +a\n5 -a\n", error)) << error;
    EXPECT_EQ(playback.Frame_Count(), 6u);
    ASSERT_TRUE(playback.Load_Text("kestrova-demo 1\nwindow 1 1\n", error)) << error;
    EXPECT_EQ(playback.Frame_Count(), 0u);
}

TEST(RecordingTest, LinesThatCannotBeReadAreRefusedWithTheirNumber)
{
    struct Case
    {
        const char* text;
        const char* error;
    } cases[] = {
        {"", "not a recording"},
        {"window 1 1\n0 +a\n", "line 1: not a recording"},
        {"kestrova-demo 2\n", "line 1: not a recording"},
        {"kestrova-demo 1\n0 +bogus\n", "line 2: unknown key \"+bogus\""},
        {"kestrova-demo 1\n0 +\n", "line 2: unknown key \"+\""},
        {"kestrova-demo 1\n0 +#0\n", "no such scan code"},
        {"kestrova-demo 1\n0 +#256\n", "no such scan code"},
        {"kestrova-demo 1\n5 +a\n4 -a\n", "line 3: frame 4 comes after frame 5"},
        {"kestrova-demo 1\n12x +a\n", "line 2: a frame line begins with its frame number"},
        {"kestrova-demo 1\n99999999999 +a\n", "line 2: a frame line begins"},
        {"kestrova-demo 1\n3 end\n4 +a\n", "line 3: a frame line after the end"},
        {"kestrova-demo 1\n0 +a\nwindow 1 1\n", "line 3: expected a frame line"},
        {"kestrova-demo 1\n0 +pad0.b0\n", "no such pad (pads come from the header's pad lines and padN.in)"},
        {"kestrova-demo 1\npad 0 4 \"p\"\n0 +pad0.b32\n", "no such pad button"},
        {"kestrova-demo 1\npad 0 4 \"p\"\n0 pad1.x=0\n", "no such pad"},
        {"kestrova-demo 1\npad 0 4 \"p\"\n0 pad0.w=0\n", "no such pad axis"},
        {"kestrova-demo 1\npad 0 4 \"p\"\n0 pad0.x=65536\n", "an axis is 0 to 65535"},
        {"kestrova-demo 1\npad 0 4 \"p\"\n0 pad0.pov1=36000\n", "a hat is -1 or 0 to 35999"},
        {"kestrova-demo 1\npad 1 4 \"p\"\n", "line 2: pads are listed in order from pad 0"},
        {"kestrova-demo 1\npad 0 33 \"p\"\n", "a pad line is"},
        {"kestrova-demo 1\npad zero\n", "a pad line is"},
        {"kestrova-demo 1\n0 mouse=1\n", "mouse=X,Y takes two numbers"},
        {"kestrova-demo 1\n0 mouse=1,y\n", "mouse=X,Y takes two numbers"},
        {"kestrova-demo 1\n0 move=1\n", "move=DX,DY[,DZ]"},
        {"kestrova-demo 1\n0 move=1,2,3,4\n", "move=DX,DY[,DZ]"},
        {"kestrova-demo 1\n0 touch=1,2;3\n", "touch=X,Y;X,Y"},
        {"kestrova-demo 1\n0 touch=0,0;0,0;0,0;0,0;0,0;0,0;0,0;0,0;0,0;0,0;0,0\n", "at most 10 fingers"},
        {"kestrova-demo 1\n0 caps=2\n", "caps= takes 0 or 1"},
        {"kestrova-demo 1\n0 pad0.out\n", "no such pad"},
        {"kestrova-demo 1\n0 pad1.in=4,Pad\n", "no such pad"},
        {"kestrova-demo 1\n0 pad0.in=4,Pad\n0 pad2.in=4,Pad\n", "line 3: no such pad"},
        {"kestrova-demo 1\n0 pad0.in=33,Pad\n", "padN.in=BUTTONS,NAME takes a button count and a name"},
        {"kestrova-demo 1\n0 pad0.in=4\n", "padN.in=BUTTONS,NAME takes"},
        {"kestrova-demo 1\n0 pad0.in=4,Bad\\x2\n", "padN.in=BUTTONS,NAME takes"},
        {"kestrova-demo 1\n0 lost=pad0\n", "lost= takes keyboard, mouse or padN"},
        {"kestrova-demo 1\n0 typed=a,zz\n", "typed=KEY,KEY... takes key names or #N"},
        {"kestrova-demo 1\n0 lost=screen\n", "lost= takes keyboard, mouse or padN"},
        {"kestrova-demo 1\n0 +mouse8\n", "no such mouse button"},
        {"kestrova-demo 1\n0 jump\n", "unknown item \"jump\""},
        {"kestrova-demo 1\n0 speed=3\n", "unknown item \"speed=3\""},
    };
    for (const Case& c : cases)
    {
        Input_Playback playback;
        std::string error;
        EXPECT_FALSE(playback.Load_Text(c.text, error)) << c.text;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.text << " gave: " << error;
    }
    Input_Playback playback;
    std::string error;
    EXPECT_FALSE(playback.Load("/nonexistent/demo.txt", error));
    EXPECT_EQ(error, "cannot be read");
}

TEST(RecordingTest, EveryKeyIsWrittenUnderANameThatReadsBackAsThatKey)
{
    const struct
    {
        int code;
        const char* name;
    } expected[] = {{28, "return"}, {30, "a"},   {3, "2"},     {79, "np1"},
                    {183, "#183"},  {12, "#12"}, {1, "escape"}};
    for (const auto& e : expected)
    {
        char name[16];
        Recording_Key_Name(e.code, name, sizeof name);
        EXPECT_STREQ(name, e.name) << e.code;
    }
    for (int code = 1; code < 256; ++code)
    {
        char name[16];
        Recording_Key_Name(code, name, sizeof name);
        Input_Playback playback;
        std::string error;
        ASSERT_TRUE(playback.Load_Text(std::string("kestrova-demo 1\n0 +") + name + "\n", error))
            << name << error;
        Input_Frame frame;
        playback.Next_Frame(frame);
        for (int other = 0; other < 256; ++other)
            EXPECT_EQ(frame.keys[other] != 0, other == code) << name << " gave " << other;
    }
}

TEST(InputSourceTest, TheInputSystemTakesItsPollsFromTheSourceAndShowsThemToTheTap)
{
    // The canonical text of these polls: a replay recorded again writes the very same file.
    const std::string text = "kestrova-demo 1\n"
                             "pad 0 4 \"Hand Pad\"\n"
                             "0 +return mouse=0.5,0.25 pad0.x=0 touch=0.1,0.85\n"
                             "1 +mouse0 move=2,3 caps=1\n"
                             "2 -return +pad0.b1 touch=none\n"
                             "3 lost=keyboard pad1.in=6,Late\\x20Pad\n"
                             "4 pad0.out +pad1.b5\n"
                             "5 lost=pad1\n"
                             "7 end\n";
    Input_Playback playback;
    std::string error;
    ASSERT_TRUE(playback.Load_Text(text, error)) << error;
    Scratch_Folder folder;
    Input_Recorder recorder;
    ASSERT_TRUE(recorder.Open(folder.File("again.txt").c_str()));
    Touch_State touch;
    {
        Input_System input;
        input.Attach(&playback, &recorder);
        input.Attach_Touch(&touch);
        ASSERT_TRUE(input.Create(0)); // no window: neither keyboard nor mouse has a device of its own
        ASSERT_EQ(input.Get_Controller_Count(), 1);
        Controller* pad = input.Get_Controller(0);
        EXPECT_STREQ(pad->Get_Name(), "Hand Pad");
        EXPECT_EQ(pad->Get_Button_Count(), 4);
        const Keyboard* keyboard = input.Get_Keyboard();
        const Mouse* mouse = input.Get_Mouse();
        ASSERT_TRUE(keyboard && mouse);

        input.Poll(); // 0
        EXPECT_EQ(keyboard->Key_Held(28), 1u);
        EXPECT_EQ(keyboard->Typed_Count(), 1);
        EXPECT_EQ(keyboard->Typed_Key(0), 28);
        EXPECT_EQ(mouse->Get_Position()[0], 0.5f);
        EXPECT_EQ(mouse->Get_Position()[1], 0.25f);
        EXPECT_NEAR(pad->Get_Axis(0), -1.0f, 1e-6f);
        EXPECT_EQ(touch.Get_Count(), 1);
        EXPECT_EQ(touch.Get_X(0), 0.1f);
        EXPECT_FALSE(input.Caps_Lock_On());
        input.Poll(); // 1
        EXPECT_EQ(keyboard->Key_Held(28), 2u);
        EXPECT_EQ(keyboard->Typed_Count(), 0);
        EXPECT_EQ(mouse->Button_Held(0), 1u);
        EXPECT_FLOAT_EQ(mouse->Get_Motion()[0], 1.0f); // (0 + 2) / 2
        EXPECT_TRUE(input.Caps_Lock_On());
        input.Poll(); // 2
        EXPECT_EQ(keyboard->Key_Held(28), 0u);
        EXPECT_TRUE(keyboard->Key_Released(28));
        EXPECT_EQ(pad->Button_Held(1), 1u);
        EXPECT_EQ(touch.Get_Count(), 0);
        EXPECT_EQ(input.Get_Controller_Changes(), 0u);
        input.Poll(); // 3: the keyboard lost lets go of everything; a pad plugged into a new place
        EXPECT_EQ(keyboard->Key_Held(28), 0u);
        ASSERT_EQ(input.Get_Controller_Count(), 2);
        Controller* late = input.Get_Controller(1);
        EXPECT_STREQ(late->Get_Name(), "Late Pad");
        EXPECT_EQ(late->Get_Button_Count(), 6);
        EXPECT_TRUE(late->Is_Attached());
        EXPECT_EQ(input.Get_Controller_Changes(), 1u);
        input.Poll(); // 4: pad 0 pulled out lets go of its button
        EXPECT_EQ(mouse->Button_Held(0), 4u);
        EXPECT_FALSE(pad->Is_Attached());
        EXPECT_EQ(pad->Button_Held(1), 0u);
        EXPECT_TRUE(pad->Button_Released(1));
        EXPECT_EQ(pad->Get_Axis(0), 0.0f);
        EXPECT_EQ(late->Button_Held(5), 1u);
        EXPECT_EQ(input.Get_Controller_Changes(), 2u);
        input.Poll(); // 5: the late pad cannot be read: gone too
        EXPECT_FALSE(late->Is_Attached());
        EXPECT_TRUE(late->Button_Released(5));
        EXPECT_EQ(input.Get_Controller_Changes(), 3u);
        input.Poll(); // 6
        EXPECT_EQ(input.Get_Controller(0), pad) << "a pulled-out pad keeps its place";
        EXPECT_EQ(pad->Button_Held(1), 0u);
    }
    ASSERT_TRUE(recorder.Finish());
    EXPECT_EQ(Read_File(folder.File("again.txt")), text);
}
} // namespace
