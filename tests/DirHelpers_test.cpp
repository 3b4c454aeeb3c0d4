// Path and volume operations against the real file system and drives under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

#include "filectrl/DirHelpers.h"
#include "support/Files.h"
#include "ui/Errors.h"
#include "ui/Graphics.h"

namespace {
std::string CurrentDir() {
  char buffer[MAX_PATH * 2];
  DWORD n = GetCurrentDirectoryA(sizeof buffer, buffer);
  return std::string(buffer, n);
}

// Every test leaves the process's current directory where it found it.
class InTempDir : public ::testing::Test {
protected:
  void SetUp() override { before_ = CurrentDir(); }
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

void ExpectSplit(const EnteredPath& got, char drive, const std::string& directory,
                 const std::string& file) {
  EXPECT_EQ(got.drive, drive);
  EXPECT_EQ(got.directoryPart, directory);
  EXPECT_EQ(got.filePart, file);
}
}  // namespace

TEST_F(Chain, CreatesEveryMissingDirectoryOutermostFirst) {
  const std::string a = dir / "A", b = a + "\\B";
  CreateDirectoryChain(b + "\\");
  EXPECT_TRUE(DirExists(a));
  EXPECT_TRUE(DirExists(b));
  WriteFileBytes(b + "\\kept.txt", "kept");
  CreateDirectoryChain(b + "\\");
  CreateDirectoryChain(b);
  EXPECT_EQ(ReadFileBytes(b + "\\kept.txt"), "kept");
}

TEST_F(Chain, ARelativeNameIsCreatedInTheCurrentDirectory) {
  Enter(dir.Path());
  CreateDirectoryChain("abc");
  CreateDirectoryChain("rel\\deeper\\");
  EXPECT_TRUE(DirExists(dir / "abc"));
  EXPECT_TRUE(DirExists(dir / "rel\\deeper"));
}

TEST_F(Chain, RootsDriveDesignatorsAndEmptyPathsCreateNothing) {
  Enter(dir.Path());
  for (const char* path : {"", "C:", "C:\\", "\\", "\\\\", "ab", "ab\\"}) CreateDirectoryChain(path);
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir.Path() + "\\*").c_str(), &fd);
  int entries = 0;
  if (h != INVALID_HANDLE_VALUE) {
    do entries += std::string(fd.cFileName) != "." && std::string(fd.cFileName) != "..";
    while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  EXPECT_EQ(entries, 0);
}

TEST_F(Chain, AChainBelowSomethingThatCannotBeADirectoryReturnsQuietly) {
  const std::string file = dir / "plain.txt";
  WriteFileBytes(file, "a file");
  CreateDirectoryChain(file + "\\sub\\deeper\\");
  EXPECT_EQ(ReadFileBytes(file), "a file");
  EXPECT_FALSE(DirExists(file + "\\sub"));
  CreateDirectoryChain("Q:\\nowhere\\at all");  // no such drive
}

TEST_F(Chain, ExistingDirectoriesOnly) {
  WriteFileBytes(dir / "f.txt", "");
  EXPECT_TRUE(IsExistingDirectory(dir.Path()));
  EXPECT_TRUE(IsExistingDirectory("C:\\"));
  EXPECT_FALSE(IsExistingDirectory(dir / "f.txt"));
  EXPECT_FALSE(IsExistingDirectory(dir / "missing"));
  EXPECT_FALSE(IsExistingDirectory(""));
  Enter(dir.Path());
  CreateDirectoryA("sub", nullptr);
  EXPECT_TRUE(IsExistingDirectory("sub"));
}

TEST_F(Split, ABracketedDirectoryOfTheFileListBelowTheRoot) {
  Enter("C:\\");
  ExpectSplit(SplitEnteredPath("[WINDOWS]"), 'C', "\\WINDOWS", "");
  EXPECT_EQ(CurrentDir(), "C:\\");
}

TEST_F(Split, AFullDirectoryPathBecomesTheDirectoryPart) {
  CreateDirectoryChain(dir / "Start Menu\\Programs");
  Enter("C:\\");
  ExpectSplit(SplitEnteredPath(dir / "Start Menu\\Programs"), 'C',
              OnDrive(dir / "Start Menu\\Programs"), "");
  ExpectSplit(SplitEnteredPath(dir / "Start Menu\\"), 'C', OnDrive(dir / "Start Menu"), "");
  ExpectSplit(SplitEnteredPath("C:\\windows"), 'C', "\\windows", "");
  ExpectSplit(SplitEnteredPath("C:\\"), 'C', "\\", "");
  EXPECT_EQ(CurrentDir(), "C:\\");
}

TEST_F(Split, AnExistingFileAndAMaskStayTheFilePart) {
  WriteFileBytes(dir / "WIN.INI", "[windows]\r\n");
  ExpectSplit(SplitEnteredPath(dir / "WIN.INI"), 'C', OnDrive(dir.Path()), "WIN.INI");
  ExpectSplit(SplitEnteredPath(dir / "*.TXT"), 'C', OnDrive(dir.Path()), "*.TXT");
  ExpectSplit(SplitEnteredPath(dir / "setup.?n?"), 'C', OnDrive(dir.Path()), "setup.?n?");
}

TEST_F(Split, BareNamesAndDrivesAreTakenFromTheCurrentDirectory) {
  CreateDirectoryA((dir / "sub").c_str(), nullptr);
  WriteFileBytes(dir / "file.txt", "");
  Enter(dir.Path());
  ExpectSplit(SplitEnteredPath("C:"), 'C', OnDrive(dir.Path()), "");
  ExpectSplit(SplitEnteredPath("file.txt"), 'C', OnDrive(dir.Path()), "file.txt");
  ExpectSplit(SplitEnteredPath("[sub]"), 'C', OnDrive(dir / "sub"), "");
  ExpectSplit(SplitEnteredPath("sub"), 'C', OnDrive(dir / "sub"), "");
  ExpectSplit(SplitEnteredPath("*.*"), 'C', OnDrive(dir.Path()), "*.*");
  EXPECT_EQ(CurrentDir(), dir.Path());
}

TEST_F(Split, DotStepsAreKeptForTheCallerToResolve) {
  CreateDirectoryA((dir / "sub").c_str(), nullptr);
  Enter(dir / "sub");
  ExpectSplit(SplitEnteredPath(".."), 'C', OnDrive(dir / "sub\\.."), "");
  EXPECT_EQ(CurrentDir(), dir / "sub");
}

TEST_F(Split, AMissingDirectoryFailsAndTheCurrentDirectoryIsBack) {
  Enter(dir.Path());
  for (const std::string& text : {dir / "NOSUCH\\X", dir / "NOSUCH", std::string("[nosuch]")}) {
    try {
      SplitEnteredPath(text);
      ADD_FAILURE() << "no error for " << text;
    } catch (const EInOutError& e) {
      EXPECT_TRUE(e.ErrorCode() == ERROR_FILE_NOT_FOUND || e.ErrorCode() == ERROR_PATH_NOT_FOUND)
          << text << ": " << e.ErrorCode();
      EXPECT_EQ(e.Message(), e.ErrorCode() == 2 ? "File not found" : "Invalid filename");
    }
    EXPECT_EQ(CurrentDir(), dir.Path()) << text;
  }
}

TEST_F(Split, ADriveThatIsNotThereFailsAndTheCurrentDirectoryIsBack) {
  char letter = 0;
  for (char c = 'Y'; c > 'D' && !letter; --c)
    if (!(GetLogicalDrives() & (1u << (c - 'A')))) letter = c;
  ASSERT_NE(letter, 0);
  Enter(dir.Path());
  EXPECT_THROW(SplitEnteredPath(std::string(1, letter) + ":\\SETUP\\*.TXT"), EInOutError);
  EXPECT_EQ(CurrentDir(), dir.Path());
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

TEST(FontHeight, FollowsTheFontSize) {
  TFont small("Arial", 12), large("Arial", 40);
  const int smallHeight = FontLineHeight(small.Handle());
  const int largeHeight = FontLineHeight(large.Handle());
  EXPECT_GE(smallHeight, 12);
  EXPECT_GE(largeHeight, 40);
  EXPECT_LT(smallHeight, largeHeight);
}

TEST(VolumeLabels, WinesDriveCHasNoLabel) {
  EXPECT_EQ(VolumeLabelText('C'), "[]");
  EXPECT_EQ(VolumeLabelText('c'), "[]");
  EXPECT_EQ(NetworkShareText('c'), "[]");  // not redirected: the label stands in
}

TEST(VolumeLabels, ADriveWhoseVolumeCannotBeReadGivesEmptyBrackets) {
  // A drive letter bound to a target that is not there: the drive exists, its volume does not.
  char letter = 0;
  for (char c = 'X'; c > 'D' && !letter; --c)
    if (!(GetLogicalDrives() & (1u << (c - 'A')))) letter = c;
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
