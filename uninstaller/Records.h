#pragma once
// The records and places as this system has them: where remove.exe runs, the Windows and system
// directories, unin.ini beside remove.exe and the location record in the Windows directory.
#include <string>

#include "uninstaller/RemovePlan.h"

// The places known before any record is read; the location record is not yet looked for.
TRemovePlaces SystemPlaces();

// The location record of `destination`: the first *.ini file of the Windows directory whose
// first line is ":run" and whose second names the destination. Its name is written nowhere
// else, so every such file is looked at. "" when there is none.
std::string FindLocationRecord(const std::string& windowsDir, const std::string& destination);

// Reads unin.ini and the location record, when they are there. The destination becomes the
// location record's spelling of it, the one every line of both records starts with. A record
// that is there but cannot be read throws EFOpenError.
TRecords LoadRecords(TRemovePlaces& places);

