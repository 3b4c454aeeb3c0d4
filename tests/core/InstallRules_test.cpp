// What a run may touch, decided on texts: full destinations, device names, record names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setupcore/InstallRules.h"

using setupcore::ProgramFileFault;
using setupcore::RecordNameFault;
using setupcore::ShortcutNameFault;

namespace {

// Code page 932, where the second byte of 97 5C and of 95 5C is the backslash's.
TCodePage Japanese() {
  TCodePage cp = WesternCodePage();
  for (int c = 0x81; c <= 0xFC; ++c) cp.lead[c] = c <= 0x9F || c >= 0xE0;
  return cp;
}
const std::string kYoteihyo = "\x97\x5C\x92\xE8\x95\x5C";  // three characters, "yoteihyo"
}  // namespace

TEST(InstallRules, TheDestinationIsMadeAFullPathOrRefused) {
  const struct {
    std::string typed;
    std::string full;  // empty: refused
    bool japanese = false;
  } rows[] = {
      {"C:\\Apps\\TB", "C:\\Apps\\TB"},
      {"C:\\Apps\\TB\\", "C:\\Apps\\TB"},
      {"c:\\\\Apps\\\\\\TB\\\\", "c:\\Apps\\TB"},
      {"C:/Apps/TB/", "C:\\Apps\\TB"},
      {"C:\\Apps\\" + kYoteihyo + "\\Data", "C:\\Apps\\" + kYoteihyo + "\\Data", true},
      {"C:\\" + kYoteihyo + "\\", "C:\\" + kYoteihyo, true},
      {"C:\\" + kYoteihyo + "\\Data", "C:\\\x97\\\x92\xE8\x95\\" "Data"},  // Western
      {"C:\\Apps\\\x95", "", true},  // a lead byte that has lost its second byte
      {"\\\\server\\share\\TB\\", ""},
      {"//server/share/TB", ""},
      {"\\\\?\\C:\\Apps\\TB", ""},
      {"\\\\.\\C:\\Apps\\TB", ""},
      {"Rel", ""},
      {"C:Rel", ""},
      {"\\Rel", ""},
      {":system", ""},
      {"", ""},
      {"C:\\", ""},
      {"C:", ""},
      {"C:\\Apps\\..\\Windows", ""},
      {"C:\\Apps\\.\\TB", ""},
      {"C:\\Apps.\\TB", ""},
      {"C:\\Apps \\TB", ""},
      {"C:\\...\\TB", ""},
      {"C:\\Apps\\TB.", ""},
      {"C:\\Apps\\T*B", ""},
      {"C:\\Apps\\T:B", ""},
      {"C:\\Apps\\con\\TB", ""},
      {"C:\\Apps\\com\xB9", ""},
  };
  for (const auto& row : rows) {
    std::string full = "untouched";
    const bool ok =
        setupcore::FullDestination(row.typed, full, row.japanese ? Japanese() : WesternCodePage());
    EXPECT_EQ(ok, !row.full.empty()) << row.typed;
    EXPECT_EQ(full, ok ? row.full : "untouched") << row.typed;
  }
  EXPECT_TRUE(setupcore::IsShareForm("\\\\?\\C:\\x"));
  EXPECT_TRUE(setupcore::IsShareForm("/\\srv\\s\\x"));
  EXPECT_FALSE(setupcore::IsShareForm("\\Rel"));
}

// The group and the title name the shortcuts' folder and files; line 3 stands below the
// destination inside the group's quoted command.
TEST(InstallRules, ShortcutNamesAndTheProgramFile) {
  using N = ShortcutNameFault;
  using P = ProgramFileFault;
  const struct {
    std::string text;
    N group, title;
    P program;
    bool japanese = false;
  } rows[] = {
      {"Widget 2.0", N::kNone, N::kNone, P::kNone},
      {"Tools\\Widget", N::kNone, N::kReservedCharacter, P::kNone},
      {kYoteihyo, N::kNone, N::kNone, P::kNone, true},
      {kYoteihyo, N::kEmpty, N::kReservedCharacter, P::kNotBelow},  // Western: a trailing backslash
      {"", N::kEmpty, N::kEmpty, P::kNotBelow},
      {"\\Widget", N::kEmpty, N::kReservedCharacter, P::kNotBelow},
      {"A\\\\B", N::kEmpty, N::kReservedCharacter, P::kNotBelow},
      {"..", N::kEdge, N::kEdge, P::kNotBelow},
      {"..\\..\\other.exe", N::kEdge, N::kReservedCharacter, P::kNotBelow},
      {"data.\\w.exe", N::kEdge, N::kReservedCharacter, P::kNotBelow},
      {"Acme Inc.", N::kEdge, N::kNone, P::kNotBelow},
      {"a ", N::kEdge, N::kEdge, P::kNotBelow},
      {" a", N::kEdge, N::kEdge, P::kNone},
      {"C:\\w.exe", N::kReservedCharacter, N::kReservedCharacter, P::kNotBelow},
      {"w.exe:s", N::kReservedCharacter, N::kReservedCharacter, P::kNotBelow},
      {"a/b", N::kReservedCharacter, N::kReservedCharacter, P::kNotBelow},
      {"a?b|c", N::kReservedCharacter, N::kReservedCharacter, P::kNotBelow},
      {"a\tb", N::kReservedCharacter, N::kReservedCharacter, P::kNotBelow},
      {"w.exe\"][DeleteGroup(Other)][AddItem(\"x", N::kReservedCharacter, N::kReservedCharacter,
       P::kUnsendable},
      {"w[1].exe", N::kNone, N::kNone, P::kUnsendable},
      {"con", N::kDevice, N::kDevice, P::kDevice},
      {"bin\\NUL.exe", N::kDevice, N::kReservedCharacter, P::kDevice},
  };
  for (const auto& row : rows) {
    const TCodePage cp = row.japanese ? Japanese() : WesternCodePage();
    EXPECT_EQ(setupcore::CheckGroupName(row.text, cp), row.group) << row.text;
    EXPECT_EQ(setupcore::CheckTitle(row.text, cp), row.title) << row.text;
    EXPECT_EQ(setupcore::CheckProgramFile(row.text, cp), row.program) << row.text;
  }
}

TEST(InstallRules, RecordNames) {
  const struct {
    const char* name;
    RecordNameFault fault;
    bool standard;
  } rows[] = {
      {"widget", RecordNameFault::kNone, false},
      {"win", RecordNameFault::kNone, true},
      {"SYSTEM", RecordNameFault::kNone, true},
      {"progman", RecordNameFault::kNone, true},
      {"", RecordNameFault::kEmpty, false},
      {"..\\..\\Program Files\\Other\\unin", RecordNameFault::kReservedCharacter, false},
      {"a/b", RecordNameFault::kReservedCharacter, false},
      {"c:x", RecordNameFault::kReservedCharacter, false},
      {"w*", RecordNameFault::kReservedCharacter, false},
      {"w\"", RecordNameFault::kReservedCharacter, false},
      {"w|", RecordNameFault::kReservedCharacter, false},
      {"..", RecordNameFault::kDots, false},
      {"CON", RecordNameFault::kDevice, false},
      {"com7", RecordNameFault::kDevice, false},
      {"LPT1.x", RecordNameFault::kDevice, false},
      {"aux. .", RecordNameFault::kDevice, false},
      {"clock$", RecordNameFault::kDevice, false},
      {"com10", RecordNameFault::kNone, false},
      {"COM0", RecordNameFault::kDevice, false},
      {"lpt0.x", RecordNameFault::kDevice, false},
      {"com\xB9", RecordNameFault::kDevice, false},
      {"LPT\xB2.txt", RecordNameFault::kDevice, false},
      {"Com\xB3", RecordNameFault::kDevice, false},
      {"COM\xB4", RecordNameFault::kNone, false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(setupcore::CheckRecordName(row.name), row.fault) << row.name;
    EXPECT_EQ(setupcore::IsStandardIniName(row.name), row.standard) << row.name;
  }
}

TEST(InstallRules, AnExistingIniIsOursOnlyWithRunAndTheSameDestination) {
  auto same = [](const std::string& a, const std::string& b) { return a == b; };
  using Lines = std::vector<std::string>;
  EXPECT_TRUE(setupcore::IsOwnLocationRecord(Lines{":run", "C:\\A", "x"}, "C:\\A", same));
  EXPECT_FALSE(setupcore::IsOwnLocationRecord(Lines{":run", "C:\\B"}, "C:\\A", same));
  EXPECT_FALSE(setupcore::IsOwnLocationRecord(Lines{"[windows]", "C:\\A"}, "C:\\A", same));
  EXPECT_FALSE(setupcore::IsOwnLocationRecord(Lines{":run"}, "C:\\A", same));
}
