#pragma once
// The program group: five commands sent in one execute to the shell's program-group server.
#include <string>

#include "setupcore/GroupCommands.h"

class TDdeClientConv;

using setupcore::ProgramGroupTexts;

// Asks "PROGMAN" for the group and its two items; when no conversation opens, tells the user
// so in one message and returns.
void CreateProgramGroup(TDdeClientConv& conversation, const ProgramGroupTexts& texts);

extern const char kProgramManagerFailed[];
