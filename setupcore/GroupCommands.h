#pragma once
// The program group: the five commands that ask the shell's program-group server for the group
// and its two items, and the one that deletes a group again.
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

// Whether the server's syntax can carry a name or title at all. A double quote would end a
// quoted argument early and a bracket would end the command, quoted or not, so such a text
// could make the server carry out commands of someone else's choosing.
bool IsSendableName(const std::string& text);

// A name or title as an argument of a command: byte for byte as it is, unless it holds a comma
// or a parenthesis, which would split the argument or close the command; then in double
// quotes, which the server reads as one argument. Only for a sendable text.
std::string CommandArgument(const std::string& text);

// One command of the group step. Each goes to the server in an execute of its own: the shell
// of Wine carries out only the first command of an execute, and an answer a command can then
// call its own tells which one the server refused.
struct GroupStep {
  std::string command;
  // Whether a refusal leaves the group without what it needs, so the steps after it are not
  // sent and the user is told. ReplaceItem is refused for an item that is not there yet,
  // which is what a first installation meets, and nothing depends on it.
  bool needed = true;
};

// CreateGroup, ShowGroup, ReplaceItem and the two AddItem commands, in the order they are sent.
// The group and the titles must be sendable.
std::vector<GroupStep> GroupSteps(const ProgramGroupTexts& texts);
// The same commands as texts alone.
std::vector<std::string> GroupCommands(const ProgramGroupTexts& texts);

// The command that deletes a group and everything in it; the group must be sendable.
std::string DeleteGroupCommand(const std::string& group);

}  // namespace setupcore
