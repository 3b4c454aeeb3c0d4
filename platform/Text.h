#pragma once
// Text comparison and case under the user's default locale, the ANSI way the program compares
// names, captions and drive letters.
#include <windows.h>

#include <string>

// CompareStringA under the user's default locale: CSTR_LESS_THAN, CSTR_EQUAL or CSTR_GREATER_THAN
// (0 when the comparison fails). flags are CompareStringA's, e.g. NORM_IGNORECASE.
int CompareLocaleText(DWORD flags, const std::string& a, const std::string& b);
bool SameTextIgnoringCase(const std::string& a, const std::string& b);

char UpperChar(char c);
char LowerChar(char c);
std::string UpperCase(std::string text);
std::string LowerCase(std::string text);
