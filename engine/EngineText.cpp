#include "engine/EngineText.h"

namespace {
struct Entry {
  EngineTextId id;
  const char* text;
};

// Texts that end a sentence in the error box go without the final full stop: the box adds it.
const Entry kTable[] = {
    {kNoDestination, "Please enter a destination directory"},
    {kProgramFileMissing, "The program file %1 was not found. The installation goes on without it."},
    {kCopyingFile, "Copying file: "},
    {kGeneratingIcons, "Generating Icons."},
    {kClickDone, "Click DONE to exit."},
    {kNotEnoughSpace,
     "There is not enough space on %1 for the installation: it needs %2 KB there, and %3 KB are "
     "free. Nothing has been installed"},
    {kDestinationNotMade,
     "The destination directory %1 cannot be created: %2. Nothing has been installed"},
    {kCopyFailuresHead, "%1 of the files could not be copied:"},
    {kCopyFailureLine, "%1 to %2: %3."},
    {kCopyFailuresMore, "... and %1 more."},
    {kRecordNotWritten, "The installation record %1 cannot be written: %2."},
    {kRecordKept, "%1 still holds the record of an earlier installation, which does not describe this one."},
    {kNoGroupWithoutRecord, "No program group has been made"},
    {kNotPrepared,
     "The installation cannot start, because the installer could not get ready when it started: "
     "%1"},
    {kSystemError, "System error %1"},
};
}  // namespace

std::string EngineText(EngineTextId id, const std::string& a1, const std::string& a2,
                       const std::string& a3) {
  const char* text = "";
  for (const Entry& e : kTable)
    if (e.id == id) text = e.text;
  // Arguments go in as they are: a '%' inside a path or an entry is not read as a placeholder.
  std::string out;
  for (const char* p = text; *p; ++p) {
    if (p[0] == '%' && p[1] >= '1' && p[1] <= '3') {
      out += p[1] == '1' ? a1 : p[1] == '2' ? a2 : a3;
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}
