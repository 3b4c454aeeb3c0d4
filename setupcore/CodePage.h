#pragma once
// Path text in the system's ANSI code page, walked a character at a time: in a two-byte code
// page (932, 936, 949, 950) the second byte of a character may be 0x5C, the backslash, or '|' or
// a letter, and is none of them. The installer and the uninstaller split and compare paths with
// these alone.
#include <string>
#include <vector>

// What the system's ANSI code page says of each byte value: whether it opens a two-byte
// character, and the lower case of a one-byte character. Filled from the system by
// platform/SystemCodePage.
struct TCodePage {
  bool lead[256] = {};
  unsigned char lower[256] = {};
};
// The Western code page: no two-byte characters, ASCII and the Western letters fold.
TCodePage WesternCodePage();
// The Western code page's lower case of one byte, as the system folds its letters for file
// names there.
char FoldWestern(char c);

bool IsLead(const TCodePage& cp, char c);
// Where each character of `path` starts: a byte after a lead byte is no character of its own.
// A lead byte with nothing after it stays one byte.
std::vector<bool> CharacterStarts(const std::string& path, const TCodePage& cp);
// The parts of a path between its backslashes; a backslash inside a two-byte character is not
// one. An empty path gives one empty part.
std::vector<std::string> Parts(const std::string& path, const TCodePage& cp);
