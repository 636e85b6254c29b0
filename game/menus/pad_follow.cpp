// The selected pad while pads are plugged in and pulled out: a pad plugged in when none was there becomes
// the selected one, and the joypad menu shows the name of the pad it steers with.
#include "engine/core/vorta_window.h"
#include "engine/input/input_system.h"
#include "game/app/app.h"

void App::Follow_Pads()
{
    Input_System* input = window ? window->Get_Input() : nullptr;
    if (!input || input->Get_Controller_Changes() == pad_changes_seen)
        return;
    pad_changes_seen = input->Get_Controller_Changes();
    // Controllers stay in the list once made, so the pad at the index is the one chosen before, or the
    // first when the index lies past the list.
    Select_Pad(controls.pad_index);
}
