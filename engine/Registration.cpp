#include "engine/Registration.h"

#include "platform/Registry.h"

RegisteredIn RegisterProduct(const ProductEntry& entry, DWORD& error) {
  if (!setupcore::IsUsableKeyName(entry.recordName)) {
    error = ERROR_INVALID_NAME;
    return RegisteredIn::nowhere;
  }
  std::vector<TRegValue> values;
  for (const setupcore::EntryValue& v : setupcore::UninstallEntryValues(entry))
    values.push_back({v.name, v.isNumber, v.text, static_cast<DWORD>(v.number)});
  const std::string key = setupcore::UninstallKey(entry.recordName);
  if (WriteRegValues(HKEY_LOCAL_MACHINE, key, values, error)) return RegisteredIn::machine;
  // A user without the right to the machine's hive still finds the product in the list.
  if (WriteRegValues(HKEY_CURRENT_USER, key, values, error)) return RegisteredIn::user;
  return RegisteredIn::nowhere;
}
