// Path and volume operations against the real file system and drives under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

#include "filectrl/DirHelpers.h"
#include "support/Files.h"
#include "support/Listing.h"
#include "platform/Errors.h"
#include "ui/Graphics.h"

namespace {
// Every test leaves the process's current directory where it found it.
class InTempDir : public ::testing::Test {
protected:
  void SetUp() override { before_ = Cwd(); }
  void TearDown() override { SetCurrentDirectoryA(before_.c_str()); }
  void Enter(const std::string& path) { ASSERT_TRUE(SetCurrentDirectoryA(path.c_str())) << path; }
  // The temporary directory without its drive designator, as the split reports directories.
  std::string OnDrive(const std::string& path) const { return path.substr(2); }

  TempDir dir{"dirs"};

private:
  std::string before_;
};

using Chain = InTempDir;
using Split = InTempDir;

}  // namespace

TEST_F(Chain, CreatesEveryMissingLevelAndNothingWhereNoDirectoryCanBe) {
  const std::string a = dir / "A", b = a + "\\B";
  CreateDirectoryChain(b + "\\");
  EXPECT_TRUE(DirExists(b));
  WriteFileBytes(b + "\\kept.txt", "kept");
  CreateDirectoryChain(b + "\\");
  CreateDirectoryChain(b);
  EXPECT_EQ(ReadFileBytes(b + "\\kept.txt"), "kept");
  // Relative names are made in the current directory; roots, drive designators and empty paths
  // make nothing, nor does a chain below a file or on a drive that is not there.
  Enter(dir.Path());
  CreateDirectoryChain("abc");
  CreateDirectoryChain("rel\\deeper\\");
  for (const char* path : {"", "C:", "C:\\", "\\", "\\\\", "ab", "ab\\", "Q:\\nowhere\\at all"})
    CreateDirectoryChain(path);
  WriteFileBytes(dir / "plain.txt", "a file");
  CreateDirectoryChain(dir / "plain.txt\\sub\\deeper\\");
  EXPECT_EQ(TreeListing(dir.Path()), (std::vector<std::string>{
      "\\A\\", "\\A\\B\\", "\\A\\B\\kept.txt 4", "\\abc\\", "\\plain.txt 6", "\\rel\\", "\\rel\\deeper\\"}));

  EXPECT_TRUE(IsExistingDirectory(dir.Path()));
  EXPECT_TRUE(IsExistingDirectory("C:\\"));
  EXPECT_TRUE(IsExistingDirectory("rel"));
  for (const std::string& no : {dir / "plain.txt", dir / "missing", std::string()})
    EXPECT_FALSE(IsExistingDirectory(no)) << no;
}

// What a typed path splits into: the drive, the directory part (without the drive) and the file
// part; the current directory is where it was afterwards.
TEST_F(Split, EnteredPathsSplitAgainstTheCurrentDirectory) {
  CreateDirectoryChain(dir / "Start Menu\\Programs");
  CreateDirectoryA((dir / "sub").c_str(), nullptr);
  WriteFileBytes(dir / "WIN.INI", "[windows]\r\n");
  const std::string here = OnDrive(dir.Path());
  struct Row {
    const char* what;
    std::string cwd, text, directory, file;
  } rows[] = {
      {"a bracketed directory of the file list below the root", "C:\\", "[WINDOWS]", "\\WINDOWS", ""},
      {"a full directory path", "C:\\", dir / "Start Menu\\Programs", OnDrive(dir / "Start Menu\\Programs"), ""},
      {"a trailing backslash", "C:\\", dir / "Start Menu\\", OnDrive(dir / "Start Menu"), ""},
      {"a drive's root", "C:\\", "C:\\", "\\", ""},
      {"an existing file", "C:\\", dir / "WIN.INI", here, "WIN.INI"},
      {"a mask", "C:\\", dir / "setup.?n?", here, "setup.?n?"},
      {"a bare drive", dir.Path(), "C:", here, ""},
      {"a bare file name", dir.Path(), "WIN.INI", here, "WIN.INI"},
      {"a bracketed subdirectory", dir.Path(), "[sub]", OnDrive(dir / "sub"), ""},
      {"a bare subdirectory", dir.Path(), "sub", OnDrive(dir / "sub"), ""},
      {"a bare mask", dir.Path(), "*.*", here, "*.*"},
      {"a dot step, kept for the caller", dir / "sub", "..", OnDrive(dir / "sub\\.."), ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Enter(row.cwd);
    const EnteredPath got = SplitEnteredPath(row.text);
    EXPECT_EQ(got.drive, 'C');
    EXPECT_EQ(got.directoryPart, row.directory);
    EXPECT_EQ(got.filePart, row.file);
    EXPECT_EQ(Cwd(), row.cwd);
  }
}

TEST_F(Split, AMissingDirectoryOrDriveFailsAndTheCurrentDirectoryIsBack) {
  const char letter = MissingDrive();
  ASSERT_NE(letter, 0);
  Enter(dir.Path());
  for (const std::string& text : {dir / "NOSUCH\\X", dir / "NOSUCH", std::string("[nosuch]"),
                                  std::string(1, letter) + ":\\SETUP\\*.TXT"}) {
    try {
      SplitEnteredPath(text);
      ADD_FAILURE() << "no error for " << text;
    } catch (const EInOutError& e) {
      if (text[0] != letter) {  // the missing drive's own code is the platform's affair
        EXPECT_TRUE(e.ErrorCode() == ERROR_FILE_NOT_FOUND || e.ErrorCode() == ERROR_PATH_NOT_FOUND)
            << text << ": " << e.ErrorCode();
        EXPECT_EQ(e.Message(), e.ErrorCode() == 2 ? "File not found" : "Invalid filename");
      }
    }
    EXPECT_EQ(Cwd(), dir.Path()) << text;
  }
}

TEST(FitPath, MeasuredInARealFont) {
  TFont font("Arial", 16);
  const std::string path = "C:\\WINDOWS\\SYSTEM\\DRIVERS";
  EXPECT_EQ(FitPathToWidth(path, font.Handle(), 10000), path);
  EXPECT_EQ(FitPathToWidth(path, font.Handle(), 0), "DRIVERS");
  const std::string middle = FitPathToWidth(path, font.Handle(), 120);
  EXPECT_NE(middle, path);
  EXPECT_NE(middle, "DRIVERS");
}

TEST(VolumeLabels, WinesDriveCHasNoLabel) {
  EXPECT_EQ(VolumeLabelText('C'), "[]");
  EXPECT_EQ(VolumeLabelText('c'), "[]");
  EXPECT_EQ(NetworkShareText('c'), "[]");  // not redirected: the label stands in
}

TEST(VolumeLabels, ADriveWhoseVolumeCannotBeReadGivesEmptyBrackets) {
  // A drive letter bound to a target that is not there: the drive exists, its volume does not.
  const char letter = MissingDrive();
  ASSERT_NE(letter, 0);
  const std::string device = std::string(1, letter) + ":";
  ASSERT_TRUE(DefineDosDeviceA(0, device.c_str(), "C:\\velmora-no-such-volume"));
  const UINT outer = SEM_NOGPFAULTERRORBOX;
  const UINT before = SetErrorMode(outer);
  const std::string upper = VolumeLabelText(letter);
  const std::string lower = NetworkShareText(static_cast<char>(letter + 32));
  const UINT after = SetErrorMode(before);
  DefineDosDeviceA(DDD_REMOVE_DEFINITION, device.c_str(), nullptr);
  EXPECT_EQ(upper, "[]");
  EXPECT_EQ(lower, "[]");
  EXPECT_EQ(after, outer);  // the error mode is back to what it was
}

// Run by DirHelpersDrives_test.sh in a prefix of its own, which has a drive labelled System.
TEST(LabelledDrive, TheLabelFollowsTheCaseOfTheLetter) {
  const char* drive = std::getenv("VELMORA_LABELLED_DRIVE");
  if (!drive || !*drive) GTEST_SKIP() << "needs a labelled drive (DirHelpersDrives_test.sh)";
  ASSERT_TRUE(IsCharAlphaA(drive[0]));
  const char lower = static_cast<char>(drive[0] | 0x20);
  const char upper = static_cast<char>(lower - 32);
  EXPECT_EQ(VolumeLabelText(lower), "[system]");
  EXPECT_EQ(VolumeLabelText(upper), "[SYSTEM]");
  EXPECT_EQ(NetworkShareText(upper), "[SYSTEM]");
}
