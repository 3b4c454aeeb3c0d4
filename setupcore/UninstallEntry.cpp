#include "setupcore/UninstallEntry.h"

namespace setupcore {

namespace {
const size_t kMaxKeyName = 255;

// ASCII and the Western ANSI letters, which the system's file names treat as one in both cases.
char Fold(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  if (u >= 'a' && u <= 'z') return static_cast<char>(u - 32);
  if (u >= 0xE0 && u <= 0xFE && u != 0xF7) return static_cast<char>(u - 32);
  return c;
}

bool SamePathText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Fold(a[i]) != Fold(b[i])) return false;
  return true;
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }
}  // namespace

std::string UninstallKey(const std::string& recordName) {
  return "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + recordName;
}

bool IsUsableKeyName(const std::string& name) {
  if (name.empty() || name.size() > kMaxKeyName) return false;
  for (char c : name)
    if (c == '\\' || static_cast<unsigned char>(c) < 32) return false;
  return name.find_first_not_of(' ') != std::string::npos;
}

unsigned long SizeInKilobytes(unsigned long long bytes) {
  const unsigned long long kb = bytes / 1024 + (bytes % 1024 ? 1 : 0);
  return kb > 0xFFFFFFFFull ? 0xFFFFFFFFul : static_cast<unsigned long>(kb);
}

std::vector<EntryValue> UninstallEntryValues(const ProductEntry& e) {
  auto text = [](const char* name, const std::string& value) {
    EntryValue v;
    v.name = name;
    v.text = value;
    return v;
  };
  auto number = [](const char* name, unsigned long value) {
    EntryValue v;
    v.name = name;
    v.isNumber = true;
    v.number = value;
    return v;
  };
  return {
      text("DisplayName", e.title),
      text("UninstallString", Quoted(e.uninstaller)),
      text("QuietUninstallString", Quoted(e.uninstaller) + " /VERYSILENT"),
      text("InstallLocation", e.location),
      text("DisplayIcon", e.program),
      number("EstimatedSize", SizeInKilobytes(e.bytes)),
      number("NoModify", 1),
      number("NoRepair", 1),
  };
}

bool NamesUninstaller(const std::string& command, const std::string& removeExe) {
  const size_t start = command.find_first_not_of(' ');
  if (start == std::string::npos || removeExe.empty()) return false;
  std::string program;
  if (command[start] == '"') {
    const size_t close = command.find('"', start + 1);
    if (close == std::string::npos) return false;
    program = command.substr(start + 1, close - start - 1);
  } else {
    program = command.substr(start, command.find(' ', start) - start);
  }
  return SamePathText(program, removeExe);
}

}  // namespace setupcore
