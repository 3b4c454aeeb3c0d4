#pragma once
// A move-only owner of a kernel file handle (CreateFileA), closed on scope exit.
#include <windows.h>

class FileHandle {
public:
  FileHandle() = default;
  explicit FileHandle(HANDLE h) : h_(h) {}
  ~FileHandle() { Reset(); }
  FileHandle(FileHandle&& o) noexcept : h_(o.h_) { o.h_ = INVALID_HANDLE_VALUE; }
  FileHandle& operator=(FileHandle&& o) noexcept {
    if (this != &o) { Reset(); h_ = o.h_; o.h_ = INVALID_HANDLE_VALUE; }
    return *this;
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  HANDLE Get() const { return h_; }
  bool Valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  // Closes now; false when the system reports that the close failed (buffered data lost).
  bool Close() {
    if (!Valid()) return true;
    BOOL ok = CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
    return ok != FALSE;
  }
  void Reset(HANDLE h = INVALID_HANDLE_VALUE) {
    // A failure here has no one left to report to; Close() is for callers that care.
    if (Valid()) CloseHandle(h_);
    h_ = h;
  }

private:
  HANDLE h_ = INVALID_HANDLE_VALUE;
};
