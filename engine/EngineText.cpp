#include "engine/EngineText.h"

#include "ui/Messages.h"

std::string EngineText(EngineTextId id, const std::string& arg) {
  switch (id) {
    case kNoDestination:
      return "Please enter a destination directory";
    case kProgramFileMissing:
      return Format("The program file %s was not found. The installation goes on without it.",
                    arg.c_str());
  }
  return std::string();
}
