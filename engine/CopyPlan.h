#pragma once
// What the copy pass will do, worked out from the script before anything is touched: every file
// entry with its source and target, in script order. Knowing it first lets the run check the
// space on every target drive before it creates or copies anything.
#include <string>
#include <vector>

struct CopyEntry {
  int line = 0;        // the script line of the entry, for the progress bar
  std::string entry;   // the line as written, for the status text and the failure list
  std::string source;  // source prefix + the line as written
  std::string target;  // target prefix + the restored name
  // A line of an ":ini" section: it feeds the location record and names no file to copy. It is
  // recorded like every entry but not copied, so that it cannot fail.
  bool iniLine = false;
};

struct CopyPlan {
  std::vector<CopyEntry> entries;
  // The target prefix of the last section opened; the uninstall record ends with it.
  std::string lastTarget;
};

// The copy pass over script lines 4 to the last. A line beginning with ':' opens a section
// whose target is the rest of the line, "win", "win\system" and "install" naming the Windows
// directory, its system directory and the destination; an empty line closes the section; every
// other line inside a section is a file entry. A marker met inside an open section is first an
// entry of that section. An entry whose restored name is empty names no file and is left out.
// The entries of a section opened by ":ini" are marked as its lines.
CopyPlan PlanCopies(const std::vector<std::string>& script, const std::string& windowsDir,
                    const std::string& source, const std::string& destination);
