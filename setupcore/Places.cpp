#include "setupcore/Places.h"

namespace setupcore {

std::string ProposedDestination(const std::string& subPath) { return "c:\\program files" + subPath; }

std::string ProgramsFolder(const std::string& shellFolder, const std::string& windowsDir) {
  return shellFolder.empty() ? windowsDir + "\\Start Menu\\Programs" : shellFolder;
}

}  // namespace setupcore
