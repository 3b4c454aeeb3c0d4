#include "setupcore/InstallRules.h"

namespace setupcore {

namespace {
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool ReservedCharacter(char c) {
  return c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|' ||
         static_cast<unsigned char>(c) < 0x20;
}

// The length of "X:\" or "\\server\share\" at the start of the path; 0 when it has neither.
size_t RootLength(const std::string& path) {
  const bool letter = path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') ||
                                           (path[0] >= 'a' && path[0] <= 'z'));
  if (letter && path[1] == ':' && path[2] == '\\') return 3;
  if (path.compare(0, 2, "\\\\") != 0) return 0;
  const size_t server = path.find('\\', 2);
  if (server == std::string::npos || server == 2) return 0;
  const size_t share = path.find('\\', server + 1);
  if (share == std::string::npos || share == server + 1) return 0;
  return share + 1;
}
}  // namespace

bool IsDeviceName(const std::string& part) {
  std::string base = part.substr(0, part.find('.'));
  while (!base.empty() && (base.back() == ' ' || base.back() == '.')) base.pop_back();
  for (char& c : base) c = Upper(c);
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CLOCK$", "CONIN$", "CONOUT$"};
  for (const char* device : kDevices)
    if (base == device) return true;
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
         base[3] >= '1' && base[3] <= '9';
}

bool NamesDevice(const std::string& path) {
  size_t start = 0;
  for (;;) {
    const size_t end = path.find_first_of("\\:", start);
    if (IsDeviceName(path.substr(start, end - start))) return true;
    if (end == std::string::npos) return false;
    start = end + 1;
  }
}

bool IsFullPath(const std::string& path, bool allowTrailingBackslash) {
  const size_t root = RootLength(path);
  if (root == 0) return false;
  std::string rest = path.substr(root);
  if (rest.empty()) return allowTrailingBackslash;  // the root itself
  if (allowTrailingBackslash && rest.back() == '\\') rest.pop_back();
  size_t start = 0;
  for (;;) {
    const size_t end = rest.find('\\', start);
    const std::string part = rest.substr(start, end - start);
    if (part.empty() || part == "." || part == "..") return false;
    for (char c : part)
      if (c == ':' || c == '/' || ReservedCharacter(c)) return false;
    if (end == std::string::npos) return true;
    start = end + 1;
  }
}

bool FullDestination(const std::string& typed, std::string& full) {
  std::string path = typed;
  for (char& c : path)
    if (c == '/') c = '\\';
  const bool share = path.compare(0, 2, "\\\\") == 0;
  std::string squeezed = share ? "\\\\" : "";
  for (size_t i = squeezed.size(); i < path.size(); ++i)
    if (!(path[i] == '\\' && !squeezed.empty() && squeezed.back() == '\\')) squeezed += path[i];
  while (squeezed.size() > 2 && squeezed.back() == '\\') squeezed.pop_back();
  // A drive's root or a bare share is no place of its own: the records would make the
  // uninstaller clear the whole drive.
  const size_t root = RootLength(squeezed + "\\");
  if (root == 0 || root > squeezed.size() || !IsFullPath(squeezed)) return false;
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

}  // namespace setupcore
