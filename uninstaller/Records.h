#pragma once
// The records and places as this system has them: where remove.exe runs, the Windows and system
// directories, unin.ini beside remove.exe and the location record in the Windows directory.
#include <string>

#include "setupcore/RemovePlan.h"

// The places known before any record is read; the location record is not yet looked for.
TRemovePlaces SystemPlaces();

// The location record of `destination`: a file of the Windows directory whose long name ends
// in ".ini", whose first line is ":run" and whose second names the destination. Its name is
// written nowhere else, so every such file is looked at. One that names the destination as it
// is wins over one that names it only in other words (short names), and that over one that
// names it through another way to the same folder (remove.exe started through another drive
// letter, a share or a link: the folder's identity on the disk is compared).
struct TLocationSearch {
  std::string record;      // "" when there is none
  // Where no record names the destination as it is: the first ".ini" that could not be read,
  // and the system's reason. It may be the record, so nothing may be removed.
  std::string unreadable;
};
TLocationSearch FindLocationRecord(const TRemovePlaces& places);


// Reads unin.ini and the location record, when they are there. The destination becomes the
// location record's spelling of it, the one every line of both records starts with. A record
// that is there but cannot be read throws EFOpenError. `unreadable` as above.
TRecords LoadRecords(TRemovePlaces& places, std::string& unreadable);

