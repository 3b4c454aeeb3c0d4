// Any bytes as setup.ini, with any texts as the source, the destination and the Windows
// directory (see FuzzInput.h): loading, the copy plan, the run's error points and both records.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "setupcore/CopyPlan.h"
#include "setupcore/Errors.h"
#include "setupcore/InstallRules.h"
#include "setupcore/TextLines.h"

namespace {
template <class Fn>
bool Throws(Fn fn) {
  try {
    fn();
  } catch (const setupcore::EListError&) {
    return true;
  }
  return false;
}

bool HasLineBreakOrZero(const std::string& text) {
  return text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const setupcore::Script script = setupcore::Script::FromBytes(bytes);
  const int count = script.Count();

  const setupcore::RunPlaces places = PlacesAfterZero(bytes, script);
  for (int i = 0; i < count; ++i) {
    const std::string line = script.Line(i);
    Require(line.size() < setupcore::Script::kLineBufferSize);
    Require(!HasLineBreakOrZero(line));
  }
  Require(Throws([&] { script.Line(count); }));

  const setupcore::CopyPlan plan(script, places);
  int lastLine = 3, lastPosition = 0, copies = 0;
  for (const setupcore::CopyEntry& entry : plan.Entries()) {
    Require(entry.line > lastLine && entry.line < count);
    Require(entry.position >= lastPosition && entry.position <= 100);
    Require(entry.marker >= 0 && entry.marker < static_cast<int>(plan.Markers().size()));
    Require(plan.Markers()[static_cast<size_t>(entry.marker)].line < entry.line);
    const std::string& section = plan.Markers()[static_cast<size_t>(entry.marker)].name;
    const bool refused = entry.refusal != setupcore::EntryRefusal::kNone;
    Require(entry.recorded == (!setupcore::RestoredName(script.Line(entry.line)).empty() && !refused));
    Require(entry.copies == (entry.recorded && section != "ini"));
    // What is copied goes to a full path that names no device, whatever the script says.
    if (entry.copies)
      Require(setupcore::IsFullPath(entry.target, places.codePage) &&
              !setupcore::NamesDevice(entry.target, places.codePage) &&
              !setupcore::NamesDevice(script.Line(entry.line), places.codePage));
    // Folders are made below the destination alone, and only for what is copied there.
    if (entry.makesFolders)
      Require(entry.copies && section == "install" &&
              entry.target.compare(0, places.destination.size() + 1, places.destination + "\\") == 0);
    lastLine = entry.line;
    lastPosition = entry.position;
    copies += entry.recorded ? 1 : 0;
  }

  for (const std::string& folder : plan.Folders())
    Require(folder.size() > places.destination.size() + 1 &&
            folder.compare(0, places.destination.size() + 1, places.destination + "\\") == 0);

  // The run's error points: the title at its start, the program file after the copy pass, the
  // location record's name at the very end.
  Require(Throws([&] { plan.Title(); }) == (count < 3));
  Require(Throws([&] { plan.ProgramFilePath(); }) == (count < 4));
  Require(Throws([&] { plan.LocationRecordPath(); }) == (count < 5));
  const std::vector<std::string> location = plan.LocationRecord();
  Require(location.size() >= 2 && location[0] == ":run");

  if (count >= 3) {
    const std::vector<std::string> record = plan.UninstallRecord();
    Require(record.size() == static_cast<size_t>(1 + copies + 4));
    Require(record.back() == plan.LastTargetLine());
    const bool plainPlaces = !HasLineBreakOrZero(places.source) &&
                             !HasLineBreakOrZero(places.destination) &&
                             !HasLineBreakOrZero(places.windowsDir);
    // What is saved reads back as the same lines.
    if (plainPlaces) {
      Require(setupcore::SplitLines(setupcore::JoinLines(record)) == record);
      Require(setupcore::SplitLines(setupcore::JoinLines(location)) == location);
    }
  }

  return 0;
}
