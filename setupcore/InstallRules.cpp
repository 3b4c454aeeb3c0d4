#include "setupcore/InstallRules.h"

#include "setupcore/GroupCommands.h"

namespace setupcore {

namespace {
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool ReservedCharacter(char c) {
  return c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|' ||
         static_cast<unsigned char>(c) < 0x20;
}

// A character no file or folder name holds: the reserved ones, ':' and '/', and with
// `backslash` a backslash too. A second byte of a two-byte character is none of them, and a lead
// byte at the very end has lost its second byte, so no name ends so.
bool HoldsReserved(const std::string& text, const TCodePage& cp, bool backslash) {
  const std::vector<bool> starts = CharacterStarts(text, cp);
  for (size_t i = 0; i < text.size(); ++i) {
    if (!starts[i]) continue;
    const char c = text[i];
    if (IsLead(cp, c) && i + 1 == text.size()) return true;
    if (c == ':' || c == '/' || ReservedCharacter(c) || (backslash && c == '\\')) return true;
  }
  return false;
}

bool IsDriveRoot(const std::string& path) {
  return path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
         path[1] == ':' && path[2] == '\\';
}

bool IsSlash(char c) { return c == '\\' || c == '/'; }

// The program-group server takes the blanks around an argument for the syntax's, and the
// system drops a trailing dot: either way the shortcut would be made under another name.
bool HasEdge(const std::string& part) {
  return part.front() == ' ' || part.back() == ' ' || part.back() == '.';
}
}  // namespace

bool IsDeviceName(const std::string& part) {
  std::string base = part.substr(0, part.find('.'));
  while (!base.empty() && (base.back() == ' ' || base.back() == '.')) base.pop_back();
  for (char& c : base) c = Upper(c);
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CLOCK$", "CONIN$", "CONOUT$"};
  for (const char* device : kDevices)
    if (base == device) return true;
  if (base.size() != 4 || (base.compare(0, 3, "COM") != 0 && base.compare(0, 3, "LPT") != 0))
    return false;
  // The system counts the superscript digits of the ANSI code page as digits here too.
  const unsigned char digit = static_cast<unsigned char>(base[3]);
  return (digit >= '0' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
}

bool NamesDevice(const std::string& path, const TCodePage& cp) {
  for (const std::string& part : Parts(path, cp)) {
    size_t start = 0;
    for (;;) {
      const size_t end = part.find(':', start);
      if (IsDeviceName(part.substr(start, end - start))) return true;
      if (end == std::string::npos) break;
      start = end + 1;
    }
  }
  return false;
}

bool IsKeptName(const std::string& part) {
  return !part.empty() && part.back() != '.' && part.back() != ' ';
}

bool IsFullPath(const std::string& path, const TCodePage& cp, bool allowTrailingBackslash) {
  if (!IsDriveRoot(path)) return false;
  std::string rest = path.substr(3);
  if (rest.empty()) return allowTrailingBackslash;  // the root itself
  if (allowTrailingBackslash && rest.back() == '\\' && CharacterStarts(rest, cp).back())
    rest.pop_back();
  if (HoldsReserved(rest, cp, false)) return false;
  for (const std::string& part : Parts(rest, cp))
    if (!IsKeptName(part)) return false;
  return true;
}

bool IsShareForm(const std::string& typed) {
  return typed.size() >= 2 && IsSlash(typed[0]) && IsSlash(typed[1]);
}

bool FullDestination(const std::string& typed, std::string& full, const TCodePage& cp) {
  const std::vector<bool> starts = CharacterStarts(typed, cp);
  std::string squeezed;
  bool afterSeparator = false;
  for (size_t i = 0; i < typed.size(); ++i) {
    const bool separator = starts[i] && IsSlash(typed[i]);
    if (!separator) squeezed += typed[i];
    else if (!afterSeparator) squeezed += '\\';
    afterSeparator = separator;
  }
  if (afterSeparator) squeezed.pop_back();
  // A drive's root is no place of its own: the records would make the uninstaller clear the
  // whole drive. IsFullPath wants a part below it.
  if (!IsFullPath(squeezed, cp) || NamesDevice(squeezed, cp)) return false;
  full = squeezed;
  return true;
}

RecordNameFault CheckRecordName(const std::string& name) {
  if (name.empty()) return RecordNameFault::kEmpty;
  for (char c : name)
    if (c == '\\' || c == '/' || c == ':' || ReservedCharacter(c))
      return RecordNameFault::kReservedCharacter;
  if (name == "..") return RecordNameFault::kDots;
  if (IsDeviceName(name)) return RecordNameFault::kDevice;
  return RecordNameFault::kNone;
}

bool IsStandardIniName(const std::string& name) {
  static const char* const kStandard[] = {
      "WIN",    "SYSTEM", "CONTROL", "PROGMAN", "PROTOCOL", "WINFILE", "DOSAPP", "MOUSE",
      "WININIT", "ODBC",  "ODBCINST", "DESKTOP", "MSMAIL",  "SETUP",   "WINHELP", "TELEPHON"};
  std::string upper = name;
  while (!upper.empty() && (upper.back() == ' ' || upper.back() == '.')) upper.pop_back();
  for (char& c : upper) c = Upper(c);
  for (const char* standard : kStandard)
    if (upper == standard) return true;
  return false;
}

ShortcutNameFault CheckGroupName(const std::string& group, const TCodePage& cp) {
  if (group.empty()) return ShortcutNameFault::kEmpty;
  if (HoldsReserved(group, cp, false)) return ShortcutNameFault::kReservedCharacter;
  for (const std::string& part : Parts(group, cp)) {
    if (part.empty()) return ShortcutNameFault::kEmpty;
    if (HasEdge(part)) return ShortcutNameFault::kEdge;
    if (IsDeviceName(part)) return ShortcutNameFault::kDevice;
  }
  return ShortcutNameFault::kNone;
}

ShortcutNameFault CheckTitle(const std::string& title, const TCodePage& cp) {
  if (title.empty()) return ShortcutNameFault::kEmpty;
  if (HoldsReserved(title, cp, true)) return ShortcutNameFault::kReservedCharacter;
  // ".lnk" follows the title, so a dot at its end stays ("Acme Inc..lnk"); dots alone would not.
  if (title.front() == ' ' || title.back() == ' ' ||
      title.find_first_not_of('.') == std::string::npos)
    return ShortcutNameFault::kEdge;
  // "<title>.lnk" is the device whatever the extension; "<title> Uninstaller.lnk" never is.
  if (IsDeviceName(title)) return ShortcutNameFault::kDevice;
  return ShortcutNameFault::kNone;
}

ProgramFileFault CheckProgramFile(const std::string& line, const TCodePage& cp) {
  if (!IsSendableName(line)) return ProgramFileFault::kUnsendable;
  if (line.empty() || HoldsReserved(line, cp, false)) return ProgramFileFault::kNotBelow;
  const std::vector<std::string> parts = Parts(line, cp);
  for (const std::string& part : parts)
    if (!IsKeptName(part)) return ProgramFileFault::kNotBelow;
  for (const std::string& part : parts)
    if (IsDeviceName(part)) return ProgramFileFault::kDevice;
  return ProgramFileFault::kNone;
}

}  // namespace setupcore
