#pragma once
// The product's entry in the system's list of installed programs (Add/Remove Programs): where it
// goes, what it holds, and whether an entry found there is this installation's own.
#include <string>
#include <vector>

namespace setupcore {

struct ProductEntry {
  std::string recordName;   // script line 4: the name of the entry's key
  std::string title;        // the product title, shown in the list
  std::string uninstaller;  // the full path of remove.exe in the destination
  std::string location;     // the destination
  std::string program;      // the installed program, whose icon the list shows
  unsigned long long bytes = 0;  // of the installed files
};

// The key below the machine's or the user's hive.
std::string UninstallKey(const std::string& recordName);
// Whether a record name can name a key of its own: not empty, no backslash (which would open a
// sub-key elsewhere), no control character, not longer than a key name may be.
bool IsUsableKeyName(const std::string& recordName);

struct EntryValue {
  std::string name;
  bool isNumber = false;
  std::string text;
  unsigned long number = 0;
};
// DisplayName, UninstallString (remove.exe, quoted), QuietUninstallString (with /VERYSILENT),
// InstallLocation, DisplayIcon, EstimatedSize (kilobytes), NoModify and NoRepair (1).
std::vector<EntryValue> UninstallEntryValues(const ProductEntry& entry);

// Bytes as whole kilobytes, rounded up, at most what a DWORD holds.
unsigned long SizeInKilobytes(unsigned long long bytes);

// Whether an UninstallString starts this very remove.exe: its program (in quotes, or up to the
// first blank) is the same path, compared without regard to case.
bool NamesUninstaller(const std::string& uninstallString, const std::string& removeExe);

}  // namespace setupcore
