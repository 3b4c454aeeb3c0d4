#pragma once
// The path operations that work on text alone. Paths are ANSI text; the backslash is the only
// separator and a letter followed by ':' the drive designator (a forward slash is an ordinary
// character here).
#include <functional>
#include <string>

#include "setupcore/CodePage.h"

namespace setupcore {

// Everything up to and including the last ':' or backslash; empty when there is neither.
std::string DirectoryPart(const std::string& path);
// Everything after the last ':' or backslash (the whole path when there is neither), at most
// 255 characters.
std::string NamePart(const std::string& path);
// The same where the path is walked in a code page of two-byte characters: a backslash that is
// a character's second byte separates nothing (C:\<97 5C>\a gives C:\<97 5C>\ and a).
std::string DirectoryPart(const std::string& path, const TCodePage& cp);
std::string NamePart(const std::string& path, const TCodePage& cp);
// From the last '.' to the end when no ':' or backslash follows it, at most 255 characters;
// empty otherwise. archive.tar.exe gives .exe.
std::string ExtensionPart(const std::string& name);

// dir and name with one backslash between them (none added when dir ends in one).
std::string JoinPath(const std::string& dir, const std::string& name);

// The width of a text in pixels, in whatever font the caller measures with.
using TextMeasure = std::function<int(const std::string&)>;

// Shortens a path for a label of maxWidth pixels by replacing leading directories with "...":
// C:\WINDOWS\SYSTEM\DRIVERS, C:\...\SYSTEM\DRIVERS, C:\...\DRIVERS, ...\DRIVERS, DRIVERS; the
// first that fits is returned, the bare name when none does.
std::string FitPathToWidth(const std::string& path, const TextMeasure& measure, int maxWidth);
// One step of the shortening: the first directory of dir (after an earlier "...\") becomes
// "...\"; a leading backslash is kept; "\" becomes empty.
std::string DropLeadingDirectory(const std::string& dir);

// The number of backslashes in the path: C:\ and C:\WINDOWS both give 1.
int PathDepth(const std::string& path);

}  // namespace setupcore
