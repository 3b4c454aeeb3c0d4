#include "platform/DllSearch.h"

#include <windows.h>

void SearchDllsInTheSystemOnly() {
  // Found by name: neither call is there on every system the programs start on, and importing
  // one would keep the program from starting where it is missing.
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (!kernel) return;
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  using SetDllDirectoryFn = BOOL(WINAPI*)(LPCSTR);
  const DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
  // A failure leaves the usual order, which is all that can be had there.
  if (auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
          GetProcAddress(kernel, "SetDefaultDllDirectories")))
    setDefault(kSearchSystem32);
  if (auto setDirectory =
          reinterpret_cast<SetDllDirectoryFn>(GetProcAddress(kernel, "SetDllDirectoryA")))
    setDirectory("");
}
