// The text list: index rules, and loading and saving real files (its line rules are the core's).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "support/Files.h"
#include "support/Wait.h"
#include "ui/Errors.h"
#include "ui/FileHandle.h"
#include "ui/Strings.h"

namespace {
TStringList ListOf(std::initializer_list<std::string> lines) {
  TStringList list;
  for (const auto& l : lines) list.Add(l);
  return list;
}

// The names in a directory, "." and ".." left out.
std::vector<std::string> Entries(const std::string& dir) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    std::string n = fd.cFileName;
    if (n != "." && n != "..") names.push_back(n);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return names;
}

using Lines = std::vector<std::string>;
}  // namespace

TEST(TextListSplitting, SettingTextReplacesTheLines) {
  TStringList list = ListOf({"old 1", "old 2", "old 3"});
  list.SetText("new");
  EXPECT_EQ(list.Lines(), Lines{"new"});
}

TEST(TextListText, EqualityAndAssignFollowTheText) {
  TStringList a = ListOf({"Line", "two"});
  TStringList b;
  EXPECT_NE(a, b);
  b.Assign(a);
  EXPECT_EQ(a, b);
  b.Add("three");
  EXPECT_EQ(a.Count(), 2);  // a copy, not a shared list
  EXPECT_NE(a, ListOf({"line", "two"}));  // case counts
}

TEST(TextListIndexes, ReadingOutsideTheLinesIsAListError) {
  TStringList list = ListOf({"a", "b"});
  EXPECT_EQ(list.Strings(1), "b");
  EXPECT_EQ(ThrownMessage<EListError>([&] { list.Strings(2); }), "List index out of bounds");
  EXPECT_EQ(ThrownMessage<EListError>([&] { list.Strings(-1); }), "List index out of bounds");
  EXPECT_EQ(ThrownMessage<EListError>([] { TStringList().Strings(0); }), "List index out of bounds");
}

TEST(TextListIndexes, InsertTakesZeroToCountOnly) {
  TStringList list = ListOf({"a", "c"});
  list.Insert(1, "b");
  list.Insert(3, "d");
  list.Insert(0, "start");
  EXPECT_EQ(list.Lines(), (Lines{"start", "a", "b", "c", "d"}));
  EXPECT_EQ(ThrownMessage<EListError>([&] { list.Insert(6, "x"); }), "Unable to insert a line");
  EXPECT_EQ(ThrownMessage<EListError>([&] { list.Insert(-1, "x"); }), "Unable to insert a line");
  EXPECT_EQ(ThrownMessage<EListError>([] { TStringList().Insert(1, "x"); }), "Unable to insert a line");
  EXPECT_EQ(list.Count(), 5);
}

TEST(TextListIndexes, DeleteClearAndIndexOf) {
  TStringList list = ListOf({"a", "B", "c", "B"});
  list.Delete(0);
  EXPECT_EQ(list.Lines(), (Lines{"B", "c", "B"}));
  EXPECT_EQ(ThrownMessage<EListError>([&] { list.Delete(3); }), "List index out of bounds");
  EXPECT_EQ(list.IndexOf("B"), 0);
  EXPECT_EQ(list.IndexOf("b"), -1);
  EXPECT_EQ(list.IndexOf("c"), 1);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

class TextListFiles : public ::testing::Test {
protected:
  TempDir dir{"strings"};
};

TEST_F(TextListFiles, LoadingReadsRawBytesWhole) {
  std::string big(200000, 'x');
  WriteFileBytes(dir / "script.txt", "first\r\ncaf\xE9\n" + big + "\rlast");
  TStringList list;
  list.LoadFromFile(dir / "script.txt");
  EXPECT_EQ(list.Lines(), (Lines{"first", "caf\xE9", big, "last"}));
}

TEST_F(TextListFiles, LoadingAnEmptyFileGivesNoLines) {
  WriteFileBytes(dir / "empty.txt", "");
  TStringList list = ListOf({"was here"});
  list.LoadFromFile(dir / "empty.txt");
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(TextListFiles, LoadingAMissingFileNamesItAndKeepsTheList) {
  TStringList list = ListOf({"kept"});
  const std::string path = dir / "missing.txt";
  EXPECT_EQ(ThrownMessage<EFOpenError>([&] { list.LoadFromFile(path); }), "Cannot open file " + path);
  EXPECT_EQ(ThrownMessage<EFOpenError>([&] { list.LoadFromFile(dir.Path()); }),
            "Cannot open file " + dir.Path());
  EXPECT_EQ(list.Lines(), Lines{"kept"});
}

TEST_F(TextListFiles, SavingWritesCrLfAfterEveryLineAndReplacesTheFile) {
  const std::string path = dir / "record.ini";
  WriteFileBytes(path, std::string(5000, 'o'));
  ListOf({"Widget 2.0", "", "C:\\caf\xE9\\x.exe"}).SaveToFile(path);
  EXPECT_EQ(ReadFileBytes(path), "Widget 2.0\r\n\r\nC:\\caf\xE9\\x.exe\r\n");
  TStringList().SaveToFile(path);
  EXPECT_EQ(ReadFileBytes(path), "");
  EXPECT_EQ(Entries(dir.Path()), Lines{"record.ini"});
}

TEST_F(TextListFiles, SavedLinesLoadBackTheSame) {
  TStringList saved = ListOf({" blank ", "", "\xC4\xD6\xDC", "end"});
  saved.SaveToFile(dir / "round.txt");
  TStringList loaded;
  loaded.LoadFromFile(dir / "round.txt");
  EXPECT_EQ(loaded, saved);
}

TEST_F(TextListFiles, ARelativeNameIsSavedInTheCurrentDirectory) {
  char previous[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryA(dir.Path().c_str()));
  ListOf({"here"}).SaveToFile("unin.ini");
  SetCurrentDirectoryA(previous);
  EXPECT_EQ(ReadFileBytes(dir / "unin.ini"), "here\r\n");
  EXPECT_EQ(Entries(dir.Path()), Lines{"unin.ini"});
}

TEST_F(TextListFiles, AFailedSaveKeepsThePreviousFileAndLeavesNothingBehind) {
  const std::string path = dir / "unin.ini";
  WriteFileBytes(path, "previous record\r\n");
  {
    // Another program holds the record open and lets no one replace it.
    FileHandle holder(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder.Valid());
    EXPECT_EQ(ThrownMessage<EFCreateError>([&] { ListOf({"new record"}).SaveToFile(path); }),
              "Cannot create file " + path);
  }
  EXPECT_EQ(ReadFileBytes(path), "previous record\r\n");
  EXPECT_EQ(Entries(dir.Path()), Lines{"unin.ini"});
}

TEST_F(TextListFiles, SavingOverADirectoryFailsAndKeepsIt) {
  const std::string path = dir / "sub";
  CreateDirectoryA(path.c_str(), nullptr);
  WriteFileBytes(path + "\\inside.txt", "x");
  EXPECT_EQ(ThrownMessage<EFCreateError>([&] { ListOf({"a"}).SaveToFile(path); }),
            "Cannot create file " + path);
  EXPECT_TRUE(DirExists(path));
  EXPECT_EQ(Entries(dir.Path()), Lines{"sub"});
  EXPECT_EQ(Entries(path), Lines{"inside.txt"});
}

TEST_F(TextListFiles, SavingIntoAMissingDirectoryNamesTheTarget) {
  const std::string path = dir / "no such dir\\unin.ini";
  EXPECT_EQ(ThrownMessage<EFCreateError>([&] { ListOf({"a"}).SaveToFile(path); }),
            "Cannot create file " + path);
  EXPECT_FALSE(DirExists(dir / "no such dir"));
  EXPECT_EQ(Entries(dir.Path()), Lines{});
}
