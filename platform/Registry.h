#pragma once
// Keys and values of the system registry, the ANSI way: written, read and deleted whole.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct TRegValue {
  std::string name;
  bool isNumber = false;  // REG_DWORD; otherwise REG_SZ
  std::string text;
  DWORD number = 0;
};

// Creates the key (and those above it) below root and writes the values into it. False with the
// system's code in `error` when the key cannot be made or a value cannot be written; a key this
// call made is then deleted again.
bool WriteRegValues(HKEY root, const std::string& subKey, const std::vector<TRegValue>& values,
                    DWORD& error);
// A text value; false when the key or the value is not there, or is not text.
bool ReadRegText(HKEY root, const std::string& subKey, const std::string& name, std::string& text);
// A DWORD value; false when it is not there, or is not a DWORD.
bool ReadRegNumber(HKEY root, const std::string& subKey, const std::string& name, DWORD& number);
// Deletes the key, which has no sub-keys, when its text value `name` passes `owns`; true when it
// went. A key that is not there, whose value does not pass, or that cannot go, stays.
bool DeleteRegKeyIf(HKEY root, const std::string& subKey, const std::string& name,
                    const std::function<bool(const std::string&)>& owns);
