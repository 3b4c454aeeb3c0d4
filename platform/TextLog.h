#pragma once
// A plain text log: one line a step, the local time in front of it, ANSI text with CR LF. Each
// line is handed to the system as it is added, so a run that is ended from outside leaves every
// line written so far.
#include <string>

#include "platform/FileHandle.h"

class TTextLog {
public:
  // Creates the file, or goes on after the end of the one there (never cutting it). Only a full
  // path is taken; a device name, the "\\.\" and "\\?\" forms, a link (a reparse point), a
  // file with more than one name and anything but a file on a disk are refused unwritten. A
  // path that is refused or cannot be written raises EFCreateError with kLogNotWritable's text,
  // the reason, and a system error code.
  explicit TTextLog(const std::string& path);
  TTextLog(const TTextLog&) = delete;
  TTextLog& operator=(const TTextLog&) = delete;

  // "2026-12-09 10:01:02 text" and CR LF; a line end inside the text becomes a blank, so that
  // each step stays one line. False when the file takes it no more (a full disk); the run the
  // log describes goes on, and the first such failure stays in LastError.
  bool Line(const std::string& text);
  unsigned long LastError() const { return lastError_; }
  const std::string& Path() const { return path_; }

private:
  std::string path_;
  FileHandle file_;
  unsigned long lastError_ = 0;
};

// "The log file %1 cannot be written: %2": the path, then the system's reason.
extern const char kLogNotWritable[];

// The local time as a log line begins with: "YYYY-MM-DD hh:mm:ss".
std::string LogTimeStamp();
