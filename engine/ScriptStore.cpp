#include "engine/ScriptStore.h"

#include "ui/Strings.h"

void TScriptStore::Load(const std::string& fileName) {
  TStringList loaded;
  loaded.LoadFromFile(fileName);
  Assign(loaded.Lines());
}
