#pragma once
// How the checker shows what it found: the run as the installer would carry it out, then the
// findings, each with its line of setup.ini counted from 1 as editors count.
#include <ostream>
#include <string>

#include "setupcheck/Check.h"

namespace setupcheck {

// ANSI text as the terminal shows it: unchanged on Windows, where the console takes the code
// page's bytes, and as UTF-8 elsewhere; control bytes (0x00-0x1F, 0x7F) as escapes, \t, \x1b.
std::string DisplayText(const std::string& ansi);

// The copy pass, the wait for the program file, the program group's commands and both records,
// in the order of the run; a header line the script lacks ends it where the installer stops.
void PrintPlan(std::ostream& out, const ProductCheck& check);

// One line a finding, "setup.ini:LINE: warning: ...", then the count of each kind.
void PrintDiagnostics(std::ostream& out, const ProductCheck& check);

}  // namespace setupcheck
