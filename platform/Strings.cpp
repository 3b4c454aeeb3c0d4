#include "platform/Strings.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "setupcore/TextLines.h"
#include "platform/Errors.h"
#include "platform/FileHandle.h"
#include "platform/FileSystem.h"
#include "platform/Messages.h"

namespace {
// Deletes a temporary file on scope exit unless it was handed on.
class TempFileOwner {
public:
  explicit TempFileOwner(std::string path) : path_(std::move(path)) {}
  ~TempFileOwner() {
    // Nothing more can be done about a temporary file that will not go.
    if (!path_.empty()) DeleteFileA(path_.c_str());
  }
  TempFileOwner(const TempFileOwner&) = delete;
  TempFileOwner& operator=(const TempFileOwner&) = delete;
  const std::string& Path() const { return path_; }
  void Release() { path_.clear(); }

private:
  std::string path_;
};

}  // namespace

const std::string& TStringList::Strings(int index) const {
  if (index < 0 || index >= Count()) throw EListError(LoadStr(SListIndexError));
  return lines_[static_cast<size_t>(index)];
}

int TStringList::Add(const std::string& text) {
  lines_.push_back(text);
  return Count() - 1;
}

void TStringList::Insert(int index, const std::string& text) {
  if (index < 0 || index > Count()) throw EListError(LoadStr(SInsertLineError));
  lines_.insert(lines_.begin() + index, text);
}

void TStringList::Delete(int index) {
  if (index < 0 || index >= Count()) throw EListError(LoadStr(SListIndexError));
  lines_.erase(lines_.begin() + index);
}

int TStringList::IndexOf(const std::string& text) const {
  auto it = std::find(lines_.begin(), lines_.end(), text);
  return it == lines_.end() ? -1 : static_cast<int>(it - lines_.begin());
}

std::string TStringList::Text() const { return setupcore::JoinLines(lines_); }

void TStringList::SetText(const std::string& text) { lines_ = setupcore::SplitLines(text); }

void TStringList::LoadFromFile(const std::string& path) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) throw EFOpenError(FmtLoadStr(SFOpenError, path.c_str()));
  std::string bytes;
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr))
      throw EStreamError(LoadStr(SReadError));
    if (got == 0) break;
    bytes.append(buffer, got);
  }
  SetText(bytes);
}

void TStringList::SaveToFile(const std::string& path) const {
  const std::string bytes = Text();
  const std::string cannotCreate = FmtLoadStr(SFCreateError, path.c_str());

  // The error code is taken at the failing call: the clean-up on the way out makes calls of its
  // own that would replace it. The temporary file is made new beside the record, so the final
  // rename stays on one volume, and is written through the handle that made it: nothing put
  // under its name meanwhile can take the bytes elsewhere.
  std::string tempName;
  FileHandle made = CreateTemporaryBeside(path, FILE_ATTRIBUTE_NORMAL, tempName);
  if (!made.Valid()) throw EFCreateError(cannotCreate, GetLastError());
  TempFileOwner temp(tempName);
  FileHandle file(std::move(made));  // closed before the temporary file is deleted
  if (!WriteAll(file.Get(), bytes) || !FlushFileBuffers(file.Get()) || !file.Close())
    throw EWriteError(LoadStr(SWriteError), GetLastError());

  if (!MoveFileExA(temp.Path().c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
    throw EFCreateError(cannotCreate, GetLastError());
  temp.Release();
}
