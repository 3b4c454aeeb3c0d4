// The drive list on real drives: items, order, glyphs and labels, the Drive rules, the user's
// choice, the text case, a linked directory list and a drive character that is no letter.
// The full item list needs the drives that tests/Drives_test.sh prepares; the rest runs with the
// C: and Z: that every prefix has.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "filectrl/DirHelpers.h"
#include "filectrl/DirectoryListBox.h"
#include "filectrl/DriveComboBox.h"
#include "support/Files.h"
#include "support/HostedControl.h"
#include "support/Listing.h"
#include "support/Thrown.h"
#include "ui/Application.h"
#include "platform/Errors.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

namespace {
class DriveList : public HostedControl<TDriveComboBox, 19> {
protected:
  void SetUp() override {
    HostedControl<TDriveComboBox, 19>::SetUp();
    combo = control;
    combo->OnChange = [this](TComponent&) { ++changes; };
  }
  std::string Selected() {
    int i = combo->ItemIndex();
    return i < 0 ? std::string() : combo->Strings(i);
  }
  // The user picks an item: the box selects it and tells its window, as after a mouse choice.
  void Choose(int index) {
    SendMessageA(combo->Handle(), CB_SETCURSEL, index, 0);
    SendMessageA(host->Handle(), WM_COMMAND,
                 MAKEWPARAM(GetDlgCtrlID(combo->Handle()), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo->Handle()));
  }
  int IndexOf(const std::string& prefix) {
    auto items = Items();
    for (size_t i = 0; i < items.size(); ++i)
      if (items[i].compare(0, prefix.size(), prefix) == 0) return static_cast<int>(i);
    return -1;
  }

  TDriveComboBox* combo = nullptr;
  int changes = 0;
};
}  // namespace

TEST_F(DriveList, TheWindowListsTheDrivesAppliesTheDriveAndTellsOnce) {
  EXPECT_EQ(combo->Drive(), start[0]) << "the drive of the current directory, as reported";
  EXPECT_FALSE(combo->HandleAllocated());
  combo->Handle();
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(combo->Drive(), static_cast<char>(start[0] | 0x20));
  EXPECT_EQ(Selected().substr(0, 2), std::string(1, combo->Drive()) + ":");
  auto items = Items();
  ASSERT_GE(items.size(), 2u);
  EXPECT_NE(IndexOf("c: "), -1);
  EXPECT_LT(IndexOf("c: "), IndexOf("z: ")) << "in the order of the letters";
  EXPECT_EQ(combo->ItemHeight(), std::max(FontLineHeight(combo->Font().Handle()), 11));
}

TEST_F(DriveList, PreparedDrivesGiveTheirKindsLabelsAndGlyphs) {
  if (!DrivesPrepared()) GTEST_SKIP() << "needs the drives of tests/Drives_test.sh";
  auto items = Items();
  ASSERT_GE(items.size(), 10u);
  // F: is a network drive whose connection cannot be queried: its volume label stands in.
  EXPECT_EQ(std::vector<std::string>(items.begin(), items.begin() + 9),
            (std::vector<std::string>{"a:", "c: []", "d: [cdvol]", "e: [system]", "f: [netvol]",
                                      "g: []", "h: []", "i: []", "j: \\\\server\\share"}));
  const char* glyphs[] = {"FLOPPY", "HARD", "CDROM", "HARD", "NETWORK", "RAM", "CDROM", "HARD",
                          "NETWORK"};
  for (int i = 0; i < 9; ++i) {
    const auto* glyph = static_cast<const TBitmap*>(combo->Objects(i));
    ASSERT_NE(glyph, nullptr);
    EXPECT_TRUE(SamePicture(glyph->Handle(), TBitmap::FromResource(glyphs[i]).Handle())) << items[i];
  }

  changes = 0;
  combo->SetTextCase(tcUpperCase);
  EXPECT_EQ(changes, 1);
  items = Items();
  EXPECT_EQ(std::vector<std::string>(items.begin(), items.begin() + 5),
            (std::vector<std::string>{"A:", "C: []", "D: [CDVOL]", "E: [SYSTEM]", "F: [NETVOL]"}));
  EXPECT_EQ(items[8], "J: \\\\SERVER\\SHARE");

  // A drive whose medium is missing is selected and stored before the list that follows the
  // selector fails to enter it, as in the Select Path dialog.
  auto* dirs = new TDirectoryListBox(host);
  dirs->Define(host, "dirs", 0, 30, 200, 200);
  const std::string before = dirs->Directory();
  combo->OnChange = [&](TComponent&) { dirs->SetDrive(combo->Drive()); };
  EXPECT_THROW(combo->SetDrive('h'), EInOutError);
  EXPECT_EQ(combo->Drive(), 'H');
  EXPECT_EQ(Selected(), "H: []");
  EXPECT_EQ(dirs->Directory(), before);
}

TEST_F(DriveList, SettingTheDriveStoresItsLowerCaseLetterAndTheSameDriveDoesNothing) {
  combo->Handle();
  combo->SetDrive('C');
  EXPECT_EQ(combo->Drive(), 'c');
  EXPECT_EQ(Selected().substr(0, 3), "c: ");
  const int after = changes;
  combo->SetDrive('c');
  combo->SetDrive('C');
  EXPECT_EQ(changes, after);
  combo->SetDrive('Z');
  EXPECT_EQ(combo->Drive(), 'z');
  EXPECT_EQ(changes, after + 1);

  combo->SetTextCase(tcUpperCase);
  EXPECT_EQ(combo->Drive(), 'Z');
  EXPECT_EQ(Selected().substr(0, 3), "Z: ");
  EXPECT_EQ(changes, after + 2);
  combo->SetTextCase(tcUpperCase);
  EXPECT_EQ(changes, after + 3) << "the case is applied again even when it does not change";
}

TEST_F(DriveList, TheUsersChoiceClicksAlwaysAndChangesOnlyForAnotherDrive) {
  int clicks = 0;
  combo->OnClick = [&](TComponent&) { ++clicks; };
  combo->Handle();
  const int zIndex = IndexOf("z:"), cIndex = IndexOf("c:");
  combo->SetDrive('z');
  const int before = changes;
  Choose(zIndex);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(changes, before);
  Choose(cIndex);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(changes, before + 1);
  EXPECT_EQ(combo->Drive(), 'c');

  // The keyboard in the closed box moves the choice the same way.
  host->Show();
  combo->SetFocus();
  SendMessageA(combo->Handle(), WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(combo->Drive(), Items().back()[0]);
  EXPECT_EQ(clicks, 3);
}

TEST_F(DriveList, ACharacterThatIsNoLetterIsKeptAndTheListReportsIt) {
  auto* dirs = new TDirectoryListBox(host);
  dirs->Define(host, "dirs", 0, 30, 200, 200);
  combo->Handle();
  combo->SetDirList(dirs);
  const std::string before = dirs->Directory();
  changes = 0;
  // A source text beginning with a backslash hands its backslash on as the drive.
  EXPECT_THROW(combo->SetDrive('\\'), EInOutError);
  EXPECT_EQ(combo->Drive(), '\\') << "stored as given, not turned into another character";
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(dirs->Directory(), before);
  combo->SetDirList(nullptr);
  combo->SetDrive('1');
  EXPECT_EQ(combo->Drive(), '1');
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(changes, 1) << "told even without a matching item";
  combo->SetDrive('C');
  EXPECT_EQ(combo->Drive(), 'c');
}

TEST_F(DriveList, AFailingChangeAtWindowCreationPassesThroughAndTheOtherControlsGetWindows) {
  combo->OnChange = [](TComponent&) { throw EInOutError(21); };
  auto* after = new TButton(host);
  after->Define(host, "after", 0, 40, 75, 25, "After");
  EXPECT_EQ(ThrownMessage<EInOutError>([&] { host->Handle(); }), "I/O error 21")
      << "the handler's failure passes through";
  EXPECT_TRUE(combo->HandleAllocated());
  EXPECT_TRUE(after->HandleAllocated()) << "a later control of the window still has its window";
}
