#pragma once
// The text list: ordered strings, loaded from a file split at CR LF, lone CR or lone LF (a NUL
// byte ends the text), saved with CR LF after every line.
#include <string>
#include <vector>

class TStringList {
public:
  int Count() const { return static_cast<int>(lines_.size()); }
  // Throws EListError "List index out of bounds" outside 0 .. Count - 1.
  const std::string& Strings(int index) const;
  void Add(const std::string& line) { lines_.push_back(line); }
  // Throws EListError "Unable to insert a line" outside 0 .. Count.
  void Insert(int index, const std::string& line);
  // Throws EListError "List index out of bounds" outside 0 .. Count - 1.
  void Delete(int index);
  void Clear() { lines_.clear(); }
  int IndexOf(const std::string& line) const;
  const std::vector<std::string>& Lines() const { return lines_; }

  // Every line followed by CR LF.
  std::string Text() const;
  void SetText(const std::string& text);
  // Throws EFOpenError "Cannot open file %s".
  void LoadFromFile(const std::string& path);
  // The file is replaced only once the whole text is written: a failure leaves what was there.
  // Throws EFCreateError "Cannot create file %s" or EWriteError "Stream write error".
  void SaveToFile(const std::string& path) const;

  bool operator==(const TStringList& o) const { return lines_ == o.lines_; }
  bool operator!=(const TStringList& o) const { return lines_ != o.lines_; }

private:
  std::vector<std::string> lines_;
};
