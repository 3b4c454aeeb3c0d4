// What a run may touch, decided on texts: full destinations, device names, record names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setupcore/InstallRules.h"

using setupcore::RecordNameFault;

TEST(InstallRules, TheDestinationIsMadeAFullPathOrRefused) {
  const struct {
    const char* typed;
    const char* full;  // nullptr: refused
  } rows[] = {
      {"C:\\Apps\\TB", "C:\\Apps\\TB"},
      {"C:\\Apps\\TB\\", "C:\\Apps\\TB"},
      {"c:\\\\Apps\\\\\\TB\\\\", "c:\\Apps\\TB"},
      {"C:/Apps/TB/", "C:\\Apps\\TB"},
      {"\\\\server\\share\\TB\\", "\\\\server\\share\\TB"},
      {"\\\\server\\share\\\\TB", "\\\\server\\share\\TB"},
      {"Rel", nullptr},
      {"C:Rel", nullptr},
      {"\\Rel", nullptr},
      {":system", nullptr},
      {"", nullptr},
      {"C:\\", nullptr},
      {"C:", nullptr},
      {"\\\\server\\share\\", nullptr},
      {"C:\\Apps\\..\\Windows", nullptr},
      {"C:\\Apps\\.\\TB", nullptr},
      {"C:\\Apps\\T*B", nullptr},
      {"C:\\Apps\\T:B", nullptr},
  };
  for (const auto& row : rows) {
    std::string full = "untouched";
    const bool ok = setupcore::FullDestination(row.typed, full);
    EXPECT_EQ(ok, row.full != nullptr) << row.typed;
    EXPECT_EQ(full, row.full ? row.full : "untouched") << row.typed;
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
