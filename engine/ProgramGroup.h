#pragma once
// The program group: its commands sent to the shell's program-group server, one execute each,
// every answer awaited for a bounded time.
#include <functional>
#include <string>

#include "setupcore/GroupCommands.h"

class TDdeClientConv;

using setupcore::ProgramGroupTexts;

// What became of the group step.
struct ProgramGroupOutcome {
  bool reached = false;  // a conversation with "PROGMAN" opened
  // The first needed command the server refused or did not answer in time; the commands after
  // it were not sent. Empty when every needed command was carried out.
  std::string failedCommand;
  bool answered = true;  // false: failedCommand got no answer in time
  bool Complete() const { return reached && failedCommand.empty(); }
};

// How long the server may take over one command: it makes a folder or a shortcut file, and
// Wine's shell opens a folder window for CreateGroup and ShowGroup.
const unsigned long kGroupCommandTimeoutMs = 15000;

// Each command sent and the server's answer to it ("accepted", "refused", "no answer"), as they
// come.
using GroupAnswers = std::function<void(const std::string& command, const std::string& answer)>;

// Asks "PROGMAN" for the group and its two items. When no conversation opens, or the server
// refuses or does not answer a needed command, tells the user so in one message (unless
// `quiet`) and returns; the run goes on either way.
ProgramGroupOutcome CreateProgramGroup(TDdeClientConv& conversation, const ProgramGroupTexts& texts,
                                       bool quiet = false, const GroupAnswers& answers = nullptr);

// The one sentence a log or a message gives for the outcome; empty for a complete group.
std::string ProgramGroupProblem(const ProgramGroupOutcome& outcome);

extern const char kProgramManagerFailed[];
