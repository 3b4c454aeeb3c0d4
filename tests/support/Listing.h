#pragma once
// Helpers of the drive, directory and file list tests.
#include <windows.h>

#include <string>

// The process's current directory.
std::string Cwd();
// The directory as the system names it (the temporary folder may be given in another form).
std::string Canonical(const std::string& dir);
// Whether two paths are the same text without regard to case. The system reports a drive's
// current directory with the letter as it was typed ("z:" gives z:\...), so tests compare so.
bool SamePath(const std::string& a, const std::string& b);
// Whether two bitmaps hold the same pixels.
bool SamePicture(HBITMAP a, HBITMAP b);
// Whether tests/Drives_test.sh prepared this prefix's drives (VELMORA_DRIVES=1): floppy A:, CD D:
// labelled CdVol, hard disk E: labelled System, network F: labelled NetVol, RAM disk G:, CD H:
// without medium, hard disk I: without label, network J: connected to \\server\share.
bool DrivesPrepared();
// A letter from Y: down to K: that names no drive here, or 0.
char MissingDrive();
