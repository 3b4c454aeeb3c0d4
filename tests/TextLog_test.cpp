// The log of an unattended run: each line on disk as soon as it is written, and a log that
// cannot be made told clearly.
#include <gtest/gtest.h>

#include <regex>

#include "support/Files.h"
#include "platform/Errors.h"
#include "platform/TextLog.h"

TEST(TextLog, EachLineIsOnDiskWithItsTimeBeforeTheLogIsClosed) {
  TempDir dir("log");
  WriteFileBytes(dir / "setup.log", "an earlier run's log\r\n");
  TTextLog log(dir / "setup.log");
  EXPECT_EQ(ReadFileBytes(dir / "setup.log"), "") << "a new log replaces the old one";
  ASSERT_TRUE(log.Line("copied C:\\W\\a.exe (4096 bytes)"));
  const std::string first = ReadFileBytes(dir / "setup.log");
  EXPECT_TRUE(std::regex_match(first, std::regex("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d "
                                                 "copied C:\\\\W\\\\a\\.exe \\(4096 bytes\\)\r\n")))
      << first;
  ASSERT_TRUE(log.Line("a step\r\nin two lines"));
  const std::string both = ReadFileBytes(dir / "setup.log");
  EXPECT_EQ(both.substr(first.size() + 20), "a step  in two lines\r\n");
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
