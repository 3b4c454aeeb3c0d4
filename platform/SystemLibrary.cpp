#include "platform/SystemLibrary.h"

#include "platform/FileSystem.h"

std::string SystemDirectory() {
  return ReadSystemPath([](DWORD size, char* buf) { return GetSystemDirectoryA(buf, size); });
}

FARPROC SystemFunction(const char* dll, const char* name) {
  // Never freed: the functions found stay in use until the process ends; the system counts the
  // loads of one library, so a later call finds the module already there.
  HMODULE module = LoadLibraryA((SystemDirectory() + "\\" + dll).c_str());
  return module ? GetProcAddress(module, name) : nullptr;
}
