// Any bytes as a product's setup.ini, with any texts as the places (see FuzzInput.h): the
// checker's findings and its whole report.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "setupcheck/Check.h"
#include "setupcheck/Report.h"

namespace {
// A listing made of some of the script's own lines, some in another case, so that both the
// found and the not-found ways of the lookup run.
setupcheck::ProductFiles FilesFrom(const setupcore::Script& script) {
  setupcheck::ProductFiles files;
  for (int i = 0; i < script.Count(); i += 2) {
    std::string name = script.Lines()[static_cast<size_t>(i)];
    if (i % 4 == 2)
      for (char& c : name)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    files.paths.push_back(name);
  }
  return files;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  setupcheck::ProductCheck check;
  check.scriptRead = true;
  check.scriptName = "setup.ini";
  check.script = setupcore::Script::FromBytes(bytes);
  check.places = PlacesAfterZero(bytes, check.script);
  check.diagnostics = setupcheck::CheckScript(bytes, FilesFrom(check.script), check.places);

  const int status = setupcheck::ExitStatus(check.diagnostics);
  // A short script is an error; so is, since the installer refuses them, a record name, a group
  // name or a marker it cannot use.
  if (check.script.Count() < 5) Require(status == 2);
  // An entry named like a device, or one naming a folder of a Windows directory, is an error.
  const setupcore::CopyPlan plan(check.script, check.places);
  for (const setupcore::CopyEntry& entry : plan.Entries())
    if (entry.refusal == setupcore::EntryRefusal::kDevice ||
        entry.refusal == setupcore::EntryRefusal::kFolderInWindows)
      Require(status == 2);
  for (const setupcheck::Diagnostic& d : check.diagnostics)
    Require(d.line >= -1 && d.line <= check.script.Count());

  std::ostringstream out;
  setupcheck::PrintPlan(out, check);
  setupcheck::PrintDiagnostics(out, check);
  // Whatever the script holds, the terminal gets no control byte but the line breaks.
  for (char c : out.str())
    Require(c == '\n' || (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F));
  return 0;
}
