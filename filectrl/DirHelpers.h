#pragma once
// Path and volume operations of the drive, directory and file lists and of the installation run.
// Paths are ANSI text; the backslash is the only separator and a letter followed by ':' the drive
// designator (a forward slash is an ordinary character here).
#include <windows.h>

#include <string>

#include "setupcore/PathText.h"
#include "platform/FileSystem.h"

// The process's current directory, however long; EInOutError when it cannot be read.
std::string CurrentDirectoryPath();

// Creates the directory and every missing ancestor, outermost first. Reports nothing: a
// directory that cannot be made leaves the chain short, and the caller finds out on use.
// An empty path, a bare drive designator, a drive root and a single backslash create nothing.
void CreateDirectoryChain(const std::string& path);

// The path operations on text alone are the core's.
using setupcore::DirectoryPart;
using setupcore::DropLeadingDirectory;
using setupcore::ExtensionPart;
using setupcore::FitPathToWidth;
using setupcore::JoinPath;
using setupcore::NamePart;
using setupcore::PathDepth;
using setupcore::TextMeasure;

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

// Shortens a path for a label of maxWidth pixels (see the core's FitPathToWidth), measured in
// the font on a screen device context.
std::string FitPathToWidth(const std::string& path, HFONT font, int maxWidth);

// The volume label of the drive in the form "[label]", in upper case for an upper-case letter
// and in lower case otherwise. A volume without a label, and a drive whose volume cannot be read
// at all (no medium), give "[]"; an empty drive never brings up the system's prompt.
std::string VolumeLabelText(char letter);
// The remote name of a redirected drive (\\server\share, cased like VolumeLabelText), or
// VolumeLabelText(letter) when the drive is not redirected or the provider fails.
std::string NetworkShareText(char letter);

// The line height (tmHeight) of the font in pixels.
int FontLineHeight(HFONT font);

