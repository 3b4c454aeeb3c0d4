#pragma once
// The product in the system's list of installed programs (Add/Remove Programs).
#include <windows.h>

#include <string>

#include "setupcore/UninstallEntry.h"

using setupcore::ProductEntry;

// Where the entry went: the machine's hive, for every user, or, where that cannot be written,
// the user's own.
enum class RegisteredIn { nowhere, machine, user };

// Writes the entry under the record name's key. `nowhere` with the system's code in `error` when
// neither hive takes it, or the record name cannot name a key (error ERROR_INVALID_NAME).
RegisteredIn RegisterProduct(const ProductEntry& entry, DWORD& error);

// Deletes the record name's entry from both hives, each only where its UninstallString starts
// this remove.exe: another product's entry of the same name stays. True when one went.
bool UnregisterProduct(const std::string& recordName, const std::string& removeExe);
