#include "setupcore/GroupCommands.h"

namespace setupcore {

std::vector<std::string> GroupCommands(const ProgramGroupTexts& t) {
  // The texts go in as they are: no quoting is added and nothing inside them is escaped, so a
  // title with a comma or a ")" reaches the server unchanged. ShowGroup takes no group name.
  return {
      "[CreateGroup(" + t.group + ")]",
      "[ShowGroup(1)]",
      "[ReplaceItem(" + t.title + ")]",
      "[AddItem(" + t.command + "," + t.title + ")]",
      "[AddItem(" + t.uninstallerCommand + "," + t.uninstallerTitle + ")]",
  };
}

}  // namespace setupcore
