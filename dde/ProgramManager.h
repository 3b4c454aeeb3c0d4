#pragma once
// The shell's program-group server ("PROGMAN" on topic "PROGMAN"), as the installer and the
// uninstaller talk to it: a conversation opened for one batch of commands, each command an
// execute of its own whose answer is awaited for a bounded time, and closed again.
#include <functional>
#include <string>
#include <vector>

#include "setupcore/GroupCommands.h"

class TDdeClientConv;

// What became of a batch of commands.
struct ProgramGroupOutcome {
  bool reached = false;  // a conversation with "PROGMAN" opened
  // The first needed command the server refused or did not answer in time; the commands after
  // it were not sent. Empty when every needed command was carried out.
  std::string failedCommand;
  bool answered = true;  // false: failedCommand got no answer in time
  bool Complete() const { return reached && failedCommand.empty(); }
};

// How long the server may take over one command: it makes or deletes a folder or a shortcut
// file, and Wine's shell opens a folder window for CreateGroup and ShowGroup.
const unsigned long kGroupCommandTimeoutMs = 15000;

// Each command sent and the server's answer to it ("accepted", "refused", "no answer"), as they
// come.
using GroupAnswers = std::function<void(const std::string& command, const std::string& answer)>;

// Opens the conversation (whose one retry starts the server program, only from the system's
// own directories), sends the steps in order, each in an execute of its own, and closes it,
// also when an error leaves. Wine's shell carries out only the first command of an execute, so
// commands are never joined. Stops at the first needed step that fails.
ProgramGroupOutcome SendToProgramManager(TDdeClientConv& conversation,
                                         const std::vector<setupcore::GroupStep>& steps,
                                         const GroupAnswers& answers = nullptr,
                                         unsigned long timeoutMs = kGroupCommandTimeoutMs);
