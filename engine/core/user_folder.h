// Where the files the program writes live. While the program's folder can be written (a build folder, an
// unpacked archive) every file stays beside the program. An installed program, whose folder the player
// cannot write, keeps the files it writes (settings, controls, hiscores, the log, screen grabs) in the
// player's own folder, <data home>/<name> (~/.local/share/<name> by default), under the same names; a read
// looks there first and then beside the program and in the pack, so the files shipped beside the program
// serve until the player has copies of their own.
#pragma once
#include <cstddef>

// Chooses for this run, once at start before the engine starts: when the working directory (the program's
// folder) cannot be written, the player's folder <data home>/<name> is made and used, and the log starts its
// file anew there. True when the player's folder is in use.
bool Use_User_Folder(const char* name);
// Sets the player's folder directly (made when missing); null or "" keeps files beside the program again.
// False when the folder cannot be made (files then stay beside the program).
bool Set_User_Folder(const char* path);
// The player's folder with a trailing slash, or "" while files stay beside the program.
const char* Get_User_Folder();

// Where a file of this name is written: in the player's folder when there is one (relative names only),
// else the name as it is. False when the path does not fit.
bool User_Write_Path(const char* name, char* out, size_t size);
// The player's copy of the file when there is one (not empty), else false (read the name as usual: pack,
// then disk).
bool User_Read_Path(const char* name, char* out, size_t size);
// A file exists when the data pack holds it, or when it is in the player's folder or on disk.
bool Vorta_File_Exists(const char* name);
