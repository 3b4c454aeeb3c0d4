#include "support/Records.h"

#include <windows.h>

#include "support/Files.h"

std::vector<std::string> RecordLines(const std::string& path) {
  std::vector<std::string> lines;
  if (!FileExists(path)) return lines;
  const std::string text = ReadFileBytes(path);
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find("\r\n", at);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

std::vector<std::string> RecordedFiles(const std::string& uninstallRecord) {
  std::vector<std::string> lines = RecordLines(uninstallRecord);
  // The title first; the two shortcuts, the group and the last target last.
  if (lines.size() < 5) return {};
  return std::vector<std::string>(lines.begin() + 1, lines.end() - 4);
}

