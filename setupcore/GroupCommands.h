#pragma once
// The program group: the five commands that ask the shell's program-group server for the group
// and its two items, sent in one execute.
#include <string>
#include <vector>

namespace setupcore {

struct ProgramGroupTexts {
  std::string group;               // the Start Menu folder (script line 1)
  std::string title;               // the product title (script line 2)
  std::string command;             // the program's command line, quoted
  std::string uninstallerTitle;    // the title with " Uninstaller"
  std::string uninstallerCommand;  // the uninstaller's command line, quoted
};

// CreateGroup, ShowGroup, ReplaceItem and the two AddItem commands, in the order they are sent.
std::vector<std::string> GroupCommands(const ProgramGroupTexts& texts);

}  // namespace setupcore
