#pragma once
// The system's ANSI code page as the path text of setupcore walks it.
#include "setupcore/CodePage.h"

// Which bytes open a two-byte character, and how the system writes a one-byte character in
// lower case. A lower case that would itself open a two-byte character is not taken: the letter
// then compares as it is.
TCodePage SystemCodePage();
