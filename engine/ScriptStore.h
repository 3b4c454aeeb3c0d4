#pragma once
// The setup script in memory, line by line from 0. The file itself is never written.
#include <string>

#include "ui/Strings.h"

class TScriptStore {
public:
  // Clears the store, then appends every line of the file.
  void Load(const std::string& fileName);
  int Count() const { return lines_.Count(); }
  // A line is handed out through a 4,096-byte buffer: at most 4,095 characters.
  // Throws "List index out of bounds" outside 0 .. Count - 1.
  std::string Line(int index) const;
  // A missing line: nothing happens.
  void Delete(int index);
  // Throws "Unable to insert a line" where the store cannot take the line at that index.
  void Insert(int index, const std::string& text);

private:
  TStringList lines_;
};

// The name a file entry is copied under: a name ending in "_" loses it, its ASCII capitals
// become small, and it gains "e" after a final "x" and "l" after a final "l" (SETUP.EX_ is
// setup.exe). A lone "_" gives the empty name, which names no file.
std::string RestoredName(const std::string& line);
