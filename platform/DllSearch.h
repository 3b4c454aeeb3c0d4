#pragma once
// Where the DLLs that the system loads on the program's behalf are looked for: the program's
// folder comes first in the usual order, and that folder is a download folder for setup.exe and
// an installation's destination for remove.exe, both running as an administrator.

// The system directory alone for every DLL loaded by name from here on, and the current
// directory out of the search: called first in each program's entry, before anything can load
// a DLL. On a system without the newer call the current directory is still left out.
void SearchDllsInTheSystemOnly();
