#include "engine/ScriptStore.h"

#include "platform/Strings.h"

void TScriptStore::Load(const std::string& fileName) {
  TStringList loaded;
  loaded.LoadFromFile(fileName);
  Assign(loaded.Lines());
}
