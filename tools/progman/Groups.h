#pragma once
// Carries out the program-group commands where and as the shell does: a group is a directory of
// the user's Start Menu programs folder, an item is <title>.lnk in it. The commands of an
// execute run in order up to the first one refused. DeleteGroup takes the group with
// everything in it, as the shell's does.
#include <string>
#include <vector>

#include "Macro.h"

class ProgramGroups {
public:
  // `programs` is the Start Menu programs folder, without a trailing backslash.
  explicit ProgramGroups(const std::string& programs) : programs_(programs) {}

  // Runs the commands in order and stops at the first that cannot be carried out; false then.
  // `group` is the conversation's current group, which CreateGroup and ShowGroup choose.
  bool Run(const std::vector<MacroCommand>& commands, std::string& group) const;

private:
  bool CreateGroup(const std::vector<std::string>& args, std::string& group) const;
  bool ShowGroup(const std::vector<std::string>& args, std::string& group) const;
  bool ReplaceItem(const std::vector<std::string>& args, const std::string& group) const;
  bool AddItem(const std::vector<std::string>& args, const std::string& group) const;
  bool DeleteGroup(const std::vector<std::string>& args, std::string& group) const;
  std::string GroupDir(const std::string& group) const;

  std::string programs_;
};
