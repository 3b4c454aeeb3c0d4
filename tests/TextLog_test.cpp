// The log of an unattended run: each line on disk as soon as it is written, after what the file
// held; a log that cannot be made, or that the programs must not write through, told clearly.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "support/Files.h"
#include "platform/Errors.h"
#include "platform/TextLog.h"

TEST(TextLog, EachLineIsOnDiskWithItsTimeBeforeTheLogIsClosedAfterWhatTheFileHeld) {
  TempDir dir("log");
  const std::string earlier = "an earlier run's log\r\n";
  WriteFileBytes(dir / "setup.log", earlier);
  TTextLog log(dir / "setup.log");
  EXPECT_EQ(ReadFileBytes(dir / "setup.log"), earlier) << "an existing file is never cut";
  ASSERT_TRUE(log.Line("copied C:\\W\\a.exe (4096 bytes)"));
  std::string first = ReadFileBytes(dir / "setup.log");
  ASSERT_EQ(first.substr(0, earlier.size()), earlier);
  first.erase(0, earlier.size());
  EXPECT_TRUE(std::regex_match(first, std::regex("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d "
                                                 "copied C:\\\\W\\\\a\\.exe \\(4096 bytes\\)\r\n")))
      << first;
  ASSERT_TRUE(log.Line("a step\r\nin two lines"));
  const std::string both = ReadFileBytes(dir / "setup.log");
  EXPECT_EQ(both.substr(earlier.size() + first.size() + 20), "a step  in two lines\r\n");
}

TEST(TextLog, ALogThatCannotBeWrittenIsToldWithItsPathAndTheReason) {
  TempDir dir("log");
  const std::string path = dir / "no such folder\\setup.log";
  try {
    TTextLog log(path);
    FAIL() << "made " << path;
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message(),
              "The log file " + path + " cannot be written: " + SystemErrorText(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(e.SystemCode(), static_cast<unsigned long>(ERROR_PATH_NOT_FOUND));
  }
}

// The programs run as an administrator: a log is refused, unwritten, where its name would follow
// the current directory or reach a device, and where the file opened is a link or one of
// several names of a file.
TEST(TextLog, ALogAtARelativePathADeviceOrThroughALinkIsRefusedUnwritten) {
  TempDir dir("log");
  WriteFileBytes(dir / "target.txt", "kept");
  ASSERT_TRUE(CreateHardLinkA((dir / "second name.log").c_str(), (dir / "target.txt").c_str(), nullptr));
  Make(dir.Path(), {"folder\\"});
  UnixLink folderLink(dir / "folder link.log", dir / "folder");
  const std::string kDeviceReason = "The path names a device, or is of the \\\\.\\ or \\\\?\\ form";
  struct Row {
    std::string path, reason;
  };
  const Row rows[] = {
      {"setup.log", "Only a full path is taken (a drive or a share, and a folder)"},
      {"\\\\.\\" + dir / "dot.log", kDeviceReason},
      {"\\\\?\\" + dir / "question.log", kDeviceReason},
      {dir / "CON.log", kDeviceReason},
      {dir / "second name.log", "The file has more than one name"},
      {dir / "folder link.log", ""},  // a folder: refused by the system or as a link
  };
  for (const Row& r : rows) {
    try {
      TTextLog log(r.path);
      ADD_FAILURE() << "opened " << r.path;
    } catch (const EFCreateError& e) {
      if (!r.reason.empty()) {
        EXPECT_EQ(e.Message(), "The log file " + r.path + " cannot be written: " + r.reason);
      }
    }
  }
  EXPECT_EQ(ReadFileBytes(dir / "target.txt"), "kept");
  // A device name reads as an existing file wherever it stands: the listing shows what was made.
  std::vector<std::string> files = FileNames(dir.Path());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"second name.log", "target.txt"}));
  EXPECT_EQ(FileNames(dir / "folder"), std::vector<std::string>{});
}
