#pragma once
// The setup script in memory, line by line from 0, and the naming rule of its file entries.
#include <cstddef>
#include <string>
#include <vector>

namespace setupcore {

class Script {
public:
  Script() = default;
  explicit Script(std::vector<std::string> lines) : lines_(std::move(lines)) {}

  // The script whose file holds these bytes (see SplitLines for the line ends and the NUL).
  static Script FromBytes(const std::string& bytes);
  void Assign(std::vector<std::string> lines) { lines_ = std::move(lines); }

  int Count() const { return static_cast<int>(lines_.size()); }
  // The line's text, at most 4,095 characters: lines are handed out through a buffer of 4,096
  // bytes. Outside 0 .. Count - 1 throws EListError "List index out of bounds".
  std::string Line(int index) const;
  // Removes the line; a line that is not there is no error (Install on an empty script deletes
  // line 1 before it inserts the new one).
  void Delete(int index);
  // Inserts so that the text gets that index; outside 0 .. Count throws EListError "Unable to
  // insert a line".
  void Insert(int index, const std::string& text);

  // The lines as loaded, none of them cut.
  const std::vector<std::string>& Lines() const { return lines_; }

  static constexpr std::size_t kLineBufferSize = 4096;

private:
  std::vector<std::string> lines_;
};

// The name a file entry is installed under. A line not ending in '_' is used as it is.
// Otherwise the '_' is dropped, A to Z become a to z (nothing else changes), then an 'e' is
// appended if the result ends in 'x', then an 'l' if it ends in 'l': SETUP.EX_ gives setup.exe,
// WIDGLIB.DL_ widglib.dll, Notes.tx_ notes.txe. A line that is just "_" gives the empty name,
// which names no file. Only the part after the last backslash is restored: the folders of
// Data\LEVELS.DA_ keep their letters, data\levels.da.
std::string RestoredName(const std::string& line);

}  // namespace setupcore
