#pragma once
// The system DLLs that are not among the ones the loader always takes from the system (comctl32,
// mpr): a program started from a download folder would load a file of that name lying beside it
// if it imported them. They are loaded at run time from the system directory, by full path, and
// their functions found by name; a library or a function that is not there reads as null.
#include <windows.h>

#include <string>

// The system directory (GetSystemDirectoryA), without a trailing backslash.
std::string SystemDirectory();

// The function `name` of the system DLL `dll` ("comctl32.dll"), loaded from the system
// directory once and kept for the life of the process; null when either is missing.
FARPROC SystemFunction(const char* dll, const char* name);

template <class Fn>
Fn SystemFunctionOf(const char* dll, const char* name) {
  return reinterpret_cast<Fn>(SystemFunction(dll, name));
}
