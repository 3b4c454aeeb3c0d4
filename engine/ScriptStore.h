#pragma once
// The setup script in memory, line by line from 0, and the naming rule of its file entries.
#include <string>

#include "ui/Strings.h"

class TScriptStore {
public:
  // Replaces the store by the lines of the file (see TStringList::SetText for the line ends).
  // A file that cannot be opened throws EFOpenError "Cannot open file <name>" and leaves the
  // store as it was.
  void Load(const std::string& fileName);

  int Count() const { return lines_.Count(); }
  // The line's text, at most 4,095 characters: lines are handed out through a buffer of 4,096
  // bytes. Outside 0 .. Count - 1 throws EListError "List index out of bounds".
  std::string Line(int index) const;
  // Removes the line; a line that is not there is no error (Install on an empty script deletes
  // line 1 before it inserts the new one).
  void Delete(int index);
  // Inserts so that the text gets that index; outside 0 .. Count throws EListError "Unable to
  // insert a line".
  void Insert(int index, const std::string& text) { lines_.Insert(index, text); }

  const TStringList& Lines() const { return lines_; }

  static constexpr size_t kLineBufferSize = 4096;

private:
  TStringList lines_;
};

// The name a file entry is installed under. A line not ending in '_' is used as it is.
// Otherwise the '_' is dropped, A to Z become a to z (nothing else changes), then an 'e' is
// appended if the result ends in 'x', then an 'l' if it ends in 'l': SETUP.EX_ gives setup.exe,
// WIDGLIB.DL_ widglib.dll, Notes.tx_ notes.txe. A line that is just "_" gives the empty name,
// which names no file: the caller must not use it as a target (it would be the directory itself).
std::string RestoredName(const std::string& line);
