#pragma once
// The program group: five commands sent in one execute to the shell's program-group server.
#include <string>

class TDdeClientConv;

struct ProgramGroupTexts {
  std::string group;               // the Start Menu folder (script line 1)
  std::string title;               // the product title (script line 2)
  std::string command;             // the program's command line, quoted
  std::string uninstallerTitle;    // the title with " Uninstaller"
  std::string uninstallerCommand;  // the uninstaller's command line, quoted
};

// Asks "PROGMAN" for the group and its two items; when no conversation opens, tells the user
// so in one message and returns.
void CreateProgramGroup(TDdeClientConv& conversation, const ProgramGroupTexts& texts);

extern const char kProgramManagerFailed[];
