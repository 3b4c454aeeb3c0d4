#include "engine/ScriptStore.h"

#include <algorithm>

void TScriptStore::Load(const std::string& fileName) {
  TStringList loaded;
  loaded.LoadFromFile(fileName);
  lines_.Assign(loaded);
}

std::string TScriptStore::Line(int index) const {
  const std::string& line = lines_.Strings(index);
  // What the buffer holds: the text up to its first NUL, cut to leave room for the terminator.
  size_t length = std::min(line.find('\0'), line.size());
  return line.substr(0, std::min(length, kLineBufferSize - 1));
}

void TScriptStore::Delete(int index) {
  if (index >= 0 && index < lines_.Count()) lines_.Delete(index);
}

std::string RestoredName(const std::string& line) {
  if (line.empty() || line.back() != '_') return line;
  std::string name = line.substr(0, line.size() - 1);
  for (char& c : name)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  if (!name.empty() && name.back() == 'x') name += 'e';
  if (!name.empty() && name.back() == 'l') name += 'l';
  return name;
}
