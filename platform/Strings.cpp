#include "platform/Strings.h"

#include <windows.h>

#include <algorithm>

#include "setupcore/TextLines.h"
#include "platform/Errors.h"
#include "platform/FileHandle.h"
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

// The directory a temporary file for path goes in: the target's own, so that the final rename
// stays on one volume.
std::string TargetDirectory(const std::string& path) {
  size_t sep = path.find_last_of(":\\");
  if (sep == std::string::npos) return ".";
  return path.substr(0, sep + 1);
}

bool WriteAll(HANDLE file, const std::string& bytes) {
  const size_t kChunk = 1u << 20;
  for (size_t at = 0; at < bytes.size();) {
    DWORD ask = static_cast<DWORD>(std::min(kChunk, bytes.size() - at));
    DWORD done = 0;
    if (!WriteFile(file, bytes.data() + at, ask, &done, nullptr) || done != ask) return false;
    at += done;
  }
  return true;
}
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
  // own that would replace it.
  char tempName[MAX_PATH] = {};
  if (!GetTempFileNameA(TargetDirectory(path).c_str(), "vlm", 0, tempName)) {
    // A missing directory is called an invalid one here; creating the file would say not found.
    const DWORD error = GetLastError();
    throw EFCreateError(cannotCreate, error == ERROR_DIRECTORY ? ERROR_PATH_NOT_FOUND : error);
  }
  TempFileOwner temp(tempName);

  FileHandle file(CreateFileA(temp.Path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) throw EFCreateError(cannotCreate, GetLastError());
  if (!WriteAll(file.Get(), bytes) || !FlushFileBuffers(file.Get()) || !file.Close())
    throw EWriteError(LoadStr(SWriteError), GetLastError());

  if (!MoveFileExA(temp.Path().c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
    throw EFCreateError(cannotCreate, GetLastError());
  temp.Release();
}
