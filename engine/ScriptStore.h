#pragma once
// The setup script in memory, read from its file. What its lines mean is the core's.
#include <string>

#include "setupcore/Script.h"

using setupcore::RestoredName;

class TScriptStore : public setupcore::Script {
public:
  // Replaces the store by the lines of the file (see TStringList::SetText for the line ends).
  // A file that cannot be opened throws EFOpenError "Cannot open file <name>" and leaves the
  // store as it was.
  void Load(const std::string& fileName);
};
