// The directory list over real directories and drives: its items and the paths they stand for,
// opening items as a person does, drive changes, the links and the order they are told in.
// The cases on drives D:, E: and H: need the prefix that tests/Drives_test.sh prepares.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "filectrl/DirHelpers.h"
#include "filectrl/DirectoryListBox.h"
#include "filectrl/DriveComboBox.h"
#include "filectrl/FileListBox.h"
#include "support/Files.h"
#include "support/HostedControl.h"
#include "support/Listing.h"
#include "ui/Application.h"
#include "platform/Errors.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

namespace {
// The path split at its backslashes: C:\A\B gives C:, A, B.
std::vector<std::string> Steps(const std::string& path) {
  std::vector<std::string> out;
  size_t start = 0;
  for (size_t sep; (sep = path.find('\\', start)) != std::string::npos; start = sep + 1)
    out.push_back(path.substr(start, sep - start));
  out.push_back(path.substr(start));
  return out;
}

class DirList : public HostedControl<TDirectoryListBox> {
protected:
  void SetUp() override {
    HostedControl<TDirectoryListBox>::SetUp();
    list = control;
    list->OnChange = [this](TComponent&) { events.push_back("list " + list->Directory()); };
    deep = Canonical(work.Path()) + "\\Alpha\\Beta";
    Make(work.Path(), {"Alpha\\", "Alpha\\Beta\\", "Alpha\\Beta\\iosubsys\\", "Alpha\\Beta\\VMM32\\",
                       "Alpha\\Beta\\Hidden\\", "Alpha\\Beta\\file.txt"});
    SetFileAttributesA((deep + "\\Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
  }
  void Open(int index, bool byEnter) {
    host->Show();
    list->SetItemIndex(index);
    if (byEnter) {
      list->SetFocus();
      PostMessageA(list->Handle(), WM_KEYDOWN, VK_RETURN, 1);
      PostMessageA(list->Handle(), WM_KEYUP, VK_RETURN, 0xC0000001);
    } else {
      RECT r;
      SendMessageA(list->Handle(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
      LPARAM at = MAKELPARAM(r.left + 20, (r.top + r.bottom) / 2);
      PostMessageA(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
      PostMessageA(list->Handle(), WM_LBUTTONUP, 0, at);
      PostMessageA(list->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
      PostMessageA(list->Handle(), WM_LBUTTONUP, 0, at);
    }
    Application->ProcessMessages();
  }

  TempDir work{"dirlist"};
  std::string deep;
  TDirectoryListBox* list = nullptr;
  std::vector<std::string> events;
};
}  // namespace

TEST_F(DirList, ADeepDirectoryShowsItsWayDownAndItsVisibleSubdirectories) {
  list->SetDirectory(deep);
  EXPECT_EQ(list->Directory(), deep);
  EXPECT_EQ(Cwd(), deep);
  std::vector<std::string> expected = Steps(deep);
  expected[0] += "\\";
  const int current = static_cast<int>(expected.size()) - 1;
  expected.push_back("iosubsys");
  expected.push_back("VMM32");
  EXPECT_EQ(Items(), expected) << "ancestors, the current one, subdirectories sorted, none hidden";
  EXPECT_EQ(list->ItemIndex(), current);

  EXPECT_EQ(list->ItemPath(0), std::string(1, deep[0]) + ":\\");
  EXPECT_EQ(list->ItemPath(1), deep.substr(0, deep.find('\\', 3)));
  EXPECT_EQ(list->ItemPath(current - 1), Canonical(work / "Alpha"));
  EXPECT_EQ(list->ItemPath(current), deep);
  EXPECT_EQ(list->ItemPath(current + 2), deep + "\\VMM32");
  EXPECT_EQ(list->ItemPath(current + 3), "");
  EXPECT_EQ(list->ItemPath(-1), "");
}

TEST_F(DirList, ARootIsOneCurrentItemFollowedByItsSubdirectories) {
  list->SetDirectory("C:\\");
  auto items = Items();
  ASSERT_GE(items.size(), 2u);
  EXPECT_EQ(items[0], "C:\\");
  EXPECT_EQ(list->ItemIndex(), 0);
  EXPECT_EQ(list->ItemPath(0), "C:\\");
  EXPECT_EQ(list->ItemPath(1), "C:\\" + items[1]);
  for (size_t i = 2; i < items.size(); ++i)
    EXPECT_LT(lstrcmpiA(items[i - 1].c_str(), items[i].c_str()), 0) << items[i - 1] << " before " << items[i];
  events.clear();
  list->SetDirectory("c:\\");
  EXPECT_TRUE(events.empty()) << "the same directory in other case on this volume changes nothing";
}

TEST_F(DirList, ATrailingFileNameIsDroppedAMissingDirectoryChangesNothingAndAGoneOneCanBeLeft) {
  list->SetDirectory(deep + "\\file.txt");
  EXPECT_EQ(list->Directory(), deep);
  const auto before = Items();
  events.clear();
  SetCurrentDirectoryA(start.c_str());
  EXPECT_THROW(list->SetDirectory(deep + "\\NoSuch\\x"), EInOutError);
  EXPECT_EQ(list->Directory(), deep);
  EXPECT_EQ(Items(), before);
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(Cwd(), start) << "the failed split puts the current directory back";

  // A directory that went away can still be left.
  Make(work.Path(), {"Gone\\"});
  list->SetDirectory(work / "Gone");
  SetCurrentDirectoryA(start.c_str());
  ASSERT_TRUE(RemoveDirectoryA((work / "Gone").c_str()));
  list->SetDirectory(deep);
  EXPECT_EQ(events.back(), "list " + deep);
}

TEST_F(DirList, OpeningAnItemByDoubleClickOrEnterEntersIt) {
  list->SetDirectory(deep);
  const int current = list->ItemIndex();
  int dblClicks = 0, keys = 0;
  list->OnDblClick = [&](TComponent&) { ++dblClicks; };
  list->OnKeyPress = [&](TComponent&, char& key) { keys += key == '\r'; };

  Open(current - 1, /*byEnter*/ false);  // the ancestor Alpha
  EXPECT_EQ(dblClicks, 1);
  EXPECT_EQ(list->Directory(), Canonical(work / "Alpha"));
  EXPECT_EQ(Cwd(), list->Directory());

  Open(list->ItemIndex() + 1, /*byEnter*/ true);  // its subdirectory Beta
  EXPECT_EQ(keys, 1);
  EXPECT_EQ(list->Directory(), deep);

  Open(0, /*byEnter*/ true);
  EXPECT_EQ(list->Directory(), std::string(1, deep[0]) + ":\\");
}

TEST_F(DirList, SettingTheDriveEntersItsCurrentDirectoryAndOneThatCannotBeEnteredRaises) {
  list->SetDirectory(deep);
  list->SetDrive(deep[0] == 'C' ? 'c' : 'C');
  EXPECT_EQ(list->Directory(), deep) << "the same drive in either case does nothing";
  list->SetDrive('z');
  EXPECT_EQ(list->Directory()[0] & ~0x20, 'Z');
  EXPECT_EQ(Cwd(), list->Directory());
  list->SetDrive(deep[0]);
  EXPECT_EQ(list->Drive(), deep[0]);
  EXPECT_EQ(Cwd(), list->Directory());

  const char missing = MissingDrive();
  ASSERT_NE(missing, 0);
  list->SetDirectory(deep);
  events.clear();
  EXPECT_THROW(list->SetDrive(missing), EInOutError);
  EXPECT_EQ(list->Directory(), deep);
  EXPECT_TRUE(events.empty());

  if (!DrivesPrepared()) GTEST_SKIP() << "drive H: without medium needs tests/Drives_test.sh";
  try {
    list->SetDrive('h');
    FAIL() << "a drive without medium was entered";
  } catch (const EInOutError& e) {
    // Windows finds the drive not ready, a code told by its number; Wine finds no path on it.
    EXPECT_TRUE(e.ErrorCode() == 21 || e.ErrorCode() == 3) << e.ErrorCode();
    EXPECT_EQ(e.Message(), e.ErrorCode() == 21 ? "I/O error 21" : "Invalid filename");
  }
  EXPECT_EQ(list->Directory(), deep);
}

TEST_F(DirList, LinkedFileListLabelAndDriveSelectorFollowInOrder) {
  auto* files = new TFileListBox(host);
  files->Define(host, "files", 0, 200, 100, 50);
  files->SetFileType(TFileType{ftNormal});
  files->OnChange = [&](TComponent&) { events.push_back("files " + files->Directory()); };
  auto* label = new TLabel(host);
  label->SetAutoSize(false);
  label->Define(host, "label", 0, 260, 60, 13, "x");
  auto* drives = new TDriveComboBox(host);
  drives->Define(host, "drives", 0, 280, 150, 19);
  drives->OnChange = [&](TComponent&) { events.push_back(std::string("drive ") + drives->Drive()); };

  list->SetFileList(files);
  list->SetDirLabel(label);
  EXPECT_EQ(label->Caption(), FitPathToWidth(list->Directory(), label->Font().Handle(), 60));
  drives->SetDirList(list);
  EXPECT_EQ(list->DriveCombo(), drives);
  drives->Handle();  // the selector's window applies its drive and tells

  list->SetDirectory(deep);
  events.clear();
  list->SetDirectory("Z:\\tmp");
  EXPECT_PRED2(SamePath, list->Directory(), "Z:\\tmp");
  EXPECT_EQ(events, (std::vector<std::string>{"drive z", "files " + list->Directory(),
                                              "list " + list->Directory()}))
      << "the selector is told before the list";
  EXPECT_EQ(files->Directory(), list->Directory());
  EXPECT_EQ(label->Caption(), FitPathToWidth(list->Directory(), label->Font().Handle(), 60));

  events.clear();
  list->SetDirectory(deep);
  EXPECT_PRED2(SamePath, list->Directory(), deep);
  EXPECT_EQ(events.front(), std::string("drive ") + static_cast<char>(deep[0] | 0x20));
  EXPECT_EQ(events.back(), "list " + list->Directory());
  EXPECT_EQ(label->Caption(), FitPathToWidth(list->Directory(), label->Font().Handle(), 60));
  EXPECT_NE(label->Caption(), list->Directory()) << "a deep path is shortened to the label's width";

  // A drive chosen in the selector switches the list, which tells before the selector does.
  events.clear();
  drives->SetDrive('Z');
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0], "files " + list->Directory());
  EXPECT_EQ(events[2], "drive z");

  delete files;
  delete label;
  EXPECT_EQ(list->FileList(), nullptr);
  EXPECT_EQ(list->DirLabel(), nullptr);
  auto* other = new TDriveComboBox(host);
  other->SetDirList(list);
  EXPECT_EQ(drives->DirList(), nullptr) << "a list follows one selector";
  delete other;
  delete drives;
  EXPECT_EQ(list->DriveCombo(), nullptr);
  list->SetDirectory(deep + "\\iosubsys");  // nothing left to tell but its own event
  EXPECT_EQ(events.back(), "list " + list->Directory());
}

TEST_F(DirList, NamesOnThisVolumeAreShownAsStoredAndTheItemHeightFitsTheGlyphs) {
  list->SetDirectory(deep);
  EXPECT_TRUE(list->CasePreserving());
  EXPECT_EQ(list->DisplayText(list->ItemIndex() + 2), "VMM32");
  EXPECT_EQ(list->ItemHeight(), 16);
  const int current = list->ItemIndex();
  const std::pair<int, const char*> glyphs[] = {
      {0, "OPENFOLDER"}, {current, "CURRENTFOLDER"}, {current + 1, "CLOSEDFOLDER"}};
  for (auto [at, picture] : glyphs) {
    const auto* glyph = static_cast<const TBitmap*>(list->Objects(at));
    EXPECT_TRUE(glyph && SamePicture(glyph->Handle(), TBitmap::FromResource(picture).Handle()))
        << picture;
  }
}

TEST_F(DirList, OnACdTheNamesAreDrawnInLowerCaseAndTheDirectoryKeepsItsCase) {
  if (!DrivesPrepared()) GTEST_SKIP() << "needs the CD drive D: of tests/Drives_test.sh";
  list->SetDirectory("D:\\MixedCase");
  EXPECT_EQ(list->Directory(), "D:\\MixedCase");
  ASSERT_EQ(Items(), (std::vector<std::string>{"D:\\", "MixedCase", "InnerDir"}));
  // Wine's CD volumes report neither FS_CASE_IS_PRESERVED nor FS_CASE_SENSITIVE.
  EXPECT_FALSE(list->CasePreserving());
  EXPECT_FALSE(list->CaseSensitive());
  EXPECT_EQ(list->DisplayText(0), "d:\\");
  EXPECT_EQ(list->DisplayText(1), "mixedcase");
  EXPECT_EQ(list->DisplayText(2), "innerdir");
}

TEST_F(DirList, TwoNamesDifferingOnlyInCaseAppearOnce) {
  if (!DrivesPrepared()) GTEST_SKIP() << "needs E:\\cases of tests/Drives_test.sh";
  list->SetDirectory("E:\\cases");
  auto items = Items();
  ASSERT_EQ(items.size(), 4u) << "E:\\, cases, one of dup and DUP, other";
  EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, items[2].c_str(), -1, "dup", -1),
            CSTR_EQUAL);
  EXPECT_EQ(items[3], "other");
}
