// The product in the system's list of installed programs, read back from the registry and from
// Wine's own list (its uninstaller program).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "engine/Registration.h"
#include "uninstaller/Unregister.h"
#include "support/Files.h"
#include "support/Records.h"
#include "platform/Registry.h"

namespace {
const char kRecord[] = "vtest_registration";

// Whatever a failing test leaves in either hive goes with it.
struct EntryOwner {
  ~EntryOwner() {
    for (HKEY hive : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
      RegDeleteKeyA(hive, setupcore::UninstallKey(kRecord).c_str());
  }
};
}  // namespace

TEST(Registration, TheEntryIsListedWithItsValuesAndGoesOnlyForItsOwnUninstaller) {
  EntryOwner owner;
  const ProductEntry entry{kRecord, "Velmora Registration Test 1.0", "C:\\Program Files\\VReg\\remove.exe",
                           "C:\\Program Files\\VReg", "C:\\Program Files\\VReg\\vreg.exe", 5 * 1024 + 1};
  DWORD error = 0;
  ASSERT_EQ(RegisterProduct(entry, error), RegisteredIn::machine) << error;
  const std::string key = setupcore::UninstallKey(kRecord);
  const std::pair<const char*, const char*> texts[] = {
      {"DisplayName", "Velmora Registration Test 1.0"},
      {"UninstallString", "\"C:\\Program Files\\VReg\\remove.exe\""},
      {"QuietUninstallString", "\"C:\\Program Files\\VReg\\remove.exe\" /VERYSILENT"},
      {"InstallLocation", "C:\\Program Files\\VReg"},
      {"DisplayIcon", "C:\\Program Files\\VReg\\vreg.exe"},
  };
  for (const auto& t : texts) {
    std::string value;
    EXPECT_TRUE(ReadRegText(HKEY_LOCAL_MACHINE, key, t.first, value)) << t.first;
    EXPECT_EQ(value, t.second) << t.first;
  }
  const std::pair<const char*, DWORD> numbers[] = {{"EstimatedSize", 6}, {"NoModify", 1}, {"NoRepair", 1}};
  for (const auto& n : numbers) {
    DWORD value = 0;
    EXPECT_TRUE(ReadRegNumber(HKEY_LOCAL_MACHINE, key, n.first, value)) << n.first;
    EXPECT_EQ(value, n.second) << n.first;
  }
  EXPECT_NE(InstalledProgramsList().find("Velmora Registration Test 1.0"), std::string::npos);

  EXPECT_FALSE(UnregisterProduct(kRecord, "C:\\Other\\remove.exe")) << "another product's uninstaller";
  std::string value;
  EXPECT_TRUE(ReadRegText(HKEY_LOCAL_MACHINE, key, "DisplayName", value));
  EXPECT_TRUE(UnregisterProduct(kRecord, "c:\\PROGRAM FILES\\vreg\\Remove.exe")) << "the same path";
  EXPECT_FALSE(ReadRegText(HKEY_LOCAL_MACHINE, key, "DisplayName", value));
  EXPECT_EQ(InstalledProgramsList().find("Velmora Registration Test"), std::string::npos);
}

TEST(Registration, ARecordNameThatCannotNameAKeyRegistersNothing) {
  for (const char* name : {"", "..\\..\\Run", "a\nb"}) {
    DWORD error = 0;
    EXPECT_EQ(RegisterProduct(ProductEntry{name, "T", "C:\\r.exe", "C:\\", "C:\\p.exe", 0}, error),
              RegisteredIn::nowhere)
        << name;
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_INVALID_NAME));
  }
}
