#include "engine/ScriptStore.h"

namespace {
const size_t kLineBuffer = 4096;
}

void TScriptStore::Load(const std::string& fileName) {
  TStringList loaded;
  loaded.LoadFromFile(fileName);
  lines_ = loaded;
}

std::string TScriptStore::Line(int index) const {
  const std::string& line = lines_.Strings(index);
  return line.size() < kLineBuffer ? line : line.substr(0, kLineBuffer - 1);
}

void TScriptStore::Delete(int index) {
  if (index >= 0 && index < lines_.Count()) lines_.Delete(index);
}

void TScriptStore::Insert(int index, const std::string& text) { lines_.Insert(index, text); }

std::string RestoredName(const std::string& line) {
  if (line.empty() || line.back() != '_') return line;
  std::string name = line.substr(0, line.size() - 1);
  for (char& c : name)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  if (!name.empty() && name.back() == 'x') name += 'e';
  if (!name.empty() && name.back() == 'l') name += 'l';
  return name;
}
