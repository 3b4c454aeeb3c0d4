#pragma once
// Move-only owners of kernel handles, closed on scope exit: a file's (CreateFileA), and a
// process's or a thread's.
#include <windows.h>

#include "platform/Owned.h"

struct KernelHandleTraits : InvalidIsEmpty {
  static void Free(HANDLE h) { CloseHandle(h); }
};

// A process's or a thread's handle.
using KernelHandle = Owned<KernelHandleTraits>;

class FileHandle : public Owned<KernelHandleTraits> {
public:
  using Owned::Owned;
  // Closes now; false when the system reports that the close failed (buffered data lost).
  bool Close() { return !Valid() || CloseHandle(Release()) != FALSE; }
};
