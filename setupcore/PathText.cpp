#include "setupcore/PathText.h"

#include <algorithm>
#include <vector>

namespace setupcore {

namespace {
const size_t kMaxPartLength = 255;

// The last ':' or backslash that begins a character; npos when there is none.
size_t LastSeparator(const std::string& path, const TCodePage& cp) {
  const std::vector<bool> starts = CharacterStarts(path, cp);
  for (size_t i = path.size(); i-- > 0;)
    if (starts[i] && (path[i] == ':' || path[i] == '\\')) return i;
  return std::string::npos;
}

const TCodePage& Western() {
  static const TCodePage western = WesternCodePage();
  return western;
}
}  // namespace

std::string DirectoryPart(const std::string& path, const TCodePage& cp) {
  const size_t sep = LastSeparator(path, cp);
  return sep == std::string::npos ? std::string() : path.substr(0, sep + 1);
}

std::string NamePart(const std::string& path, const TCodePage& cp) {
  const size_t sep = LastSeparator(path, cp);
  const size_t start = sep == std::string::npos ? 0 : sep + 1;
  return path.substr(start, kMaxPartLength);
}

std::string DirectoryPart(const std::string& path) { return DirectoryPart(path, Western()); }

std::string NamePart(const std::string& path) { return NamePart(path, Western()); }

std::string ExtensionPart(const std::string& name) {
  size_t dot = name.rfind('.');
  if (dot == std::string::npos) return std::string();
  size_t sep = name.find_last_of(":\\");
  if (sep != std::string::npos && sep > dot) return std::string();
  return name.substr(dot, kMaxPartLength);
}

std::string JoinPath(const std::string& dir, const std::string& name) {
  const char* separator = (!dir.empty() && dir.back() == '\\') ? "" : "\\";
  return dir + separator + name;
}

std::string DropLeadingDirectory(const std::string& dir) {
  if (dir == "\\") return std::string();
  std::string rest = dir;
  const bool leadingBackslash = !rest.empty() && rest[0] == '\\';
  if (leadingBackslash) rest.erase(0, 1);
  // Takes off the "...\" of an earlier step, and equally four characters of a name that
  // begins with a dot.
  if (!rest.empty() && rest[0] == '.') rest.erase(0, 4);
  size_t sep = rest.find('\\');
  rest = sep == std::string::npos ? std::string() : "...\\" + rest.substr(sep + 1);
  return leadingBackslash ? "\\" + rest : rest;
}

std::string FitPathToWidth(const std::string& path, const TextMeasure& measure, int maxWidth) {
  std::string result = path;
  std::string dir = DirectoryPart(path);
  const std::string name = NamePart(path);
  std::string drive;
  if (dir.size() >= 2 && dir[1] == ':') {
    drive = dir.substr(0, 2);
    dir.erase(0, 2);
  }
  while ((!dir.empty() || !drive.empty()) && measure(result) > maxWidth) {
    if (dir == "\\...\\") {
      drive.clear();
      dir = "...\\";
    } else if (dir.empty()) {
      drive.clear();
    } else {
      dir = DropLeadingDirectory(dir);
    }
    result = drive + dir + name;
  }
  return result;
}

int PathDepth(const std::string& path) {
  return static_cast<int>(std::count(path.begin(), path.end(), '\\'));
}

}  // namespace setupcore
