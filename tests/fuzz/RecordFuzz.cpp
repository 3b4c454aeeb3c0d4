// Any bytes as the two records remove.exe reads: unin.ini up to the first zero byte, the location
// record up to the second; the bytes after it choose a code page of two-byte characters (when
// there are any) and which steps are left behind. Whatever the lines say, nothing is planned for
// deletion outside its recorded place or through "..", and the records written back hold only
// lines they held before, in their order.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "setupcore/RemovePlan.h"
#include "setupcore/TextLines.h"

namespace {
// Whether `part` is `whole` with some lines left out.
bool Subsequence(const std::vector<std::string>& part, const std::vector<std::string>& whole) {
  size_t j = 0;
  for (const std::string& line : whole) j += j < part.size() && part[j] == line;
  return j == part.size();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> texts(3);
  for (size_t at = 0, k = 0; k < 3 && at <= bytes.size(); ++k) {
    size_t end = k < 2 ? bytes.find('\0', at) : bytes.size();
    if (end == std::string::npos) end = bytes.size();
    texts[k] = bytes.substr(at, end - at);
    at = end + 1;
  }
  TRemovePlaces places;
  places.windowsDir = "C:\\WINDOWS";
  places.systemDirs = {"C:\\WINDOWS\\SYSTEM32", "C:\\WINDOWS\\system"};
  places.destination = "c:\\Program Files\\Widget";
  places.self = places.destination + "\\remove.exe";
  places.uninstallRecord = places.destination + "\\unin.ini";
  places.locationRecord = "C:\\WINDOWS\\widget.ini";
  const std::string& choice = texts[2];
  if (!choice.empty())
    for (int c = 0x81; c <= 0xFC; ++c) places.codePage.lead[c] = c <= 0x9F || c >= 0xE0;
  const TCodePage& cp = places.codePage;

  TRecords records;
  records.uninstall = setupcore::SplitLines(texts[0]);
  records.location = setupcore::SplitLines(texts[1]);
  const TRemovePlan plan = PlanRemoval(records, places);

  for (const TRemoveStep& s : plan.steps) {
    if (s.kind == skRefused || s.kind == skPassedOver || s.kind == skPlace || s.kind == skIgnored) continue;
    Require(IsFullPath(s.path) && !HasDotPart(s.path, cp) && IsBelow(s.place, s.path, cp));
    const bool destination = s.kind == skFile || s.kind == skFolder || s.kind == skSelf;
    Require(destination ? s.place == places.destination
                        : s.kind == skShared ? IsBelow(places.windowsDir, s.path, cp)
                                             : s.place == places.ProgramsFolder());
    if (s.kind == skFolder || s.kind == skGroup) Require(MayRemoveDirectory(s.path, places));
    Require(!choice.empty() || s.path.find_first_of("*?\"<>|/") == std::string::npos);
  }
  Require(plan.self < 0 || plan.steps[plan.self].kind == skSelf);

  std::vector<bool> left(plan.steps.size());
  for (size_t i = 0; i < left.size(); ++i)
    left[i] = choice.empty() ? i % 2 == 1 : (choice[i % choice.size()] >> (i % 7)) & 1;
  const TRecords rest = RemainingRecords(records, plan, left, cp);
  Require(Subsequence(rest.uninstall, records.uninstall));
  Require(Subsequence(rest.location, records.location));

  TCleanUpArgs args;
  if (ParseCleanUpCommandLine(texts[0], args) && CleanUpIsSafe(args, places))
    Require(IsFullPath(args.exe) && !HasDotPart(args.exe, cp) && MayRemoveDirectory(args.destination, places));
  return 0;
}
