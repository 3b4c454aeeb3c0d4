#include "engine/EngineText.h"

#include "platform/Messages.h"

namespace {
// Texts that end a sentence in the error box go without the final full stop: the box adds it.
const TextEntry<EngineTextId> kTable[] = {
    {kNoDestination, "Please enter a destination directory"},
    {kProgramFileMissing, "The program file %1 was not found. The installation goes on without it."},
    {kCopyingFile, "Copying file: "},
    {kGeneratingIcons, "Generating Icons."},
    {kClickDone, "Click DONE to exit."},
    {kNotEnoughSpace,
     "There is not enough space on %1 for the installation: it needs %2 KB there, and %3 KB are "
     "free. Nothing has been installed"},
    {kDestinationNotMade,
     "The destination directory %1 cannot be created: %2. Nothing has been installed"},
    {kCopyFailuresHead, "%1 of the files could not be copied:"},
    {kCopyFailureLine, "%1 to %2: %3."},
    {kCopyFailuresMore, "... and %1 more."},
    {kRecordNotWritten, "The installation record %1 cannot be written: %2."},
    {kRecordKept, "%1 still holds the record of an earlier installation, which does not describe this one."},
    {kNoGroupWithoutRecord, "No program group has been made"},
    {kNotPrepared,
     "The installation cannot start, because the installer could not get ready when it started: "
     "%1"},
    {kSystemError, "System error %1"},
    {kGroupCommandRefused,
     "The Program Manager refused the command %1, so the program group is not complete."},
    {kGroupCommandUnanswered,
     "The Program Manager did not answer the command %1 in time, so the program group may not be "
     "complete."},
    {kNotFullDestination,
     "The destination directory %1 is not a full path: give a drive and a directory, such as "
     "C:\\Apps\\Widget, whose folder names neither end in a dot or a blank nor are names of "
     "devices. Nothing has been installed"},
    {kUnsendableName,
     "The %1 \"%2\" holds a double quote or a bracket, which the program group cannot take. "
     "Nothing has been installed"},
    {kGroupNameWord, "Start Menu folder"},
    {kTitleWord, "product title"},
    {kBadRecordName,
     "The setup script names the installation record \"%1\", which %2. Nothing has been "
     "installed"},
    {kRecordNameEmpty, "is empty"},
    {kRecordNameCharacter, "holds one of \\ / : * ? \" < > |"},
    {kRecordNameDots, "names the directory above"},
    {kRecordNameDevice, "is the name of a device"},
    {kRecordNotOurs,
     "%1 is already there and is not this product's installation record; it is not replaced. "
     "Nothing has been installed"},
    {kPassesThroughLink, "passes through a link"},
    {kNamesDevice, "names a device"},
    {kNotFullTarget, "is not a full path"},
    {kFolderInWindows, "names a folder, and the Windows directories take files only"},
    {kFolderNotMade, "the folder %1 cannot be created: %2"},
    {kFileInTheWay, "a file of that name is there"},
    {kTempLeft, "the temporary copy %1 could not be deleted"},
    {kRecordThroughLink,
     "it or its folder is a link, or the file there has another name as well, and it is not "
     "replaced"},
    {kKeptHead, "%1 of the files were kept, because the file already there is newer:"},
    {kKeptLine, "%1"},
    {kShareDestination,
     "The destination directory %1 is a network share or a device path, where the installation "
     "could not be removed again: give a drive and a directory, such as C:\\Apps\\Widget (a "
     "share can be given a drive letter first). Nothing has been installed"},
    {kBadShortcutName,
     "The %1 \"%2\" %3, so the program group's shortcuts would not have that name. Nothing has "
     "been installed"},
    {kShortcutNameEmpty, "is empty or has an empty part between backslashes"},
    {kGroupNameCharacter, "holds one of / : * ? \" < > | or a control character"},
    {kTitleCharacter, "holds one of \\ / : * ? \" < > | or a control character"},
    {kShortcutNameEdge, "begins or ends with a blank or ends with a dot, which would be dropped"},
    {kBadProgramFile,
     "The setup script names the program file \"%1\", which %2. Nothing has been installed"},
    {kProgramFileUnsendable,
     "holds a double quote or a bracket, which the program group cannot take"},
    {kProgramFileNotBelow,
     "is no file path below the destination: it is empty, or has a drive, a ':', a leading "
     "backslash, one of / * ? \" < > |, or a part that is \".\", \"..\" or ends in a dot or a "
     "blank"},
    {kLogCommandLine, "Command line: %1"},
    {kLogValues, "Source: %1; destination: %2; Start Menu folder: %3"},
    {kLogDestinationMade, "Destination directory ready: %1"},
    {kLogCopied, "Copied %1 to %2 (%3 bytes)"},
    {kLogNotCopied, "Not copied: %1 to %2: %3"},
    {kLogKept, "Kept %1: the file already there is newer"},
    {kLogSkipped, "Skipped line %1 (%2): it names no file to copy"},
    {kLogRecordWritten, "Record written: %1"},
    {kLogGroupCommand, "Program group: %1: %2"},
    {kLogGroupIncomplete, "The program group is not complete: %1"},
    {kLogRegistered, "Registered in the list of installed programs: %1\\%2"},
    {kLogNotRegistered, "Not registered in the list of installed programs: %1"},
    {kLogInstalled, "Exit code 0: installed"},
    {kLogNothingChanged, "Exit code 1: nothing was changed"},
    {kLogInstalledWithFailures, "Exit code 2: installed, but with failures (see above)"},
};
}  // namespace

std::string EngineText(EngineTextId id, const std::string& a1, const std::string& a2,
                       const std::string& a3) {
  return FillIn(TableText(kTable, id), a1, a2, a3);
}
