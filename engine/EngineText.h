#pragma once
// The installation run's own texts, one numbered table; each text is written once.
#include <string>

enum EngineTextId {
  kNoDestination,         // the destination box is empty
  kProgramFileMissing,    // %1: the program file's full path
  kCopyingFile,           // the status while a file entry is copied; the entry follows
  kGeneratingIcons,       // the status of the program-group step
  kClickDone,             // the status at the end of the run
  kNotEnoughSpace,        // %1: the drive; %2: kilobytes needed there; %3: kilobytes free
  kDestinationNotMade,    // %1: the destination; %2: the system's reason
  kCopyFailuresHead,      // %1: how many file entries failed
  kCopyFailureLine,       // %1: the entry as written; %2: its target; %3: the system's reason
  kCopyFailuresMore,      // %1: how many failures the list leaves out
  kRecordNotWritten,      // %1: the record's path; %2: the cause
  kRecordKept,            // %1: the record's path, which still holds an earlier installation's
  kNoGroupWithoutRecord,  // the program group is not made when a record is not whole
  kNotPrepared,           // %1: the error that stopped the main window's start-up
  kSystemError,           // %1: a system error code without a text of its own
  kGroupCommandRefused,     // %1: the program-group command the server refused
  kGroupCommandUnanswered,  // %1: the program-group command the server did not answer
  kNotFullDestination,    // %1: the destination as typed
  kUnsendableName,        // %1: kGroupNameWord or kTitleWord; %2: the text
  kGroupNameWord,         // "Start Menu folder"
  kTitleWord,             // "product title"
  kBadRecordName,         // %1: the name; %2: one of the four reasons below
  kRecordNameEmpty,
  kRecordNameCharacter,
  kRecordNameDots,
  kRecordNameDevice,
  kRecordNotOurs,         // %1: the existing file
  kPassesThroughLink,     // a copy failure's reason
  kNamesDevice,           // a copy failure's reason
  kNotFullTarget,         // a copy failure's reason
  kFolderInWindows,       // a copy failure's reason
  kFolderNotMade,         // a copy failure's reason; %1: the folder; %2: why
  kFileInTheWay,          // why a folder was not made
  kTempLeft,              // %1: a temporary copy that could not be deleted
  kRecordThroughLink,     // why a record is not written
  kKeptHead,              // %1: how many files were kept
  kKeptLine,              // %1: the file kept
  kShareDestination,      // %1: the destination as typed
  kBadShortcutName,       // %1: kGroupNameWord or kTitleWord; %2: the text; %3: a reason below
  kShortcutNameEmpty,
  kGroupNameCharacter,
  kTitleCharacter,
  kShortcutNameEdge,
  kBadProgramFile,        // %1: script line 3; %2: one of the reasons below or kRecordNameDevice
  kProgramFileUnsendable,
  kProgramFileNotBelow,
  // The log's lines.
  kLogCommandLine,        // %1: the whole command line
  kLogValues,             // %1: source; %2: destination; %3: Start Menu folder
  kLogDestinationMade,    // %1: the destination
  kLogCopied,             // %1: the entry as written; %2: its target; %3: bytes
  kLogNotCopied,          // %1: the entry as written; %2: its target; %3: the reason
  kLogKept,               // %1: the target kept
  kLogSkipped,            // %1: the script line's number; %2: the line
  kLogRecordWritten,      // %1: the record's path
  kLogGroupCommand,       // %1: the command; %2: the server's answer
  kLogGroupIncomplete,    // %1: why
  kLogRegistered,         // %1: the hive; %2: the key
  kLogNotRegistered,      // %1: the system's reason
  kLogInstalled,          // the end of an unattended run, by its exit code
  kLogNothingChanged,
  kLogInstalledWithFailures,
};

// The text of the table with %1, %2 and %3 replaced by the arguments.
std::string EngineText(EngineTextId id, const std::string& a1 = std::string(),
                       const std::string& a2 = std::string(), const std::string& a3 = std::string());
