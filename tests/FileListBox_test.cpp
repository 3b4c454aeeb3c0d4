// The file list over real directories: what it lists, in which order and with which glyph, its
// re-read rules, typed paths, the edit field, the user's click, and the current directory.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "filectrl/DirHelpers.h"
#include "filectrl/DirectoryListBox.h"
#include "filectrl/FileListBox.h"
#include "support/Files.h"
#include "support/HostedControl.h"
#include "support/Listing.h"
#include "support/Wait.h"
#include "ui/Application.h"
#include "platform/Errors.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

namespace {

class FileList : public HostedControl<TFileListBox> {
protected:
  void SetUp() override {
    HostedControl<TFileListBox>::SetUp();
    list = control;
    list->OnChange = [this](TComponent&) { ++changes; };
  }
  const void* Glyph(const std::string& text) {
    for (int i = 0; i < list->Count(); ++i)
      if (list->Strings(i) == text) return list->Objects(i);
    ADD_FAILURE() << "no item " << text;
    return nullptr;
  }

  TempDir work{"filelist"};
  TFileListBox* list = nullptr;
  int changes = 0;
};
}  // namespace

TEST_F(FileList, ItemsAreSortedIgnoringCaseWithDirectoriesInBracketsAndTheDotsFirst) {
  Make(work.Path(), {"StartUp\\", "Accessories\\", "Zeta.txt", "alpha.txt", "9lives.txt", "Beta.TXT",
              "_first.txt"});
  list->SetDirectory(work.Path());
  // Punctuation before digits before letters, and capitals in among the small letters.
  EXPECT_EQ(Items(), (std::vector<std::string>{"_first.txt", "9lives.txt", "alpha.txt", "Beta.TXT",
                                               "Zeta.txt"}));
  list->SetFileType(TFileType{ftDirectory});
  auto items = Items();
  ASSERT_EQ(items.size(), 4u);
  EXPECT_TRUE((items[0] == "[.]" && items[1] == "[..]") || (items[0] == "[..]" && items[1] == "[.]"));
  EXPECT_EQ(items[2], "[Accessories]");
  EXPECT_EQ(items[3], "[StartUp]");
  EXPECT_EQ(Cwd(), list->Directory()) << "reading leaves the current directory at the list's";

  // A drive's root has no "." and "..".
  list->SetDirectory("C:\\");
  EXPECT_EQ(list->Directory(), "C:\\");
  for (const std::string& item : Items())
    EXPECT_TRUE(item.front() == '[' && item != "[.]" && item != "[..]") << item;
}

TEST_F(FileList, HiddenEntriesNeedTheirAttributeInTheFileType) {
  Make(work.Path(), {"Visible\\", "Secret\\", "plain.txt", "shy.txt"});
  ASSERT_TRUE(SetFileAttributesA((work / "Secret").c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(SetFileAttributesA((work / "shy.txt").c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(GetFileAttributesA((work / "Secret").c_str()) & FILE_ATTRIBUTE_HIDDEN)
      << "this file system keeps no hidden attribute";

  list->SetDirectory(work.Path());
  list->SetFileType(TFileType{ftDirectory});
  auto named = [&] {  // the items after "[.]" and "[..]", which come first
    const std::vector<std::string> items = Items();
    return std::vector<std::string>(items.begin() + 2, items.end());
  };
  EXPECT_EQ(named(), (std::vector<std::string>{"[Visible]"}));
  // Without ftNormal the plain files go; a hidden file shares the hidden bit and stays.
  list->SetFileType(TFileType{ftDirectory, ftHidden});
  EXPECT_EQ(named(), (std::vector<std::string>{"[Secret]", "[Visible]", "shy.txt"}));

  list->SetFileType(TFileType{ftNormal});
  EXPECT_EQ(Items(), (std::vector<std::string>{"plain.txt"}));
  list->SetFileType(TFileType{ftHidden, ftNormal});
  EXPECT_EQ(Items(), (std::vector<std::string>{"plain.txt", "shy.txt"}));

  ASSERT_TRUE(SetFileAttributesA((work / "plain.txt").c_str(), FILE_ATTRIBUTE_READONLY));
  list->SetFileType(TFileType{ftReadOnly});
  EXPECT_EQ(Items(), (std::vector<std::string>{"plain.txt"}));
  SetFileAttributesA((work / "plain.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FileList, ProgramsGetTheProgramGlyphWhateverTheCaseOfTheirExtension) {
  Make(work.Path(), {"setup.exe", "SETUP.BAT", "tool.Com", "old.pif", "archive.tar.exe", "readme.txt",
              "notes.exe.txt", "noext", "Folder\\"});
  list->SetFileType(TFileType{ftNormal, ftDirectory});
  list->SetDirectory(work.Path());
  auto is = [&](const char* name, const char* picture) {
    const auto* glyph = static_cast<const TBitmap*>(Glyph(name));
    return glyph && SamePicture(glyph->Handle(), TBitmap::FromResource(picture).Handle());
  };
  for (const char* name : {"setup.exe", "SETUP.BAT", "tool.Com", "old.pif", "archive.tar.exe"})
    EXPECT_TRUE(is(name, "EXECUTABLE")) << name;
  for (const char* name : {"readme.txt", "notes.exe.txt", "noext"}) EXPECT_TRUE(is(name, "UNKNOWNFILE")) << name;
  EXPECT_EQ(Glyph("[Folder]"), nullptr) << "folders have a glyph only while glyphs are shown";
  list->SetShowGlyphs(true);
  list->ReadEntries();
  EXPECT_TRUE(is("[Folder]", "CLOSEDFOLDER"));
}

TEST_F(FileList, ItemHeightMakesRoomForTheGlyphsOnlyWhenTheyAreShown) {
  const int line = FontLineHeight(list->Font().Handle());
  EXPECT_EQ(list->ItemHeight(), line);
  list->SetShowGlyphs(true);
  EXPECT_EQ(list->ItemHeight(), line < 16 ? 16 : line);
  EXPECT_EQ(SendMessageA(list->Handle(), LB_GETITEMHEIGHT, 0, 0), list->ItemHeight());

  // A font change measures again, still with room for the glyphs.
  list->SetFont(TFont("Arial", 30));
  EXPECT_EQ(list->ItemHeight(), std::max(FontLineHeight(list->Font().Handle()), 16));
  EXPECT_EQ(SendMessageA(list->Handle(), LB_GETITEMHEIGHT, 0, 0), list->ItemHeight());
}

TEST_F(FileList, MaskPartsAreReadInTurnAndAnEntryMatchingTwoIsListedTwice) {
  Make(work.Path(), {"a.exe", "b.bat", "both.exe", "c.txt"});
  list->SetDirectory(work.Path());
  list->SetMask("*.exe;*.bat");
  EXPECT_EQ(Items(), (std::vector<std::string>{"a.exe", "b.bat", "both.exe"}));
  list->SetMask("*.exe;b*");
  EXPECT_EQ(Items(), (std::vector<std::string>{"a.exe", "b.bat", "both.exe", "both.exe"}));
  list->SetMask("*.none;c.txt");
  EXPECT_EQ(Items(), (std::vector<std::string>{"c.txt"})) << "a part matching nothing is no error";
}

TEST_F(FileList, SettingTheDirectoryMovesTheCurrentDirectoryAndAFailureKeepsTheList) {
  Make(work.Path(), {"Sub\\", "Sub\\in.txt"});
  list->SetDirectory(work.Path());
  list->SetDirectory("Sub");  // relative to the list's directory
  EXPECT_EQ(list->Directory(), Canonical(work / "Sub"));
  EXPECT_EQ(Cwd(), list->Directory());
  EXPECT_EQ(Items(), (std::vector<std::string>{"in.txt"}));

  SetCurrentDirectoryA(work.Path().c_str());
  const std::string before = list->Directory();
  try {
    list->SetDirectory(work / "NoSuch");
    FAIL() << "a missing directory was entered";
  } catch (const EInOutError& e) {
    // Wine and Windows say "file" or "path" not found for a missing last directory.
    EXPECT_TRUE(e.ErrorCode() == 2 || e.ErrorCode() == 3) << e.ErrorCode();
    EXPECT_EQ(e.Message(), e.ErrorCode() == 2 ? "File not found" : "Invalid filename");
  }
  EXPECT_EQ(list->Directory(), before);
  EXPECT_EQ(Items(), (std::vector<std::string>{"in.txt"}));
  EXPECT_EQ(Cwd(), before) << "after a failed change the list's directory is current";

  // A list whose directory is gone can still be moved by a full path, not by a relative one.
  Make(work.Path(), {"Other\\"});
  SetCurrentDirectoryA(work.Path().c_str());
  ASSERT_TRUE(DeleteFileA((work / "Sub\\in.txt").c_str()) && RemoveDirectoryA((work / "Sub").c_str()));
  EXPECT_THROW(list->SetDirectory("Other"), EInOutError);
  list->SetDirectory(work / "Other");
  EXPECT_EQ(list->Directory(), Canonical(work / "Other"));
}

TEST_F(FileList, AHiddenListReadsTheDirectorySetBeforeItsWindowExists) {
  Make(work.Path(), {"early.txt"});
  list->SetVisible(false);
  ASSERT_FALSE(list->HandleAllocated());
  list->SetDirectory(work.Path());
  EXPECT_EQ(Cwd(), Canonical(work.Path()));
  EXPECT_FALSE(list->HandleAllocated()) << "setting the directory alone makes no window";
  EXPECT_EQ(changes, 0);
  SetCurrentDirectoryA(start.c_str());
  EXPECT_EQ(list->Count(), 1);
  EXPECT_EQ(list->Strings(0), "early.txt");
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(IsWindowVisible(list->Handle()));
}

TEST_F(FileList, AppliedPathsChangeDirectoryMaskOrSelection) {
  Make(work.Path(), {"Docs\\", "Docs\\a.txt", "Docs\\b.txt", "Docs\\c.exe"});
  auto* edit = new TEdit(host);
  edit->Define(host, "edit", 0, 210, 200, 20);
  list->SetFileEdit(edit);
  EXPECT_EQ(edit->Text(), "*.*") << "with no selection the edit shows the mask";

  list->ApplyPath(work / "Docs");
  EXPECT_EQ(list->Directory(), Canonical(work / "Docs"));
  EXPECT_EQ(list->Mask(), "*.*");

  list->ApplyPath(work / "Docs\\b.txt");
  EXPECT_EQ(list->SelectedName(), "b.txt");
  EXPECT_EQ(list->SelectedPath(), Canonical(work / "Docs") + "\\b.txt");
  EXPECT_EQ(edit->Text(), "b.txt");
  DWORD from = 0, to = 0;
  SendMessageA(edit->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  EXPECT_EQ(from, 0u);
  EXPECT_EQ(to, 5u) << "the whole text is selected";

  list->ApplyPath("*.exe");
  EXPECT_EQ(list->Mask(), "*.exe");
  EXPECT_EQ(Items(), (std::vector<std::string>{"c.exe"}));
  EXPECT_EQ(edit->Text(), "*.exe");

  // A file the mask hides becomes the mask.
  list->ApplyPath("a.txt");
  EXPECT_EQ(list->Mask(), "a.txt");
  EXPECT_EQ(list->SelectedName(), "a.txt");

  delete edit;
  EXPECT_EQ(list->FileEdit(), nullptr) << "the link goes with the edit";
  list->SelectName("");  // no edit to write to any more
}

TEST_F(FileList, AppliedPathsAreLookedForWhereTheyBelongAndAMissingNameChangesNothing) {
  Make(work.Path(), {"Here\\", "There\\", "Here\\mine.txt", "There\\t.txt"});
  list->SetDirectory(work / "Here");
  list->Count();
  const std::string there = Canonical(work / "There");
  // A file of the list's directory is looked for there, not in the current directory.
  SetCurrentDirectoryA(there.c_str());
  list->ApplyPath(Canonical(work / "Here") + "\\mine.txt");
  EXPECT_EQ(list->SelectedName(), "mine.txt");

  SetCurrentDirectoryA(there.c_str());
  const int before = changes;
  EXPECT_THROW(list->ApplyPath(work / "There\\missing.txt"), EInOutError);
  EXPECT_EQ(list->Directory(), Canonical(work / "Here"));
  EXPECT_EQ(Items(), (std::vector<std::string>{"mine.txt"}));
  EXPECT_EQ(changes, before);
  EXPECT_EQ(Cwd(), there);

  // A bare mask is taken in the current directory.
  list->ApplyPath("*.txt");
  EXPECT_EQ(list->Directory(), there);
  EXPECT_EQ(Items(), (std::vector<std::string>{"t.txt"}));
}

TEST_F(FileList, SelectNameLooksFromTheSecondItemOnAndIgnoresCase) {
  Make(work.Path(), {"same.txt", "zzz.txt"});
  list->SetDirectory(work.Path());
  list->SetMask("same.txt;same.txt;zzz.txt");
  ASSERT_EQ(list->Count(), 3);
  list->SelectName("SAME.TXT");
  EXPECT_EQ(list->ItemIndex(), 1);
  const int before = changes;
  list->SelectName("same.txt");
  EXPECT_EQ(changes, before) << "the selected name again does nothing";
  list->SelectName("nothing");
  EXPECT_EQ(list->ItemIndex(), -1);
  EXPECT_EQ(list->SelectedName(), "");
  EXPECT_EQ(list->SelectedPath(), "");
}

TEST_F(FileList, AUsersClickTellsOnlyWhenTheSelectionMoves) {
  Make(work.Path(), {"a.txt", "b.txt", "c.txt"});
  list->SetDirectory(work.Path());
  int clicks = 0;
  list->OnClick = [&](TComponent&) { ++clicks; };
  host->Show();
  auto clickItem = [&](int index) {
    RECT r;
    SendMessageA(list->Handle(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    LPARAM at = MAKELPARAM(r.left + 5, (r.top + r.bottom) / 2);
    SendMessageA(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(list->Handle(), WM_LBUTTONUP, 0, at);
    Application->ProcessMessages();
  };
  const int before = changes;
  clickItem(1);
  EXPECT_EQ(list->SelectedName(), "b.txt");
  EXPECT_EQ(changes, before + 1);
  clickItem(2);
  EXPECT_EQ(changes, before + 2);
  EXPECT_GE(clicks, 2);
  // A changed selection that nobody was told about is told at the next click.
  list->SetItemIndex(0);
  clickItem(0);
  EXPECT_EQ(changes, before + 3);
}

namespace {
// A file list that watches its own insertions: the cursor at each, the position each landed at,
// and, when asked, an insertion the list control refuses.
class WatchedFileList : public TFileListBox {
public:
  using TFileListBox::TFileListBox;
  std::vector<int> positions;
  std::vector<TCursor> cursors;
  int refuseAt = -1;

protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg != LB_ADDSTRING) return TFileListBox::WndProc(msg, wp, lp);
    cursors.push_back(Screen->Cursor());
    if (static_cast<int>(positions.size()) == refuseAt) return LB_ERR;
    LRESULT at = TFileListBox::WndProc(msg, wp, lp);
    positions.push_back(static_cast<int>(at));
    return at;
  }
};
}  // namespace

TEST_F(FileList, LongReadingsShowTheHourglassFromPosition100AndRestoreTheCursor) {
  for (int i = 0; i < 260; ++i) WriteFileBytes(work / ("f" + std::to_string(1000 + (i * 7919) % 9000) + ".txt"), "x");
  auto* watched = new WatchedFileList(host);
  watched->Define(host, "watched", 0, 0, 100, 100);
  watched->SetDirectory(work.Path());
  Screen->SetCursor(crDefault);
  watched->ReadEntries();
  ASSERT_EQ(watched->Count(), 260);
  size_t first100 = 0;
  while (first100 < watched->positions.size() && watched->positions[first100] != 100) ++first100;
  ASSERT_LT(first100, watched->positions.size()) << "no insertion landed at position 100";
  for (size_t i = 0; i < watched->cursors.size(); ++i)
    EXPECT_EQ(watched->cursors[i], i > first100 ? crHourGlass : crDefault) << "insertion " << i;
  EXPECT_EQ(Screen->Cursor(), crDefault);

  // The list control refuses an item after the hourglass came on: the error, and the cursor back.
  watched->refuseAt = 200;
  watched->positions.clear();
  EXPECT_EQ(ThrownMessage<EListError>([&] { watched->ReadEntries(); }), "Unable to insert a line");
  EXPECT_EQ(Screen->Cursor(), crDefault);
}

TEST_F(FileList, ADrivingDirectoryListTakesTheTextAndANameLostOnTheWayIsAnInvalidFileName) {
  Make(work.Path(), {"Docs\\", "Else\\", "Docs\\a.txt"});
  auto* dirs = new TDirectoryListBox(host);
  dirs->Define(host, "dirs", 0, 0, 100, 100);
  dirs->SetFileList(list);
  EXPECT_EQ(list->DirList(), dirs);

  list->ApplyPath(work / "Docs\\a.txt");
  EXPECT_EQ(dirs->Directory(), Canonical(work / "Docs"));
  EXPECT_EQ(list->Directory(), Canonical(work / "Docs")) << "the directory list passes it on";
  EXPECT_EQ(list->SelectedName(), "a.txt");

  // Whoever watches the directory list moves the file list on before the name is looked for.
  dirs->SetDirectory(work.Path());
  dirs->OnChange = [&](TComponent&) { list->SetDirectory(work / "Else"); };
  const std::string text = work / "Docs\\a.txt";
  EXPECT_EQ(ThrownMessage<EInvalidOperation>([&] { list->ApplyPath(text); }),
            "Invalid file name - " + text);
  EXPECT_EQ(list->Directory(), Canonical(work / "Else")) << "the change made before stays";

  delete dirs;
  EXPECT_EQ(list->DirList(), nullptr) << "the link goes with the directory list";
}
