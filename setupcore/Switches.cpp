#include "setupcore/Switches.h"

#include "setupcore/GroupCommands.h"

namespace setupcore {

namespace {
const char kUnclosedQuote[] = "A double quote on the command line is not closed.";
const char kNotASwitch[] = "\"%1\" is not a switch: switches begin with /.";
const char kUnknownSwitch[] = "The switch \"%1\" is not known.";
const char kNeedsValue[] = "The switch %1 needs a value: %1=...";
const char kTakesNoValue[] = "The switch %1 takes no value.";
const char kGivenTwice[] = "The switch %1 is given twice.";
const char kUnsendableGroup[] =
    "The group name \"%1\" cannot be used: it holds a double quote or a bracket.";

std::string Fill(const char* text, const std::string& arg) {
  std::string out;
  for (const char* p = text; *p; ++p) {
    if (p[0] == '%' && p[1] == '1') {
      out += arg;
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameName(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (Upper(a[i]) != Upper(b[i])) return false;
  return i == a.size() && !b[i];
}

// One argument: its switch name (up to '=') and its value (after it).
struct Argument {
  std::string text, name, value;
  bool hasValue = false;
};

Argument Split(const std::string& text) {
  Argument a;
  a.text = text;
  const size_t eq = text.find('=');
  a.name = text.substr(0, eq);
  if (eq != std::string::npos) {
    a.hasValue = true;
    a.value = text.substr(eq + 1);
  }
  return a;
}

// The switches met so far; Take refuses a repeated one and a value where there must be none or
// must be one, with `error` set.
struct SwitchTable {
  std::vector<std::string> seen;

  bool Take(const Argument& a, const char* name, bool valued, std::string& error) {
    for (const std::string& s : seen)
      if (s == name) return error = Fill(kGivenTwice, name), false;
    seen.push_back(name);
    if (valued && (!a.hasValue || a.value.empty())) return error = Fill(kNeedsValue, name), false;
    if (!valued && a.hasValue) return error = Fill(kTakesNoValue, name), false;
    return true;
  }
};

// Reads the arguments common to both programs into quiet, usage and the valued switches named in
// `valued` (their values into `values`, in the same order).
bool ParseCommon(const std::vector<std::string>& args, const std::vector<const char*>& valued,
                 Quietness& quiet, bool& usage, std::vector<std::string*> values, std::string& error) {
  SwitchTable table;
  for (const std::string& text : args) {
    if (text.empty() || text[0] != '/') return error = Fill(kNotASwitch, text), false;
    const Argument a = Split(text);
    bool ok = true;
    if (SameName(a.name, "/?")) {
      ok = table.Take(a, "/?", false, error);
      usage = true;
    } else if (SameName(a.name, "/SILENT")) {
      ok = table.Take(a, "/SILENT", false, error);
      if (quiet == Quietness::interactive) quiet = Quietness::silent;
    } else if (SameName(a.name, "/VERYSILENT")) {
      ok = table.Take(a, "/VERYSILENT", false, error);
      quiet = Quietness::verySilent;  // the quieter of the two wins, in whichever order
    } else {
      size_t k = 0;
      while (k < valued.size() && !SameName(a.name, valued[k])) ++k;
      if (k == valued.size()) return error = Fill(kUnknownSwitch, a.name), false;
      ok = table.Take(a, valued[k], true, error);
      *values[k] = a.value;
    }
    if (!ok) return false;
  }
  return true;
}
// What a refused command line still says of how the refusal is to be told: quietly or not, and
// into which log. The first /LOG= with a value is taken.
void ReadQuietAndLog(const std::vector<std::string>& args, Quietness& quiet, std::string& log) {
  for (const std::string& text : args) {
    const Argument a = Split(text);
    if (SameName(a.name, "/VERYSILENT")) quiet = Quietness::verySilent;
    else if (SameName(a.name, "/SILENT") && quiet == Quietness::interactive) quiet = Quietness::silent;
    else if (SameName(a.name, "/LOG") && log.empty()) log = a.value;
  }
}
}  // namespace

bool SplitCommandLine(const std::string& line, std::vector<std::string>& arguments) {
  std::vector<std::string> out;
  std::string current;
  bool quoted = false, inArgument = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      inArgument = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inArgument) out.push_back(current);
      current.clear();
      inArgument = false;
    } else {
      current += c;
      inArgument = true;
    }
  }
  if (quoted) return false;
  if (inArgument) out.push_back(current);
  if (!out.empty()) out.erase(out.begin());  // the program's own name
  arguments = out;
  return true;
}

bool ParseSetupSwitches(const std::string& commandLine, SetupSwitches& switches, std::string& error) {
  std::vector<std::string> args;
  if (!SplitCommandLine(commandLine, args)) {
    switches = SetupSwitches();
    return error = kUnclosedQuote, false;
  }
  SetupSwitches s;
  static const std::vector<const char*> valued = {"/DIR", "/GROUP", "/LOG"};
  const bool ok = ParseCommon(args, valued, s.quiet, s.usage, {&s.dir, &s.group, &s.log}, error) &&
                  (IsSendableName(s.group) || (error = Fill(kUnsendableGroup, s.group), false));
  if (!ok) {
    switches = SetupSwitches();
    ReadQuietAndLog(args, switches.quiet, switches.log);
    return false;
  }
  switches = s;
  return true;
}

bool ParseRemoveSwitches(const std::string& commandLine, RemoveSwitches& switches, std::string& error) {
  std::vector<std::string> args;
  RemoveSwitches s;
  // Written by remove.exe itself, always in this case, and read whole by the clean-up copy.
  if (SplitCommandLine(commandLine, args) && !args.empty() && args[0] == "/cleanup") {
    s.cleanUp = true;
    switches = s;
    return true;
  }
  if (!SplitCommandLine(commandLine, args)) {
    switches = RemoveSwitches();
    return error = kUnclosedQuote, false;
  }
  static const std::vector<const char*> valued = {"/LOG"};
  if (!ParseCommon(args, valued, s.quiet, s.usage, {&s.log}, error)) {
    switches = RemoveSwitches();
    ReadQuietAndLog(args, switches.quiet, switches.log);
    return false;
  }
  switches = s;
  return true;
}

std::string SetupUsage() {
  return "Usage: setup [/SILENT | /VERYSILENT] [/DIR=path] [/GROUP=name] [/LOG=file]\n"
         "\n"
         "/SILENT\tshows only the progress dialog and asks no questions\n"
         "/VERYSILENT\tshows no window at all\n"
         "/DIR=path\tinstalls into this directory\n"
         "/GROUP=name\tmakes this Start Menu folder\n"
         "/LOG=file\twrites every step to this file\n"
         "/?\tshows this text\n"
         "\n"
         "Values with blanks go in double quotes. Exit codes: 0 installed, 1 nothing was "
         "changed, 2 installed with failures.";
}

std::string RemoveUsage() {
  return "Usage: remove [/SILENT | /VERYSILENT] [/LOG=file]\n"
         "\n"
         "/SILENT\tshows only the progress and asks no questions\n"
         "/VERYSILENT\tshows no window at all\n"
         "/LOG=file\twrites every step to this file\n"
         "/?\tshows this text\n"
         "\n"
         "Exit codes: 0 all removed, 1 nothing was removed, 2 something was left.";
}

SetupExitCode SetupExit(bool installed, bool failures) {
  if (!installed) return kSetupNothingChanged;
  return failures ? kSetupInstalledWithFailures : kSetupInstalled;
}

RemoveExitCode RemoveExit(bool removedAny, bool anythingLeft) {
  if (!removedAny) return kRemoveNothingChanged;
  return anythingLeft ? kRemoveSomethingLeft : kRemoveAllRemoved;
}

}  // namespace setupcore
