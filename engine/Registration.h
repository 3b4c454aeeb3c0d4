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

// remove.exe deletes the entry again: uninstaller/Unregister.h.
