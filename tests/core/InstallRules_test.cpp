// What a run may touch, decided on texts: full destinations, device names, record names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setupcore/InstallRules.h"

using F = setupcore::RecordNameFault;

TEST(InstallRules, TheDestinationIsMadeAFullPathOrRefused) {
  const struct {
    const char* typed;
    const char* full;  // nullptr: refused
  } rows[] = {
      {"C:\\Apps\\TB", "C:\\Apps\\TB"}, {"C:\\Apps\\TB\\", "C:\\Apps\\TB"},
      {"c:\\\\Apps\\\\\\TB\\\\", "c:\\Apps\\TB"}, {"C:/Apps/TB/", "C:\\Apps\\TB"},
      {"\\\\server\\share\\TB\\", "\\\\server\\share\\TB"},
      {"\\\\server\\share\\\\TB", "\\\\server\\share\\TB"}, {"Rel", nullptr}, {"C:Rel", nullptr},
      {"\\Rel", nullptr}, {":system", nullptr}, {"", nullptr}, {"C:\\", nullptr}, {"C:", nullptr},
      {"\\\\server\\share\\", nullptr}, {"C:\\Apps\\..\\Windows", nullptr},
      {"C:\\Apps\\.\\TB", nullptr}, {"C:\\Apps\\T*B", nullptr}, {"C:\\Apps\\T:B", nullptr},
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
    F fault;
    bool standard;
  } rows[] = {
      {"widget", F::kNone, false}, {"win", F::kNone, true}, {"SYSTEM", F::kNone, true},
      {"progman", F::kNone, true}, {"", F::kEmpty, false},
      {"..\\..\\Program Files\\Other\\unin", F::kReservedCharacter, false},
      {"a/b", F::kReservedCharacter, false}, {"c:x", F::kReservedCharacter, false},
      {"w*", F::kReservedCharacter, false}, {"w\"", F::kReservedCharacter, false},
      {"w|", F::kReservedCharacter, false}, {"..", F::kDots, false}, {"CON", F::kDevice, false},
      {"com7", F::kDevice, false}, {"LPT1.x", F::kDevice, false}, {"aux. .", F::kDevice, false},
      {"clock$", F::kDevice, false}, {"com10", F::kNone, false},
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
