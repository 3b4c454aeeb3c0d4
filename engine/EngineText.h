#pragma once
// Messages of the installation run's own, each written once.
#include <string>

enum EngineTextId {
  kNoDestination,       // the destination box is empty
  kProgramFileMissing,  // "%s": the program file's full path
};

std::string EngineText(EngineTextId id, const std::string& arg = std::string());
