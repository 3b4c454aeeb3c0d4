#include "setupcore/GroupCommands.h"

namespace setupcore {

bool IsSendableName(const std::string& text) {
  return text.find_first_of("\"[]") == std::string::npos;
}

std::string CommandArgument(const std::string& text) {
  if (text.find_first_of(",()") == std::string::npos) return text;
  return "\"" + text + "\"";
}

std::vector<std::string> GroupCommands(const ProgramGroupTexts& t) {
  // The command lines come quoted already. ShowGroup takes no group name.
  return {
      "[CreateGroup(" + CommandArgument(t.group) + ")]",
      "[ShowGroup(1)]",
      "[ReplaceItem(" + CommandArgument(t.title) + ")]",
      "[AddItem(" + t.command + "," + CommandArgument(t.title) + ")]",
      "[AddItem(" + t.uninstallerCommand + "," + CommandArgument(t.uninstallerTitle) + ")]",
  };
}

std::string DeleteGroupCommand(const std::string& group) {
  return "[DeleteGroup(" + CommandArgument(group) + ")]";
}

}  // namespace setupcore
