#pragma once
// What an installation run may touch, decided on the texts alone: which destinations are full
// paths, which names the system takes as devices, which location-record names stay inside the
// Windows directory, and which files there are some other program's.
#include <string>
#include <vector>

namespace setupcore {

// CON, PRN, AUX, NUL, COM1-9, LPT1-9, CLOCK$, CONIN$, CONOUT$, in any case, also with an
// extension or with trailing dots or blanks: the system opens the device whatever directory the
// name stands in.
bool IsDeviceName(const std::string& part);
// Whether any backslash-separated part of the path is a device name.
bool NamesDevice(const std::string& path);

// A path the run may write to as it is: a drive and a root (X:\...) or a share
// (\\server\share\...) followed by parts that are neither empty nor "." or "..", with no ':'
// past the drive and none of / * ? " < > | (the system reads '/' as a backslash, so "../" would
// climb where no part is ".."). A directory (allowTrailingBackslash) may end in one
// backslash.
bool IsFullPath(const std::string& path, bool allowTrailingBackslash = false);

// The destination as the run uses it: '/' read as '\', doubled backslashes and a trailing one
// dropped (a share's leading pair kept). False when that is no full path with at least one
// directory below the drive's root or the share.
bool FullDestination(const std::string& typed, std::string& full);

enum class RecordNameFault { kNone, kEmpty, kReservedCharacter, kDots, kDevice };
// Whether line 4 can name <Windows directory>\<name>.ini and nothing else.
RecordNameFault CheckRecordName(const std::string& name);
// The ini files the system and its own programs keep in the Windows directory.
bool IsStandardIniName(const std::string& name);

// Whether the lines of an existing .ini are this product's own location record: ":run" and the
// same destination, compared by `same`.
template <class Same>
bool IsOwnLocationRecord(const std::vector<std::string>& lines, const std::string& destination,
                         Same same) {
  return lines.size() >= 2 && lines[0] == ":run" && same(lines[1], destination);
}

}  // namespace setupcore
