#include "setupcore/TextLines.h"

#include <algorithm>

namespace setupcore {

std::vector<std::string> SplitLines(const std::string& bytes) {
  const size_t end = std::min(bytes.find('\0'), bytes.size());
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < end) {
    size_t stop = at;
    while (stop < end && bytes[stop] != '\r' && bytes[stop] != '\n') ++stop;
    lines.push_back(bytes.substr(at, stop - at));
    // CR LF is one line end; an LF is never joined to a CR after it.
    if (stop < end && bytes[stop] == '\r') ++stop;
    if (stop < end && bytes[stop] == '\n') ++stop;
    at = stop;
  }
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) {
    out += line;
    out += "\r\n";
  }
  return out;
}

}  // namespace setupcore
