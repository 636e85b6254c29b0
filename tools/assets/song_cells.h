// The cells of a song text: the four-field rows of a pattern ("C#4 01 40 A0F") and the compact steps
// of a track ("C#4v40xA0F"), parsed into XM cells.
#pragma once
#include "xm_writer.h"

#include <string>
#include <vector>

namespace assets
{
// One cell from its four fields: NOTE INSTRUMENT VOLUME EFFECT. False with the reason in `error`.
bool Parse_Cell(const std::vector<std::string>& fields, Xm_Cell& cell, std::string& error);

// One track step: a note ("C-4", "C#4"), "." for none or "=" for key off, then any of "iNN" (instrument,
// decimal), "vVV" (the volume column, as in a row) and "xEPP" (an effect), then "*N" to repeat the step
// N times; a step may also begin with its "v" or "x" ("x401": no note). Appends the cells; false with the
// reason in `error`.
bool Parse_Step(const std::string& word, std::vector<Xm_Cell>& cells, std::string& error);

// Shifts a note by semitones; key off and no note stay as they are. False when it leaves C-0 to B-7.
bool Transpose(Xm_Cell& cell, int semitones);
} // namespace assets
