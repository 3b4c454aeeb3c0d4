#pragma once
// The program group of an installation: its five commands sent to the shell's program-group
// server, and the user told when the group could not be made.
#include <string>

#include "dde/ProgramManager.h"
#include "setupcore/GroupCommands.h"

using setupcore::ProgramGroupTexts;

// Asks "PROGMAN" for the group and its two items. When no conversation opens, or the server
// refuses or does not answer a needed command, tells the user so in one message (unless
// `quiet`) and returns; the run goes on either way.
ProgramGroupOutcome CreateProgramGroup(TDdeClientConv& conversation, const ProgramGroupTexts& texts,
                                       bool quiet = false, const GroupAnswers& answers = nullptr);

// The one sentence a log or a message gives for the outcome; empty for a complete group.
std::string ProgramGroupProblem(const ProgramGroupOutcome& outcome);

extern const char kProgramManagerFailed[];
