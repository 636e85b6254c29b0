// Key names and typed characters for DirectInput scan codes: the names used in settings and control files,
// and the UK keyboard's character table for text entry.
#pragma once

// Scan code of a key name; 0 for a name the table does not know. Names are compared without regard to case,
// except the numeric-pad prefix "np", which must be lower case. A one-character name is the key that types
// it.
int Key_From_Name(const char* name);

// The first name of the key-name table for the scan code ("np" names included), which Key_From_Name reads
// back as that code; null when the table has none.
const char* Name_From_Key(int scan_code);

// The character the key types (shifted when shift is given, else the caps-lock character when caps lock is
// given), 0 when the key types nothing.
char Char_From_Key(int scan_code, bool shift, bool caps_lock);

// The key that types the character, plain or shifted; 0 when no key does.
int Key_From_Char(char character);
