// Controls: keyboard, joypad and touch merged into two axes and two press counters once a frame, with the
// bindings kept in "controls.txt".
#pragma once
#include <cstdint>

class Controller;
class Keyboard;
class Sprite;
class Touch_State;

// Binding slots.
enum Control_Binding
{
    BIND_LEFT = 0,
    BIND_RIGHT,
    BIND_UP,
    BIND_DOWN,
    BIND_FIRE,
    BIND_USE,
    BIND_PAD_X, // pad axis index, negative = inverted
    BIND_PAD_Y,
    BIND_PAD_FIRE, // pad button index
    BIND_PAD_USE,
    BIND_COUNT
};

struct Controls
{
    Controls() = default;
    Controls(const Controls&) = delete;
    Controls& operator=(const Controls&) = delete;
    // Saves "controls.txt" (unless save_files is off) and deletes the touch sprite.
    ~Controls();

    int32_t pad_index = 0;
    Controller* pad = nullptr; // borrowed from the input system
    float x = 0.0f;            // +1 right
    float y = 0.0f;            // +1 up (thrust)
    int32_t fire_frames = 0;   // 1 in the frame fire goes down, 0 when released
    int32_t use_frames = 0;
    int32_t bindings[BIND_COUNT] = {30, 32, 17, 31, 28, 54, 0, -1, 0, 1};
    bool touch_visible = true;
    bool save_files = true;         // off for a replay, which leaves "controls.txt" as it was
    Sprite* touch_sprite = nullptr; // owned
    float stick_x = 0.1f, stick_y = 0.85f;
    float stick_radius = 0.05f;
    float dead_zone = 0.002f;
    float fire_x = 0.85f, fire_y = 0.9f;
    float use_x = 0.925f, use_y = 0.9f;
    float button_radius = 0.05f;

    bool Fire_Pressed() const { return fire_frames == 1; }
    bool Use_Pressed() const { return use_frames == 1; }
};

// The keys the key set-up page can bind, in the order it looks for a key that went down.
constexpr int CAPTURE_KEY_COUNT = 64;
extern const int k_capture_keys[CAPTURE_KEY_COUNT];
constexpr int KEY_SPACE = 57;

// Writes the bindings to the file (CR LF lines, through a temporary file renamed over the old one); false
// when it cannot be written.
bool Save_Controls(const Controls& controls, const char* file_name = "controls.txt");
// Appends the quoted display name of a scan code to the text (of the given capacity). Every name it gives
// reads back as the same key through the key-name reader.
void Append_Key_Name(char* text, int capacity, int scan_code);

// Reads a controls file into the record: keys, pad bindings and the overlay flag. A value that is missing,
// empty or unusable (an unknown key name, a word that is no whole number) keeps what the record holds.
// `pad_index` gets the file's pad_index when it has a usable one and is left alone otherwise. False when
// the file cannot be read.
bool Read_Controls(Controls& controls, const char* file_name, int32_t& pad_index);

// One frame of the controls from the keyboard (null when there is none), the selected pad and the touch
// points (read only while the touch sprite exists); aspect is the viewport's height / width.
void Sample_Controls(Controls& controls, const Keyboard* keyboard, const Touch_State* touch, float aspect);
