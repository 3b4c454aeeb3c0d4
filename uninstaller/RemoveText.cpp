#include "uninstaller/RemoveText.h"

#include "platform/Messages.h"

namespace {
const TextEntry<RemoveTextId> kTable[] = {
    {kNothingToRemove, "There is nothing to remove"},
    {kConfirmRemove, "Remove %1 and all of its components?"},
    {kRemovingFile, "Removing file: %1"},
    {kRemovingGroup, "Removing program group: %1"},
    {kRemovingFolder, "Removing folder: %1"},
    {kRemoveDone, "Click DONE to exit."},
    {kLeftBehind, "These were not removed:"},
    {kSharedQuestion, "%1\n\nOther programs may use this file too. Remove it?"},
    {kFolderNotEmpty, "the folder holds other things too; it stays"},
    {kNotAFolder, "not a folder; left alone"},
    {kNoProgramManager, "the Program Manager could not be asked to delete the group"},
    {kGroupNotSendable, "the Program Manager cannot be asked about a group of this name; the folder stays"},
    {kRecordUnreadable, "%1\n\nThis file cannot be read, and it may be the record of this installation. Nothing is removed"},
    {kNoCleanUp, "remove.exe cannot remove itself: %1"},
    {kRecordNotSaved, "what is left could not be recorded: %1"},
    {kCopyChanged, "its copy was changed by another program"},
    {kCleanUpNotStarted, "remove.exe could not start the copy of itself that removes it, and stays: %1"},
    {kNoLocationRecord, "No location record in the Windows directory names %1, the folder of this remove.exe. Nothing is removed"},
    {kLogCommandLine, "Command line: %1"},
    {kLogRemoved, "Removed: %1"},
    {kLogNotRemoved, "Not removed: %1"},
    {kLogSharedKept, "Kept %1: other programs may use it"},
    {kLogUnregistered, "Deleted from the list of installed programs: %1"},
    {kLogStillRegistered, "No entry %1 of this remove.exe in the list of installed programs"},
    {kLogAllRemoved, "Exit code 0: all removed"},
    {kLogNothingRemoved, "Exit code 1: nothing was removed"},
    {kLogSomethingLeft, "Exit code 2: something was left; the records hold it"},
};
}  // namespace

std::string RemoveText(RemoveTextId id, const std::string& arg) {
  return FillIn(TableText(kTable, id), arg);
}
