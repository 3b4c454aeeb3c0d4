// The text list: splitting, joining, loading and saving with real files.
#include <gtest/gtest.h>

#include <windows.h>

#include "support/Files.h"
#include "ui/Errors.h"
#include "ui/Strings.h"

namespace {
std::vector<std::string> Split(const std::string& text) {
  TStringList l;
  l.SetText(text);
  return l.Lines();
}
using Lines = std::vector<std::string>;
}  // namespace

TEST(Strings, LineEndsOfEveryKindSplitAlike) {
  Lines expected{"one", "two", "", "four"};
  EXPECT_EQ(Split("one\r\ntwo\r\n\r\nfour"), expected);
  EXPECT_EQ(Split("one\rtwo\r\rfour\r"), expected);
  EXPECT_EQ(Split("one\ntwo\n\nfour\n"), expected);
  EXPECT_EQ(Split("a\n\rb"), (Lines{"a", "", "b"})) << "LF CR is two line ends";
  EXPECT_EQ(Split(""), Lines{});
  EXPECT_EQ(Split("\r\n"), Lines{""});
  EXPECT_EQ(Split(" a \r\n\tb "), (Lines{" a ", "\tb "})) << "blanks are kept";
}

TEST(Strings, ANulByteEndsTheText) {
  EXPECT_EQ(Split(std::string("one\r\ntw\0o\r\nthree", 17)), (Lines{"one", "tw"}));
}

TEST(Strings, IndexErrorsCarryTheirMessages) {
  TStringList l;
  l.Add("a");
  try {
    l.Strings(1);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds");
  }
  try {
    l.Insert(2, "x");
    FAIL();
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "Unable to insert a line");
  }
  l.Insert(1, "b");
  l.Insert(0, "z");
  EXPECT_EQ(l.Lines(), (Lines{"z", "a", "b"}));
}

TEST(Strings, SavingWritesCrLfAfterEveryLineAndReplacesTheFile) {
  TempDir dir;
  TStringList l;
  l.Add("first");
  l.Add("");
  l.Add("last");
  WriteFileBytes(dir / "r.ini", std::string(1000, 'x'));
  l.SaveToFile(dir / "r.ini");
  EXPECT_EQ(ReadFileBytes(dir / "r.ini"), "first\r\n\r\nlast\r\n");
  TStringList back;
  back.LoadFromFile(dir / "r.ini");
  EXPECT_EQ(back, l);
  TStringList empty;
  empty.SaveToFile(dir / "r.ini");
  EXPECT_EQ(ReadFileBytes(dir / "r.ini"), "");
}

TEST(Strings, AFailedSaveSaysSoAndKeepsWhatWasThere) {
  TempDir dir;
  TStringList l;
  l.Add("new");
  std::string missing = dir / "no\\such\\dir\\r.ini";
  try {
    l.SaveToFile(missing);
    FAIL();
  } catch (const EFCreateError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file " + missing);
  }
  // A record held open by another program cannot be replaced; its text stays and no
  // neighbour file is left.
  WriteFileBytes(dir / "old.ini", "old\r\n");
  HANDLE held = CreateFileA((dir / "old.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_THROW(l.SaveToFile(dir / "old.ini"), EFCreateError);
  CloseHandle(held);
  EXPECT_EQ(ReadFileBytes(dir / "old.ini"), "old\r\n");
  EXPECT_FALSE(FileExists(dir / "old.ini.new~"));
  // A directory of that name is no record either.
  CreateDirectoryA((dir / "adir").c_str(), nullptr);
  EXPECT_THROW(l.SaveToFile(dir / "adir"), EFCreateError);
  EXPECT_TRUE(DirExists(dir / "adir"));
}

TEST(Strings, LoadingAMissingFileNamesIt) {
  TStringList l;
  l.Add("kept");
  try {
    l.LoadFromFile("no-such-file.ini");
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_STREQ(e.what(), "Cannot open file no-such-file.ini");
  }
  EXPECT_EQ(l.Lines(), Lines{"kept"});
}
