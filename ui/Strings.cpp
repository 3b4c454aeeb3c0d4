#include "ui/Strings.h"

#include <windows.h>

#include "ui/Errors.h"
#include "ui/Messages.h"

namespace {
class FileHandle {
public:
  explicit FileHandle(HANDLE h) : h_(h) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return h_; }
  bool Close() {
    bool ok = true;
    if (Valid()) ok = CloseHandle(h_) != 0;
    h_ = INVALID_HANDLE_VALUE;
    return ok;
  }

private:
  HANDLE h_;
};
}  // namespace

const std::string& TStringList::Strings(int index) const {
  if (index < 0 || index >= Count()) throw EListError(LoadStr(SListIndexError));
  return lines_[static_cast<size_t>(index)];
}

void TStringList::Insert(int index, const std::string& line) {
  if (index < 0 || index > Count()) throw EListError(LoadStr(SInsertLineError));
  lines_.insert(lines_.begin() + index, line);
}

void TStringList::Delete(int index) {
  if (index < 0 || index >= Count()) throw EListError(LoadStr(SListIndexError));
  lines_.erase(lines_.begin() + index);
}

int TStringList::IndexOf(const std::string& line) const {
  for (size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i] == line) return static_cast<int>(i);
  return -1;
}

std::string TStringList::Text() const {
  std::string out;
  for (const std::string& l : lines_) {
    out += l;
    out += "\r\n";
  }
  return out;
}

void TStringList::SetText(const std::string& text) {
  lines_.clear();
  size_t end = text.find('\0');
  if (end == std::string::npos) end = text.size();
  size_t start = 0, i = 0;
  while (i < end) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      lines_.push_back(text.substr(start, i - start));
      // CR LF is one line end; LF CR is two.
      if (c == '\r' && i + 1 < end && text[i + 1] == '\n') ++i;
      start = ++i;
    } else {
      ++i;
    }
  }
  if (start < end) lines_.push_back(text.substr(start, end - start));
}

void TStringList::LoadFromFile(const std::string& path) {
  FileHandle f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.Valid()) throw EFOpenError(FmtLoadStr(SFOpenError, path.c_str()));
  std::string data;
  char buf[65536];
  DWORD got = 0;
  for (;;) {
    if (!ReadFile(f.Get(), buf, sizeof buf, &got, nullptr)) throw EInOutError(static_cast<int>(GetLastError()));
    if (got == 0) break;
    data.append(buf, got);
  }
  SetText(data);
}

void TStringList::SaveToFile(const std::string& path) const {
  const std::string text = Text();
  // A neighbour file in the same directory takes the text first, so that the record is
  // replaced whole or not at all.
  const std::string temp = path + ".new~";
  // The record itself must be writable (a read-only one is not replaced behind its back).
  const bool existed = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  {
    FileHandle probe(CreateFileA(path.c_str(), GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!probe.Valid()) throw EFCreateError(FmtLoadStr(SFCreateError, path.c_str()));
  }
  auto fail = [&](auto error) {
    DeleteFileA(temp.c_str());
    if (!existed) DeleteFileA(path.c_str());
    throw error;
  };
  FileHandle f(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.Valid()) fail(EFCreateError(FmtLoadStr(SFCreateError, path.c_str())));
  DWORD written = 0;
  bool ok = text.empty() ||
            (WriteFile(f.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
             written == text.size());
  ok = f.Close() && ok;
  if (!ok) fail(EWriteError(LoadStr(SWriteError)));
  if (!MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
    fail(EFCreateError(FmtLoadStr(SFCreateError, path.c_str())));
}
