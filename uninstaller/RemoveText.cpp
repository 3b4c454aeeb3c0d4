#include "uninstaller/RemoveText.h"

#include "ui/Messages.h"

std::string RemoveText(RemoveTextId id, const std::string& arg) {
  switch (id) {
    case kNothingToRemove:
      return "There is nothing to remove";
    case kConfirmRemove:
      return Format("Remove %s and all of its components?", arg.c_str());
    case kRemovingFile:
      return Format("Removing file: %s", arg.c_str());
    case kRemovingGroup:
      return Format("Removing program group: %s", arg.c_str());
    case kRemoveDone:
      return "Click DONE to exit.";
    case kLeftBehind:
      return "These were not removed:";
    case kSharedQuestion:
      return Format("%s\n\nOther programs may use this file too. Remove it?", arg.c_str());
    case kFolderNotEmpty:
      return "the folder holds other things too; it stays";
    case kNotAFolder:
      return "not a folder; left alone";
    case kNoProgramManager:
      return "the Program Manager could not be asked to delete the group";
    case kNoCleanUp:
      return Format("remove.exe cannot remove itself: %s", arg.c_str());
    case kRecordNotSaved:
      return Format("what is left could not be recorded: %s", arg.c_str());
  }
  return std::string();
}
