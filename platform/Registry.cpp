#include "platform/Registry.h"

#include "platform/Owned.h"

namespace {
struct RegKeyTraits : NullIsEmpty<HKEY> {
  // A failed close leaves nothing to undo: what was written is the system's already.
  static void Free(HKEY h) { RegCloseKey(h); }
};
using RegKey = Owned<RegKeyTraits>;

RegKey OpenKey(HKEY root, const std::string& subKey, REGSAM access) {
  HKEY h = nullptr;
  if (RegOpenKeyExA(root, subKey.c_str(), 0, access, &h) != ERROR_SUCCESS) return RegKey();
  return RegKey(h);
}

bool ReadValue(HKEY root, const std::string& subKey, const std::string& name, DWORD wantType,
               std::vector<BYTE>& data) {
  RegKey key = OpenKey(root, subKey, KEY_QUERY_VALUE);
  if (!key) return false;
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      type != wantType)
    return false;
  data.assign(size + 1, 0);  // room for a zero the system may not have stored
  return RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, data.data(), &size) ==
             ERROR_SUCCESS &&
         type == wantType;
}
}  // namespace

bool WriteRegValues(HKEY root, const std::string& subKey, const std::vector<TRegValue>& values,
                    DWORD& error) {
  HKEY h = nullptr;
  DWORD disposition = 0;
  error = RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                          nullptr, &h, &disposition);
  if (error != ERROR_SUCCESS) return false;
  RegKey key(h);
  for (const TRegValue& v : values) {
    error = v.isNumber
                ? RegSetValueExA(h, v.name.c_str(), 0, REG_DWORD,
                                 reinterpret_cast<const BYTE*>(&v.number), sizeof v.number)
                : RegSetValueExA(h, v.name.c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(v.text.c_str()),
                                 static_cast<DWORD>(v.text.size() + 1));
    if (error != ERROR_SUCCESS) {
      key.Reset();
      // Half an entry is no entry: a key made here goes again; one that was there stays.
      if (disposition == REG_CREATED_NEW_KEY) RegDeleteKeyA(root, subKey.c_str());
      return false;
    }
  }
  return true;
}

bool ReadRegText(HKEY root, const std::string& subKey, const std::string& name, std::string& text) {
  std::vector<BYTE> data;
  if (!ReadValue(root, subKey, name, REG_SZ, data)) return false;
  text = reinterpret_cast<const char*>(data.data());
  return true;
}

bool ReadRegNumber(HKEY root, const std::string& subKey, const std::string& name, DWORD& number) {
  std::vector<BYTE> data;
  if (!ReadValue(root, subKey, name, REG_DWORD, data) || data.size() < sizeof(DWORD) + 1) return false;
  number = *reinterpret_cast<const DWORD*>(data.data());
  return true;
}

bool DeleteRegKeyIf(HKEY root, const std::string& subKey, const std::string& name,
                    const std::function<bool(const std::string&)>& owns) {
  std::string value;
  if (!ReadRegText(root, subKey, name, value) || !owns(value)) return false;
  return RegDeleteKeyA(root, subKey.c_str()) == ERROR_SUCCESS;
}
