// The text list: index rules, and loading and saving real files (its line rules are the core's).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "support/Files.h"
#include "support/Wait.h"
#include "platform/Errors.h"
#include "platform/FileHandle.h"
#include "platform/Strings.h"

namespace {
using Lines = std::vector<std::string>;

TStringList ListOf(const Lines& lines) {
  TStringList list;
  for (const auto& l : lines) list.Add(l);
  return list;
}
}  // namespace

TEST(TextList, IndexesOutsideTheLinesAreListErrors) {
  TStringList list = ListOf({"a", "c"});
  EXPECT_EQ(list.Strings(1), "c");
  for (int i : {2, -1}) EXPECT_EQ(ThrownMessage<EListError>([&] { list.Strings(i); }), "List index out of bounds");
  EXPECT_EQ(ThrownMessage<EListError>([] { TStringList().Strings(0); }), "List index out of bounds");
  // Insertion takes 0 to Count only.
  list.Insert(1, "b");
  list.Insert(3, "d");
  list.Insert(0, "start");
  EXPECT_EQ(list.Lines(), (Lines{"start", "a", "b", "c", "d"}));
  for (int i : {6, -1}) EXPECT_EQ(ThrownMessage<EListError>([&] { list.Insert(i, "x"); }), "Unable to insert a line");
  EXPECT_EQ(ThrownMessage<EListError>([] { TStringList().Insert(1, "x"); }), "Unable to insert a line");
  list.Delete(0);
  list.Add("B");
  EXPECT_EQ(list.Lines(), (Lines{"a", "b", "c", "d", "B"}));
  EXPECT_EQ(ThrownMessage<EListError>([&] { list.Delete(5); }), "List index out of bounds");
  EXPECT_EQ(list.IndexOf("B"), 4) << "case counts";
  EXPECT_EQ(list.IndexOf("c"), 2);
  EXPECT_EQ(list.IndexOf("x"), -1);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(TextListFiles, LoadingReadsRawBytesWholeAndAMissingFileKeepsTheList) {
  TempDir dir("strings");
  std::string big(200000, 'x');
  WriteFileBytes(dir / "script.txt", "first\r\ncaf\xE9\n" + big + "\rlast");
  TStringList list;
  list.LoadFromFile(dir / "script.txt");
  EXPECT_EQ(list.Lines(), (Lines{"first", "caf\xE9", big, "last"}));
  WriteFileBytes(dir / "empty.txt", "");
  list.LoadFromFile(dir / "empty.txt");
  EXPECT_EQ(list.Count(), 0);

  list.Add("kept");
  for (const std::string& path : {dir / "missing.txt", dir.Path()})
    EXPECT_EQ(ThrownMessage<EFOpenError>([&] { list.LoadFromFile(path); }), "Cannot open file " + path);
  EXPECT_EQ(list.Lines(), Lines{"kept"});
}

TEST(TextListFiles, SavingWritesCrLfAfterEveryLineReplacesTheFileAndLoadsBack) {
  TempDir dir("strings");
  const std::string path = dir / "record.ini";
  WriteFileBytes(path, std::string(5000, 'o'));
  TStringList saved = ListOf({"Widget 2.0", "", " C:\\caf\xE9\\x.exe "});
  saved.SaveToFile(path);
  EXPECT_EQ(ReadFileBytes(path), "Widget 2.0\r\n\r\n C:\\caf\xE9\\x.exe \r\n");
  TStringList loaded;
  loaded.LoadFromFile(path);
  EXPECT_EQ(loaded, saved);
  TStringList().SaveToFile(path);
  EXPECT_EQ(ReadFileBytes(path), "");
  // A relative name is saved in the current directory.
  char previous[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryA(dir.Path().c_str()));
  ListOf({"here"}).SaveToFile("unin.ini");
  SetCurrentDirectoryA(previous);
  EXPECT_EQ(ReadFileBytes(dir / "unin.ini"), "here\r\n");
  EXPECT_EQ(TreeListing(dir.Path()), (Lines{"\\record.ini 0", "\\unin.ini 6"}));
}

// A save that fails names the file, keeps what was there and leaves nothing beside it.
TEST(TextListFiles, AFailedSaveKeepsWhatWasThereAndLeavesNothingBehind) {
  TempDir dir("strings");
  WriteFileBytes(dir / "unin.ini", "previous record\r\n");
  CreateDirectoryA((dir / "sub").c_str(), nullptr);
  WriteFileBytes(dir / "sub\\inside.txt", "x");
  const Lines before = TreeListing(dir.Path());
  // Another program holds the record open and lets no one replace it.
  FileHandle holder(CreateFileA((dir / "unin.ini").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(holder.Valid());
  for (const char* name : {"unin.ini", "sub", "no such dir\\unin.ini"}) {
    const std::string path = dir / name;
    EXPECT_EQ(ThrownMessage<EFCreateError>([&] { ListOf({"new record"}).SaveToFile(path); }),
              "Cannot create file " + path);
  }
  EXPECT_EQ(ReadFileBytes(dir / "unin.ini"), "previous record\r\n");
  EXPECT_EQ(TreeListing(dir.Path()), before);
}
