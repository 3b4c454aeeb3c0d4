#pragma once
// Deleting a file that the records entitle remove.exe to delete, and nothing else through it.
// The records' text alone cannot say where a path leads: a folder on the way may be a link (a
// symbolic link or a junction) to anywhere. So every folder between the recorded place and the
// file is opened and looked at, and held open, so that it cannot be renamed or swapped for a
// link while the file goes; the file itself is opened as it is (a link is not followed), looked
// at through that handle and deleted through it where the system can.
//
// Where a system reads a link to a file as the file it leads to (Wine does), nothing here can
// tell the two apart: such a link is deleted as a file, and the system may take its target.
#include <string>

#include "setupcore/RemovePlan.h"

struct TDeleteResult {
  bool deleted = false;
  TRefusal refusal = rfNone;  // rfThroughLink or rfDirectory: found so on the disk, left alone
  unsigned long error = 0;    // the system's code when it could not go
};

// Whether a folder between `place` and `path` (which lies below it), or the thing at `path`,
// reads as a link now: asked before the user is asked about a file.
bool PassesThroughLink(const std::string& place, const std::string& path, const TCodePage& cp);

// Deletes the file `path` below `place`; a read-only attribute is cleared first, since the
// records entitle remove.exe to this file (and put back if it cannot go after all).
TDeleteResult DeleteBelow(const std::string& place, const std::string& path, const TCodePage& cp);

// Removes the folder `folder` below `place` when it is empty, under the same rules: neither it
// nor a folder on the way may be a link. One that holds anything stays (ERROR_DIR_NOT_EMPTY).
TDeleteResult RemoveFolderBelow(const std::string& place, const std::string& folder, const TCodePage& cp);
