#include "setupcore/GroupCommands.h"

namespace setupcore {

namespace {
// ShowGroup's show command: shown and activated in its usual size and place.
const char kShowNormal[] = "1";
}  // namespace

bool IsSendableName(const std::string& text) {
  return text.find_first_of("\"[]") == std::string::npos;
}

std::string CommandArgument(const std::string& text) {
  if (text.find_first_of(",()") == std::string::npos) return text;
  return "\"" + text + "\"";
}

std::vector<GroupStep> GroupSteps(const ProgramGroupTexts& t) {
  // The command lines come quoted already. ShowGroup names the group: servers refuse it with
  // the show command alone.
  const std::string group = CommandArgument(t.group);
  return {
      {"[CreateGroup(" + group + ")]", true},
      {"[ShowGroup(" + group + "," + kShowNormal + ")]", true},
      {"[ReplaceItem(" + CommandArgument(t.title) + ")]", false},
      {"[AddItem(" + t.command + "," + CommandArgument(t.title) + ")]", true},
      {"[AddItem(" + t.uninstallerCommand + "," + CommandArgument(t.uninstallerTitle) + ")]", true},
  };
}

std::vector<std::string> GroupCommands(const ProgramGroupTexts& texts) {
  std::vector<std::string> commands;
  for (const GroupStep& step : GroupSteps(texts)) commands.push_back(step.command);
  return commands;
}

std::string DeleteGroupCommand(const std::string& group) {
  return "[DeleteGroup(" + CommandArgument(group) + ")]";
}

}  // namespace setupcore
