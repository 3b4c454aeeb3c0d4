#pragma once
// The program's text list: an ordered, unsorted list of lines, read from and written to files as
// ANSI bytes. The uninstall records, the macro lists and the setup script are held in it.
#include <string>
#include <vector>

class TStringList {
public:
  int Count() const { return static_cast<int>(lines_.size()); }
  // Throws EListError "List index out of bounds" outside 0 .. Count - 1.
  const std::string& Strings(int index) const;

  // Appends a line; returns its index.
  int Add(const std::string& text);
  // Inserts so that the text gets that index; 0 .. Count are accepted, anything else throws
  // EListError "Unable to insert a line".
  void Insert(int index, const std::string& text);
  // Throws EListError "List index out of bounds" outside 0 .. Count - 1.
  void Delete(int index);
  void Clear() { lines_.clear(); }
  // The index of the first line equal to text (case included), or -1.
  int IndexOf(const std::string& text) const;
  const std::vector<std::string>& Lines() const { return lines_; }

  // Every line followed by CR LF.
  std::string Text() const;
  // Splits at CR LF, a lone CR or a lone LF and stops at the first NUL. LF CR is two line ends
  // with an empty line between them; the last line counts without a line end, and a line end at
  // the very end adds no empty line.
  void SetText(const std::string& text);

  // Reads the file whole, raw bytes, and takes its lines by the rules of SetText. A file that
  // cannot be opened throws EFOpenError "Cannot open file <path>"; the list is left as it was.
  void LoadFromFile(const std::string& path);
  // Writes Text() to the file, creating or replacing it. The bytes go to a temporary file in the
  // same directory first, which then replaces the target, so a failed save leaves the previous
  // file as it was and no partial file behind. A file that cannot be created or replaced throws
  // EFCreateError "Cannot create file <path>"; a short write throws EWriteError. Both carry the
  // system's error code (EStreamError::SystemCode).
  void SaveToFile(const std::string& path) const;

  void Assign(const TStringList& other) { lines_ = other.lines_; }
  // Lists are equal when their Text() is, compared with case.
  bool operator==(const TStringList& other) const { return Text() == other.Text(); }
  bool operator!=(const TStringList& other) const { return !(*this == other); }

private:
  std::vector<std::string> lines_;
};
