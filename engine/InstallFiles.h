#pragma once
// The run's work on the disk, each step whole or reported: the space the copies need on every
// target drive, the destination directory chain, one file copied whole, one record saved whole.
#include <windows.h>

#include <string>

#include "setupcore/CopyPlan.h"

class TStringList;

// The first drive on which the files of the plan do not fit: the drive (a root such as T:\, or a
// mounted folder), the bytes needed there (each file rounded up to whole clusters) and the bytes
// free. Sources that are not there count nothing, and a target whose drive cannot be read is
// left to the copy to report.
struct SpaceShortage {
  std::string drive;
  unsigned long long needed = 0;
  unsigned long long free = 0;
};
bool FindSpaceShortage(const setupcore::CopyPlan& plan, SpaceShortage& shortage);

// Creates the destination and every missing ancestor, outermost first. When a level cannot be
// made, the levels made so far are removed again and Exception says which destination and why.
void MakeDestination(const std::string& destination);

// Copies source to target, replacing an existing target only once the copy is complete: the
// bytes go to a temporary file beside the target, which then takes the target's name. Returns
// 0, or the system's error code; a failed copy leaves the target as it was and nothing else.
DWORD CopyWhole(const std::string& source, const std::string& target);

// Saves the record whole (TStringList::SaveToFile). A record that cannot be written throws
// Exception naming the file and the cause, and saying so when an earlier record is still there.
void SaveRecord(const TStringList& lines, const std::string& path);
