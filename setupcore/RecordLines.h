#pragma once
// The lines of the two records the installer leaves for remove.exe, as the copy plan writes them
// and the removal plan reads them back. unin.ini: the product title, then one line a thing
// installed (a full path), the program group's folder after kGroupMark, and where the copy pass
// last wrote after kLastTargetMark. The location record: kLocationRecordHead, the destination,
// then one line a contribution of the ini sections (a file of the destination, or the Windows
// directory itself).
#include <cstddef>
#include <string>

namespace setupcore {

const char kGroupMark = '+';
const char kLastTargetMark = ':';
const char kLocationRecordHead[] = ":run";

enum class UninstallLine {
  Title,       // the first line
  File,        // a thing the installation made, or a line of an ini section
  Group,       // kGroupMark and the program group's folder
  LastTarget,  // kLastTargetMark and the target prefix last set: information, not a thing
  Empty,
};

enum class LocationLine {
  Head,         // kLocationRecordHead
  Destination,  // the destination the installation went to
  Entry,        // a file the product may make there, or the Windows directory
};

// The kind of the line at `index` (counted from 0) of unin.ini.
inline UninstallLine UninstallLineKind(size_t index, const std::string& line) {
  if (index == 0) return UninstallLine::Title;
  if (line.empty()) return UninstallLine::Empty;
  if (line[0] == kGroupMark) return UninstallLine::Group;
  if (line[0] == kLastTargetMark) return UninstallLine::LastTarget;
  return UninstallLine::File;
}

inline LocationLine LocationLineKind(size_t index) {
  return index == 0 ? LocationLine::Head : index == 1 ? LocationLine::Destination : LocationLine::Entry;
}

// The lines as they are written: the mark, then the text as it is.
inline std::string GroupRecordLine(const std::string& groupFolder) { return kGroupMark + groupFolder; }
inline std::string LastTargetRecordLine(const std::string& prefix) { return kLastTargetMark + prefix; }

}  // namespace setupcore
