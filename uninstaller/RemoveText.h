#pragma once
// Messages of the uninstaller's own, each written once.
#include <string>

enum RemoveTextId {
  kNothingToRemove,     // no record names anything to remove
  kConfirmRemove,       // %1: the product title
  kRemovingFile,        // %1: the file's path
  kRemovingGroup,       // %1: the group's name
  kRemovingFolder,      // %1: the folder's path
  kRemoveDone,          // the run has ended
  kLeftBehind,          // heads the list of what was not removed
  kSharedQuestion,      // %1: the file's path
  kFolderNotEmpty,      // a folder of ours that holds other things too
  kNotAFolder,          // the group line names something that is no folder
  kNoProgramManager,    // the group could not be deleted through the server
  kGroupNotSendable,    // a group name the server's commands cannot carry
  kRecordUnreadable,    // %1: the file and the system's reason; nothing is removed
  kNoCleanUp,           // %1: the system's reason; remove.exe cannot remove itself
  kRecordNotSaved,      // %1: the error; what is left could not be written down
  kCopyChanged,         // the clean-up copy was not what was written to it
  kCleanUpNotStarted,   // %1: the system's reason; the clean-up copy could not be started
  kNoLocationRecord,    // %1: remove.exe's folder, which no location record names
  // The log's lines.
  kLogCommandLine,      // %1: the whole command line
  kLogRemoved,          // %1: what went
  kLogNotRemoved,       // %1: what stays and why
  kLogSharedKept,       // %1: a shared file an unattended run keeps
  kLogUnregistered,     // %1: the record name
  kLogStillRegistered,  // %1: the record name
  kLogAllRemoved,       // the end of an unattended run, by its exit code
  kLogNothingRemoved,
  kLogSomethingLeft,
};

std::string RemoveText(RemoveTextId id, const std::string& arg = std::string());
