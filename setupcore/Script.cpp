#include "setupcore/Script.h"

#include <algorithm>

#include "setupcore/Errors.h"
#include "setupcore/TextLines.h"

namespace setupcore {

Script Script::FromBytes(const std::string& bytes) { return Script(SplitLines(bytes)); }

std::string Script::Line(int index) const {
  if (index < 0 || index >= Count()) throw EListError(kListIndexError);
  const std::string& line = lines_[static_cast<size_t>(index)];
  // What the buffer holds: the text up to its first NUL, cut to leave room for the terminator.
  const size_t length = std::min(line.find('\0'), line.size());
  return line.substr(0, std::min(length, kLineBufferSize - 1));
}

void Script::Delete(int index) {
  if (index >= 0 && index < Count()) lines_.erase(lines_.begin() + index);
}

void Script::Insert(int index, const std::string& text) {
  if (index < 0 || index > Count()) throw EListError(kInsertLineError);
  lines_.insert(lines_.begin() + index, text);
}

std::string RestoredName(const std::string& line) {
  if (line.empty() || line.back() != '_') return line;
  const size_t folders = line.rfind('\\') + 1;  // 0 when the line names no folder
  std::string name = line.substr(0, line.size() - 1);
  for (size_t i = folders; i < name.size(); ++i)
    if (name[i] >= 'A' && name[i] <= 'Z') name[i] = static_cast<char>(name[i] - 'A' + 'a');
  if (name.size() > folders && name.back() == 'x') name += 'e';
  if (name.size() > folders && name.back() == 'l') name += 'l';
  return name;
}

}  // namespace setupcore
