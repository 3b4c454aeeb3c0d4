#pragma once
// What an installation run may touch, decided on the texts alone: which destinations are full
// paths, which names the system takes as devices or would make under another name, which
// location-record names stay inside the Windows directory, and which files there are some other
// program's. Paths are walked a character at a time in the system's code page (CodePage.h).
#include <string>
#include <vector>

#include "setupcore/CodePage.h"

namespace setupcore {

// CON, PRN, AUX, NUL, COM0-9, LPT0-9, COM and LPT with the superscript digits 1-3 of the ANSI
// code page (B9, B2, B3), CLOCK$, CONIN$, CONOUT$, in any case, also with an extension or with
// trailing dots or blanks: the system opens the device whatever directory the name stands in.
bool IsDeviceName(const std::string& part);
// Whether any part of the path between backslashes or ':' is a device name.
bool NamesDevice(const std::string& path, const TCodePage& cp);

// Whether the system makes a file or folder of this name under the name itself: not empty, and
// not ending in a dot or a blank (the system drops those, so "a.", "a " and "..." name "a" or
// the folder itself).
bool IsKeptName(const std::string& part);

// A path the run may write to as it is: a drive and a root (X:\...) followed by parts that are
// kept names (IsKeptName, so neither "." nor ".."), with no ':' past the drive and none of
// / * ? " < > | or a control character (the system reads '/' as a backslash, so "../" would
// climb where no part is ".."). A directory (allowTrailingBackslash) may end in one backslash.
// Shares and the system's \\?\ and \\.\ forms are none: the uninstaller removes from drives.
bool IsFullPath(const std::string& path, const TCodePage& cp, bool allowTrailingBackslash = false);

// Whether a typed destination begins with two backslashes (or slashes): a share
// (\\server\share\dir) or the system's \\?\ and \\.\ forms, which FullDestination refuses.
bool IsShareForm(const std::string& typed);

// The destination as the run uses it: '/' read as '\', doubled backslashes and a trailing one
// dropped. False when that is no full path with at least one directory below the drive's root,
// or a part of it names a device.
bool FullDestination(const std::string& typed, std::string& full, const TCodePage& cp);

enum class RecordNameFault { kNone, kEmpty, kReservedCharacter, kDots, kDevice };
// Whether line 4 can name <Windows directory>\<name>.ini and nothing else. The ".ini" after it
// keeps a trailing dot or blank inside the file name.
RecordNameFault CheckRecordName(const std::string& name);
// The ini files the system and its own programs keep in the Windows directory.
bool IsStandardIniName(const std::string& name);

// Why a group name or a title cannot become the shortcuts' folder and file names
// (<programs>\<group>\<title>.lnk) as it is.
enum class ShortcutNameFault {
  kNone,
  kEmpty,              // empty, or (a group) an empty folder name between backslashes
  kReservedCharacter,  // one of / : * ? " < > | or a control character; a title's '\' too
  kEdge,               // begins or ends with a blank, or (a group) ends with a dot, or (a
                       // title) is dots alone: the program-group server or the system drops
                       // them, and the records would name another
  kDevice,             // a device name, which the system opens instead of a file
};
// The group may name a folder below another one ("Tools\Widget"): each part is checked.
ShortcutNameFault CheckGroupName(const std::string& group, const TCodePage& cp);
ShortcutNameFault CheckTitle(const std::string& title, const TCodePage& cp);

// Why line 3, the program file, cannot stand below the destination in the group's AddItem.
enum class ProgramFileFault {
  kNone,
  kUnsendable,  // a double quote or a bracket would end the quoted command early
  kNotBelow,    // empty, a drive or ':', a leading backslash, or a part that is no kept name
                // (".", "..", "a."), or a reserved character: no file path below the destination
  kDevice,
};
ProgramFileFault CheckProgramFile(const std::string& line, const TCodePage& cp);

// Whether the lines of an existing .ini are this product's own location record: ":run" and the
// same destination, compared by `same`.
template <class Same>
bool IsOwnLocationRecord(const std::vector<std::string>& lines, const std::string& destination,
                         Same same) {
  return lines.size() >= 2 && lines[0] == ":run" && same(lines[1], destination);
}

}  // namespace setupcore
