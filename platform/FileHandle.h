#pragma once
// A move-only owner of a kernel file handle (CreateFileA), closed on scope exit.
#include <windows.h>

#include "platform/Owned.h"

struct KernelHandleTraits : InvalidIsEmpty {
  static void Free(HANDLE h) { CloseHandle(h); }
};

class FileHandle : public Owned<KernelHandleTraits> {
public:
  using Owned::Owned;
  // Closes now; false when the system reports that the close failed (buffered data lost).
  bool Close() { return !Valid() || CloseHandle(Release()) != FALSE; }
};
