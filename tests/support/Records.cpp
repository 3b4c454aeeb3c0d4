#include "support/Records.h"

#include <windows.h>

#include "support/Files.h"

std::string SystemText(unsigned long code) {
  char* buffer = nullptr;
  DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                               FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, 0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
  std::string text = n && buffer ? std::string(buffer, n) : std::string();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ' ||
                           text.back() == '.'))
    text.pop_back();
  return text;
}

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

