#pragma once
// Path and volume operations of the drive, directory and file lists and of the installation run.
// Paths are ANSI text; the backslash is the only separator and a letter followed by ':' the drive
// designator (a forward slash is an ordinary character here).
#include <windows.h>

#include <functional>
#include <string>

#include "ui/FileSystem.h"

// The process's current directory, however long; EInOutError when it cannot be read.
std::string CurrentDirectoryPath();

// Creates the directory and every missing ancestor, outermost first. Reports nothing: a
// directory that cannot be made leaves the chain short, and the caller finds out on use.
// An empty path, a bare drive designator, a drive root and a single backslash create nothing.
void CreateDirectoryChain(const std::string& path);

// Everything up to and including the last ':' or backslash; empty when there is neither.
std::string DirectoryPart(const std::string& path);
// Everything after the last ':' or backslash (the whole path when there is neither), at most
// 255 characters.
std::string NamePart(const std::string& path);
// From the last '.' to the end when no ':' or backslash follows it, at most 255 characters;
// empty otherwise. archive.tar.exe gives .exe.
std::string ExtensionPart(const std::string& name);

// dir and name with one backslash between them (none added when dir ends in one).
std::string JoinPath(const std::string& dir, const std::string& name);

// What SplitEnteredPath makes of a typed path.
struct EnteredPath {
  char drive = 0;             // as typed or as the current directory gives it; case kept
  std::string directoryPart;  // from the drive's root: "\" or e.g. \WINDOWS\SYSTEM; may hold . or ..
  std::string filePart;       // a file name, a mask with '*' or '?', or empty
};

// Splits typed text (a path, a "[name]" entry of the file list, a mask, a bare "C:") into a
// drive, a directory that exists and a remaining file part; a last name that is no existing file
// must be a directory and joins the directory part. Moves the process's current directory while
// it works and puts it back before returning, also on failure. A directory that cannot be
// entered throws EInOutError with the system's error code.
EnteredPath SplitEnteredPath(const std::string& text);

// The width of a text in pixels, in whatever font the caller measures with.
using TextMeasure = std::function<int(const std::string&)>;

// Shortens a path for a label of maxWidth pixels by replacing leading directories with "...":
// C:\WINDOWS\SYSTEM\DRIVERS, C:\...\SYSTEM\DRIVERS, C:\...\DRIVERS, ...\DRIVERS, DRIVERS; the
// first that fits is returned, the bare name when none does.
std::string FitPathToWidth(const std::string& path, const TextMeasure& measure, int maxWidth);
// The same, measured in the font on a screen device context.
std::string FitPathToWidth(const std::string& path, HFONT font, int maxWidth);
// One step of the shortening: the first directory of dir (after an earlier "...\") becomes
// "...\"; a leading backslash is kept; "\" becomes empty.
std::string DropLeadingDirectory(const std::string& dir);

// The volume label of the drive in the form "[label]", in upper case for an upper-case letter
// and in lower case otherwise. A volume without a label, and a drive whose volume cannot be read
// at all (no medium), give "[]"; an empty drive never brings up the system's prompt.
std::string VolumeLabelText(char letter);
// The remote name of a redirected drive (\\server\share, cased like VolumeLabelText), or
// VolumeLabelText(letter) when the drive is not redirected or the provider fails.
std::string NetworkShareText(char letter);

// The line height (tmHeight) of the font in pixels.
int FontLineHeight(HFONT font);

// The number of backslashes in the path: C:\ and C:\WINDOWS both give 1.
int PathDepth(const std::string& path);
