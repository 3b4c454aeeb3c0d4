#include "uninstaller/Unregister.h"

#include <windows.h>

#include "setupcore/UninstallEntry.h"
#include "platform/Registry.h"

bool UnregisterProduct(const std::string& recordName, const std::string& removeExe) {
  if (!setupcore::IsUsableKeyName(recordName)) return false;
  const std::string key = setupcore::UninstallKey(recordName);
  auto ours = [&](const std::string& command) {
    return setupcore::NamesUninstaller(command, removeExe);
  };
  bool removed = false;
  for (HKEY hive : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
    removed = DeleteRegKeyIf(hive, key, "UninstallString", ours) || removed;
  return removed;
}

std::string RecordNameOf(const std::string& locationRecord) {
  const size_t slash = locationRecord.find_last_of('\\');
  const std::string name = locationRecord.substr(slash == std::string::npos ? 0 : slash + 1);
  if (name.size() <= 4 || lstrcmpiA(name.substr(name.size() - 4).c_str(), ".ini") != 0)
    return std::string();
  return name.substr(0, name.size() - 4);
}
