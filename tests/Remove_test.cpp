// remove.exe as a person uses it: a product installed with setup.exe (or records laid out as the
// installer leaves them), remove.exe started from the destination, its questions answered with
// the driver, and the disk looked at afterwards.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <iterator>
#include <memory>

#include "driver/Driver.h"
#include "engine/WindowsDir.h"
#include "support/SetupWindow.h"
#include "support/Wait.h"
#include "support/Files.h"
#include "support/Program.h"
#include "support/Progman.h"
#include "support/Records.h"
#include "platform/Errors.h"
#include "ui/Graphics.h"
#include "uninstaller/Records.h"

using namespace std::string_literals;

namespace {
const char kDone[] = "Click DONE to exit.";
// Where the uninstaller's windows show their texts: the question of a message window, the
// Removing window's message line and its list of what was left.
const mainwin::Spot kQuestion{16 + 5, 16 + 5}, kRemovingMessage{8 + 5, 10 + 5}, kLeftList{8 + 5, 84 + 5};

// The text of the control at that spot, or "" while the window has not made it yet or is busy
// (remove.exe handles no messages while it waits for the program-group server's answer).
std::string TextThere(HWND w, mainwin::Spot at) {
  HWND h = drv::ControlAt(w, at.x, at.y);
  try {
    return h ? drv::Text(h) : std::string();
  } catch (const drv::Error&) {
    if (!IsWindow(h)) throw;
    return std::string();
  }
}

// Whether the end list has an entry for `path` with `why`.
bool Listed(const std::vector<std::string>& list, const std::string& path, const std::string& why) {
  return std::find(list.begin(), list.end(), path + ": " + why) != list.end();
}

void PressWhenThere(HWND window, const std::string& text) { drv::Click(mainwin::ButtonWhenMade(window, text)); }

// Installs the product with setup.exe as a person would: the Start Menu folder typed when one is
// given, Install, then Done.
void Install(ProductDir& dir, const std::string& folder = "") {
  std::unique_ptr<RunningProgram> setup(dir.Start());
  HWND w = mainwin::Started(*setup, dir.Path());
  if (!folder.empty()) drv::SetText(mainwin::At(w, mainwin::kFolder), folder);
  drv::Click(mainwin::At(w, mainwin::kInstall));
  ASSERT_TRUE(mainwin::FinishInstall(*setup));
}

struct RemoveRun {
  std::vector<std::string> questions;  // the files the shared-file question named
  std::vector<std::string> left;       // the end list
  std::vector<int> statusWidths;       // the width of the message line at each question
  // The clean-up copies made while the run showed its end, and whether each was then beyond
  // another program's reach: neither opened for writing nor deleted.
  std::vector<std::string> copies;
  bool copiesGuarded = true;
};

// The end list's entry for a line remove.exe passed over.
std::string PassedOver(const std::string& line) {
  return line + ": no drive and directory: names no file; passed over";
}

// Starts remove.exe in `dir`, as the uninstaller item does, answers Yes, then each shared-file
// question with the next of `answers`, reads the end list and presses Done. Waits for the copy
// that removes remove.exe too.
RemoveRun Remove(const std::string& dir, const std::vector<std::string>& answers = {}) {
  RemoveRun run;
  const std::vector<std::string> before = CleanUpCopies();
  RunningProgram remove(dir + "\\remove.exe", "", dir);
  PressWhenThere(drv::WaitWindow("Uninstall", 20000, remove.Id()), "Yes");
  HWND removing = drv::WaitWindow("Removing", 20000, remove.Id());
  for (;;) {
    HWND question = nullptr;
    if (!WaitUntil([&] {
          // A question counts once its text is there.
          question = drv::FindWindowByCaption("Shared File", remove.Id());
          if (question) return !TextThere(question, kQuestion).empty();
          return TextThere(removing, kRemovingMessage) == kDone;
        }, 60000))
      throw drv::Error("the removal did not end");
    if (!question) break;
    const std::string text = TextThere(question, kQuestion);
    run.questions.push_back(text.substr(0, text.find('\n')));
    RECT status = {};
    GetWindowRect(drv::ControlAt(removing, kRemovingMessage.x, kRemovingMessage.y), &status);
    run.statusWidths.push_back(status.right - status.left);
    if (run.questions.size() > answers.size()) throw drv::Error("an unexpected question: " + text);
    PressWhenThere(question, answers[run.questions.size() - 1]);
    // The answered question goes; the next one may come in the same window at once.
    WaitUntil([&] {
      HWND again = drv::FindWindowByCaption("Shared File", remove.Id());
      const std::string now = again ? TextThere(again, kQuestion) : std::string();
      return !again || (!now.empty() && now != text);
    }, 10000);
  }
  // The list is on view only when the window has grown to show it.
  if (HWND list = drv::ControlAt(removing, kLeftList.x, kLeftList.y)) run.left = drv::Items(list);
  // The copy is made by now and started only after Done.
  for (const std::string& copy : CleanUpCopies()) {
    if (std::find(before.begin(), before.end(), copy) != before.end()) continue;
    run.copies.push_back(copy);
    HANDLE w = CreateFileA(copy.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (w != INVALID_HANDLE_VALUE) CloseHandle(w);
    const std::string moved = copy + ".moved";
    const bool renamed = MoveFileA(copy.c_str(), moved.c_str());
    if (renamed) MoveFileA(moved.c_str(), copy.c_str());
    if (w != INVALID_HANDLE_VALUE || renamed || DeleteFileA(copy.c_str())) run.copiesGuarded = false;
  }
  PressWhenThere(removing, "Done");
  EXPECT_TRUE(remove.WaitExit(10000)) << "Done ends remove.exe";
  for (const ChildProcess& copy : ChildProcesses(remove.Id()))
    EXPECT_TRUE(drv::WaitProcessId(copy.id, 90000)) << "the clean-up copy ends";
  for (const std::string& copy : run.copies)
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(copy); }, 10000)) << "the copy goes with its end";
  return run;
}

// The width of the Removing window's message line showing `text` as it is.
int LabelWidth(const std::string& text) {
  TFont font("MS Sans Serif", 13, fsBold);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font.Handle());
  RECT r = {};
  DrawTextA(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return r.right;
}

// Records laid out as the installer leaves them, around a copy of remove.exe in a destination
// of the test's own; everything goes again with the test.
class Installed {
public:
  explicit Installed(const std::string& recordName)
      : location_(WindowsDirectory() + "\\" + recordName + ".ini"), dest_(root_ / "Dest") {
    CreateDirectoryA(dest_.c_str(), nullptr);
    if (!CopyFileA(ProductExe("remove").c_str(), (dest_ + "\\remove.exe").c_str(), FALSE))
      throw std::runtime_error("cannot copy " + ProductExe("remove"));
  }
  const std::string& Dest() const { return dest_; }
  const std::string& Root() const { return root_.Path(); }
  const std::string& LocationRecord() const { return location_; }
  // Writes unin.ini (the title, the lines, remove.exe, the last target) and the location record
  // (":run", the destination, the lines).
  void Records(const std::vector<std::string>& unin, const std::vector<std::string>& location) {
    std::string u = "Test Product 1.0\r\n";
    for (const std::string& l : unin) u += l + "\r\n";
    u += dest_ + "\\remove.exe\r\n:" + dest_ + "\\\r\n";
    WriteFileBytes(dest_ + "\\unin.ini", u);
    std::string r = ":run\r\n" + dest_ + "\r\n";
    for (const std::string& l : location) r += l + "\r\n";
    WriteFileBytes(location_, r);
  }
  // A file outside the test's folders, removed with the test whatever happens.
  void Own(const std::string& path) { left_.files.push_back(path); }

private:
  TempDir root_{"remove"};
  std::string location_;
  std::string dest_;
  Leftovers left_{{}, {location_}};
};
}  // namespace

// The shipped setup.exe installs a product whose files lie three folders deep byte for byte, in the
// Start Menu folder typed rather than the one proposed; remove.exe takes it all away again.
TEST(Remove, TheInstalledProductGoesAndDriveCIsAsItWasBefore) {
  ProgmanServer server;
  ProductDir dir(
      "\\Velmora RTest\r\nVelmora Proposed\r\nRTest 1.0\r\nrtest.exe\r\nvtest_remove\r\n"
      ":install\r\nRTEST.EX_\r\nREMOVE.EX_\r\nnotes.txt\r\ndata\\levels\\1.dat\r\n"
      "art\\Maps\\Deep\\M.BI_\r\ndocs\\Read Me.txt\r\n\r\n"
      ":win\r\nRTEST.HL_\r\n\r\n:win\\system\r\nRTESTLIB.DL_\r\n\r\n"
      ":ini\r\n~\\settings.ini\r\n>\r\n:end\r\n");
  Make(dir.Path(), {"data\\", "data\\levels\\", "art\\", "art\\Maps\\", "art\\Maps\\Deep\\", "docs\\"});
  // Each file of the destination: its source, and its name there.
  const std::vector<std::pair<std::string, std::string>> files{
      {"RTEST.EX_", "rtest.exe"}, {"notes.txt", "notes.txt"}, {"data\\levels\\1.dat", "data\\levels\\1.dat"},
      {"art\\Maps\\Deep\\M.BI_", "art\\Maps\\Deep\\m.bi"}, {"docs\\Read Me.txt", "docs\\Read Me.txt"}};
  for (size_t k = 0; k < files.size(); ++k) WriteFileBytes(dir / files[k].first, std::string(k + 1, 'a' + k));
  for (const char* f : {"RTEST.HL_", "RTESTLIB.DL_"}) WriteFileBytes(dir / f, f);
  ASSERT_TRUE(CopyFileA(ProductExe("remove").c_str(), (dir / "REMOVE.EX_").c_str(), FALSE));
  const std::string dest = "c:\\program files\\Velmora RTest";
  const std::string group = StartMenuPrograms() + "\\Velmora RTest";
  const std::string shared[] = {WindowsDirectory() + "\\rtest.hll", WindowsDirectory() + "\\system\\rtestlib.dll"};
  // What the installation left goes with the test, whatever remove.exe did.
  Leftovers installed{{dest, group, StartMenuPrograms() + "\\Velmora Proposed"},
                      {WindowsDirectory() + "\\vtest_remove.ini", shared[0], shared[1]}};
  // The server's log grows with every conversation; it is the test's, not the installation's.
  auto listing = [&] {
    std::vector<std::string> all = TreeListing("C:");
    const std::string log = server.LogPath().substr(2);
    all.erase(std::remove_if(all.begin(), all.end(),
                             [&](const std::string& l) { return l.compare(0, log.size(), log) == 0; }),
              all.end());
    return all;
  };
  const std::vector<std::string> before = listing();

  Install(dir, "Velmora RTest");
  ASSERT_TRUE(FileExists(group + "\\RTest 1.0 Uninstaller.lnk"));
  std::vector<std::string> recorded;
  for (const auto& f : files) {
    EXPECT_EQ(ReadFileBytes(dest + "\\" + f.second), ReadFileBytes(dir / f.first)) << f.second;
    recorded.push_back(dest + "\\" + f.second);
  }
  recorded.insert(recorded.begin() + 1, dest + "\\remove.exe");
  recorded.insert(recorded.end(), {shared[0], shared[1], "ini~\\settings.ini", "ini>", "ini:end"});
  EXPECT_EQ(RecordedFiles(dest + "\\unin.ini"), recorded) << "each file by its full path";
  // The product makes a file of its own as it runs; the location record names it.
  WriteFileBytes(dest + "\\settings.ini", "[window]\r\n");

  const RemoveRun run = Remove(dest, {"Yes", "Yes to All"});
  // The ini section's lines name no file; each is listed as passed over, and keeps nothing.
  EXPECT_EQ(run.left, (std::vector<std::string>{PassedOver("ini~\\settings.ini"), PassedOver("ini>"),
                                                PassedOver("ini:end")}));
  EXPECT_EQ(run.questions, (std::vector<std::string>{shared[0], shared[1]}));
  const std::string pending = TakePendingDeletions();
  const std::vector<std::string> after = listing();
  std::vector<std::string> added, gone;
  std::set_difference(after.begin(), after.end(), before.begin(), before.end(), std::back_inserter(added));
  std::set_difference(before.begin(), before.end(), after.begin(), after.end(), std::back_inserter(gone));
  EXPECT_TRUE(added.empty()) << "left behind:" << testing::PrintToString(added);
  EXPECT_TRUE(gone.empty()) << "taken away:" << testing::PrintToString(gone);
  EXPECT_FALSE(DirExists(group));
  const std::vector<std::string> executes = server.Executes();
  ASSERT_FALSE(executes.empty());
  EXPECT_EQ(executes.back(), "[DeleteGroup(Velmora RTest)]\r\n\0"s);
  const std::vector<ProgmanRecord> log = server.Log();
  const auto last = std::find_if(log.rbegin(), log.rend(),
                                 [](const ProgmanRecord& r) { return r.kind == "execute"; });
  ASSERT_NE(last, log.rbegin());
  EXPECT_EQ(std::prev(last)->kind, "ack") << "the server deleted the group";
  // One name (with its empty target): the copy marks itself for the next start as well.
  EXPECT_EQ(pending.find_first_not_of('\0', pending.find('\0')), std::string::npos) << pending;
  ASSERT_EQ(run.copies.size(), 1u);
  std::string named = pending, copy = run.copies[0];
  for (std::string* s : {&named, &copy}) CharLowerBuffA(&(*s)[0], static_cast<DWORD>(s->size()));
  EXPECT_NE(named.find(copy), std::string::npos) << "the copy marks its own file: " << pending;
  EXPECT_TRUE(run.copiesGuarded) << "another program could change or replace the copy before it started";
}

// A clean-up call is honoured only by the copy remove.exe makes for it, waiting for the
// remove.exe it was made by: one given by hand to the installed remove.exe, or to a copy with a
// process that runs another program, deletes nothing and schedules nothing.
TEST(Remove, ACleanUpCallIsHonouredOnlyByTheCopyMadeForIt) {
  Installed in("vtest_forged");
  in.Records({}, {});
  const std::string product = in.Dest() + "\\product.exe", remove = in.Dest() + "\\remove.exe";
  ASSERT_TRUE(CopyFileA((ExeDirectory() + "\\planted.exe").c_str(), product.c_str(), FALSE));
  const std::string copy = CleanUpCopyPath(WindowsDirectory(), (0x5eedull << 32) | GetCurrentProcessId());
  in.Own(copy);
  ASSERT_TRUE(CopyFileA(remove.c_str(), copy.c_str(), FALSE));
  // A process that has ended, of product.exe: what the call is to wait for, and inherited.
  RunningProgram ended(product, "", in.Dest());
  ASSERT_TRUE(ended.WaitExit(20000));
  HANDLE handle = nullptr;
  ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), ended.Process(), GetCurrentProcess(), &handle,
                              SYNCHRONIZE | 0x1000 /* PROCESS_QUERY_LIMITED_INFORMATION */, TRUE, 0));
  struct Row {
    const char* behaviour;
    std::string program, exe;
  } rows[] = {
      {"the installed remove.exe, waiting for the program it is to delete", remove, product},
      {"a copy in the place made for it, waiting for another program than the one named", copy, remove},
  };
  TakePendingDeletions();
  for (const Row& r : rows) {
    TCleanUpArgs args;
    args.process = reinterpret_cast<ULONG_PTR>(handle);
    args.exe = r.exe;
    args.destination = in.Dest();
    std::string line = CleanUpCommandLine(r.program, args);
    STARTUPINFOA si = {sizeof si};
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessA(r.program.c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr,
                               in.Dest().c_str(), &si, &pi)) << r.behaviour;
    CloseHandle(pi.hThread);
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 90000), WAIT_OBJECT_0) << r.behaviour;
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    EXPECT_NE(code, 0u) << r.behaviour;
    EXPECT_TRUE(FileExists(r.exe)) << r.behaviour;
    EXPECT_EQ(TakePendingDeletions(), "") << r.behaviour;
  }
  CloseHandle(handle);
  EXPECT_TRUE(FileExists(in.Dest() + "\\unin.ini"));
}

TEST(Remove, FilesInUseAreListedKeptInTheRecordsAndASecondRunFinishesAndReadOnlyOnesGo) {
  ProgmanServer server;
  ProductDir dir(
      "\\Velmora RFaults\r\nVelmora RFaults\r\nRFaults 1.0\r\nrf.exe\r\nvtest_removefaults\r\n"
      ":install\r\nRF.EX_\r\nREMOVE.EX_\r\nheld.dat\r\nreadonly.dat\r\ngone.dat\r\n\r\n"
      ":ini\r\n~\\settings.ini\r\n");
  for (const char* f : {"RF.EX_", "held.dat", "readonly.dat", "gone.dat"}) WriteFileBytes(dir / f, f);
  ASSERT_TRUE(CopyFileA(ProductExe("remove").c_str(), (dir / "REMOVE.EX_").c_str(), FALSE));
  const std::string dest = "c:\\program files\\Velmora RFaults";
  const std::string record = WindowsDirectory() + "\\vtest_removefaults.ini";
  Leftovers installed{{dest, StartMenuPrograms() + "\\Velmora RFaults"}, {record}};
  Install(dir);
  ASSERT_TRUE(FileExists(dest + "\\held.dat"));

  TempDir scratch("holder");
  std::unique_ptr<RunningProgram> holder(new RunningProgram(
      ToolExe("holder"), "\"" + dest + "\\held.dat\" \"" + (scratch / "ready") + "\"", ""));
  ASSERT_TRUE(WaitUntil([&] { return FileExists(scratch / "ready"); }, 10000))
      << "the holder has the file";
  ASSERT_TRUE(SetFileAttributesA((dest + "\\readonly.dat").c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(DeleteFileA((dest + "\\gone.dat").c_str()));

  const RemoveRun first = Remove(dest);
  struct Row {
    const char* behaviour;
    const char* file;
    DWORD error;
    bool stays;
  } rows[] = {
      {"a file in use", "held.dat", ERROR_SHARING_VIOLATION, true},
      {"a read-only file: the records entitle remove.exe to it", "readonly.dat", 0, false},
      {"a file already gone", "gone.dat", ERROR_FILE_NOT_FOUND, false},
  };
  for (const Row& r : rows) {
    const std::string path = dest + "\\" + r.file;
    EXPECT_EQ(Listed(first.left, path, SystemErrorText(r.error)), r.error != 0)
        << r.behaviour << testing::PrintToString(first.left);
    EXPECT_EQ(FileExists(path), r.stays) << r.behaviour;
  }
  EXPECT_EQ(first.left.size(), 3u) << "the two and the ini section's line:" << testing::PrintToString(first.left);
  EXPECT_TRUE(std::count(first.left.begin(), first.left.end(), PassedOver("ini~\\settings.ini")))
      << testing::PrintToString(first.left);
  EXPECT_EQ(RecordLines(dest + "\\unin.ini"),
            (std::vector<std::string>{"RFaults 1.0", dest + "\\remove.exe", dest + "\\held.dat", ":ini"}))
      << "the record holds what is left, and remove.exe for the next run";
  EXPECT_EQ(RecordLines(record), (std::vector<std::string>{":run", dest}));
  EXPECT_TRUE(FileExists(dest + "\\remove.exe"));
  EXPECT_FALSE(FileExists(dest + "\\rf.exe"));
  EXPECT_FALSE(DirExists(StartMenuPrograms() + "\\Velmora RFaults"));

  holder.reset();
  const RemoveRun second = Remove(dest);
  EXPECT_TRUE(second.left.empty()) << testing::PrintToString(second.left);
  EXPECT_FALSE(DirExists(dest));
  EXPECT_FALSE(FileExists(record));
  TakePendingDeletions();
}

TEST(Remove, TamperedLinesRemoveNothingTheyName) {
  ProgmanServer server;
  Installed in("vtest_tampered");
  const std::string victim = in.Root() + "\\victim.txt";
  const std::string folder = in.Dest() + "\\folder";
  WriteFileBytes(victim, "v");
  CreateDirectoryA(folder.c_str(), nullptr);
  WriteFileBytes(folder + "\\inside.txt", "i");
  WriteFileBytes(in.Dest() + "\\ours.txt", "ours");
  const std::string win = WindowsDirectory();
  struct Row {
    const char* behaviour;
    std::string line;   // as the record has it
    std::string named;  // what must still be there
    std::string why;
  };
  // The plan's tests hold every kind of line it refuses; here, that a refused line is listed and
  // nothing it names goes, and that a directory is found on the disk.
  const std::vector<Row> rows = {
      {"a directory where a file is expected", folder, folder + "\\inside.txt",
       "a directory where a file was expected; left alone"},
      {"a path climbing out of the destination", in.Dest() + "\\..\\victim.txt", victim,
       "the path climbs with \"..\"; left alone"},
      {"the Windows directory as the program group", "+" + win + "\\", win + "\\win.ini",
       "the Windows directory; left alone"},
  };
  // A group that holds an item of someone else's: the server would take it along.
  const std::string group = StartMenuPrograms() + "\\vtest_tampered";
  Leftovers groupGoes{{group}, {}};
  CreateDirectoryA(group.c_str(), nullptr);
  WriteFileBytes(group + "\\ours.lnk", "L");
  WriteFileBytes(group + "\\theirs.lnk", "L");
  std::vector<std::string> unin{in.Dest() + "\\ours.txt", group + "\\ours.lnk", "+" + group + "\\"};
  for (const Row& r : rows) unin.push_back(r.line);
  in.Records(unin, {});

  const RemoveRun run = Remove(in.Dest());
  for (const Row& r : rows) {
    EXPECT_TRUE(FileExists(r.named) || DirExists(r.named)) << r.behaviour;
    const std::string shown = r.line[0] == '+' ? r.line.substr(1) : r.line;
    EXPECT_TRUE(Listed(run.left, shown, r.why)) << r.behaviour << testing::PrintToString(run.left);
  }
  EXPECT_FALSE(FileExists(in.Dest() + "\\ours.txt")) << "what the records rightly name goes";
  EXPECT_FALSE(FileExists(in.Dest() + "\\remove.exe"));
  EXPECT_TRUE(DirExists(in.Dest())) << "the destination stays while something else is in it";
  EXPECT_FALSE(FileExists(group + "\\ours.lnk"));
  EXPECT_TRUE(FileExists(group + "\\theirs.lnk")) << "a folder that is not empty stays";
  EXPECT_TRUE(Listed(run.left, group + "\\", "the folder holds other things too; it stays"))
      << testing::PrintToString(run.left);
  EXPECT_TRUE(server.Executes().empty()) << "no group was asked to go";
  TakePendingDeletions();
}

TEST(Remove, SharedFilesGoOnlyWhenTheUserAgrees) {
  struct Row {
    const char* behaviour;
    std::vector<std::string> answers;
    bool firstStays, secondStays;
  } rows[] = {
      {"No keeps that file; the next is asked about", {"No", "Yes"}, true, false},
      {"No to All keeps every shared file and asks no more", {"No to All"}, true, true},
      {"Yes to All removes every shared file and asks no more", {"Yes to All"}, false, false},
  };
  for (const Row& r : rows) {
    Installed in("vtest_shared");
    // '&' in a name is shown as itself, not as an underline under the next letter.
    const std::string first = WindowsDirectory() + "\\vtest_R&D first.hlp";
    const std::string second = WindowsDirectory() + "\\system\\vtest_second.dll";
    for (const std::string& f : {first, second}) {
      in.Own(f);
      WriteFileBytes(f, "shared");
    }
    // Read-only goes only with the file: a file kept keeps it.
    SetFileAttributesA(first.c_str(), FILE_ATTRIBUTE_READONLY);
    in.Records({first, second}, {});
    const RemoveRun run = Remove(in.Dest(), r.answers);
    EXPECT_EQ(run.questions.size(), r.answers.size()) << r.behaviour;
    ASSERT_FALSE(run.questions.empty());
    EXPECT_EQ(run.questions[0], first);
    EXPECT_EQ(run.statusWidths[0], LabelWidth("Removing file: " + first)) << "the message line shows the name as it is";
    EXPECT_EQ(FileExists(first), r.firstStays) << r.behaviour;
    EXPECT_TRUE(!r.firstStays || (GetFileAttributesA(first.c_str()) & FILE_ATTRIBUTE_READONLY)) << r.behaviour;
    EXPECT_EQ(FileExists(second), r.secondStays) << r.behaviour;
    EXPECT_TRUE(run.left.empty()) << r.behaviour << testing::PrintToString(run.left);
    EXPECT_FALSE(FileExists(in.LocationRecord())) << r.behaviour << ": a kept file is the user's";
    TakePendingDeletions();
  }
}

TEST(Remove, NoRemovesNothing) {
  Installed in("vtest_no");
  WriteFileBytes(in.Dest() + "\\ours.txt", "ours");
  in.Records({in.Dest() + "\\ours.txt"}, {});
  const std::string unin = ReadFileBytes(in.Dest() + "\\unin.ini");
  RunningProgram remove(in.Dest() + "\\remove.exe", "", in.Dest());
  HWND ask = drv::WaitWindow("Uninstall", 20000, remove.Id());
  EXPECT_EQ(mainwin::TextAt(ask, kQuestion),
            "Remove Test Product 1.0 and all of its components?");
  drv::PressKey(mainwin::ButtonWhenMade(ask, "No"), drv::Key::Enter);
  EXPECT_TRUE(remove.WaitExit(10000));
  EXPECT_TRUE(FileExists(in.Dest() + "\\ours.txt"));
  EXPECT_TRUE(FileExists(in.Dest() + "\\remove.exe"));
  EXPECT_EQ(ReadFileBytes(in.Dest() + "\\unin.ini"), unin);
  EXPECT_TRUE(FileExists(in.LocationRecord()));
}

TEST(Remove, WithoutRecordsThereIsNothingToRemove) {
  TempDir clean("clean");
  ASSERT_TRUE(CopyFileA(ProductExe("remove").c_str(), (clean / "remove.exe").c_str(), FALSE));
  // Another program's ini file that names this directory on its second line is no location
  // record: only one whose first line is ":run" is.
  const std::string other = WindowsDirectory() + "\\vtest_other.ini";
  Leftovers left{{}, {other}};
  WriteFileBytes(other, "[other]\r\n" + clean.Path() + "\r\n");
  RunningProgram remove(clean / "remove.exe", "", clean.Path());
  // The title is the program file's name as the installer restores it: "remove".
  HWND box = drv::WaitDialog("remove", 20000, remove.Id());
  EXPECT_EQ(drv::MessageText(box), "There is nothing to remove.");
  PressWhenThere(box, "OK");
  EXPECT_TRUE(remove.WaitExit(10000));
  EXPECT_TRUE(FileExists(clean / "remove.exe")) << "remove.exe names nothing, itself included";
  EXPECT_EQ(ReadFileBytes(other), "[other]\r\n" + clean.Path() + "\r\n");
}

// A link inside a recorded place may lead anywhere: nothing is deleted through one, and nothing
// is asked about a file beyond one. The folders below the destination on the way to the
// records' files go once the removal has emptied them, deepest first; one that holds anything
// else stays and is listed, one that is or lies below a link is never entered, and a folder the
// records lead to nothing in is not touched.
TEST(Remove, NothingGoesThroughALinkAndTheFoldersTheRemovalEmptiedGo) {
  ProgmanServer server;
  Installed in("vtest_links");
  const std::string d = in.Dest(), elsewhere = in.Root() + "\\elsewhere";
  for (const std::string& f : {d + "\\a", d + "\\a\\b", d + "\\a\\b\\c", d + "\\k", d + "\\k\\l",
                               d + "\\p", d + "\\unnamed", elsewhere, elsewhere + "\\q"})
    CreateDirectoryA(f.c_str(), nullptr);
  const std::string group = StartMenuPrograms() + "\\vtest_linkgroup";
  const std::string windowsLink = WindowsDirectory() + "\\vtest_link";
  UnixLink inDest(d + "\\p\\ln", elsewhere), asGroup(group, elsewhere), inWindows(windowsLink, elsewhere);
  struct Row {
    const char* behaviour;
    std::string line, victim;
  } rows[] = {
      {"a link in the destination", d + "\\p\\ln\\victim.txt", elsewhere + "\\victim.txt"},
      {"a group folder that is a link", group + "\\victim.lnk", elsewhere + "\\victim.lnk"},
      {"a link in the Windows directory", windowsLink + "\\victim.dll", elsewhere + "\\victim.dll"},
  };
  std::vector<std::string> unin{d + "\\a\\b\\c\\x.txt", d + "\\a\\b\\y.txt", d + "\\k\\l\\m.txt"};
  for (const std::string& f : unin) WriteFileBytes(f, "ours");
  WriteFileBytes(d + "\\k\\foreign.txt", "theirs");
  for (const Row& r : rows) {
    WriteFileBytes(r.victim, "v");
    unin.push_back(r.line);
  }
  unin.insert(unin.end(), {d + "\\p\\ln\\q\\gone.txt", "+" + group + "\\"});
  in.Records(unin, {});
  const RemoveRun run = Remove(d);
  for (const Row& r : rows) EXPECT_TRUE(FileExists(r.victim)) << r.behaviour;
  const std::string link = ": passes through a link", kept = ": the folder holds other things too; it stays";
  std::vector<std::string> left = run.left, expected{
      rows[0].line + link, rows[1].line + link, rows[2].line + link, d + "\\p\\ln\\q\\gone.txt" + link,
      group + "\\" + link, d + "\\p\\ln\\q" + link, d + "\\p\\ln" + link, d + "\\k" + kept, d + "\\p" + kept};
  std::sort(left.begin(), left.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(left, expected);
  EXPECT_TRUE(server.Executes().empty()) << "no group was asked to go";
  EXPECT_FALSE(DirExists(d + "\\a")) << "emptied to the last folder";
  EXPECT_FALSE(DirExists(d + "\\k\\l"));
  EXPECT_TRUE(FileExists(d + "\\k\\foreign.txt"));
  EXPECT_TRUE(DirExists(elsewhere + "\\q")) << "an empty folder beyond the link stays";
  EXPECT_TRUE(DirExists(d + "\\unnamed")) << "a folder the records lead to nothing in";
  TakePendingDeletions();
}

// Group names come from the record: one that the server's commands cannot carry is never sent,
// and one with a parenthesis or a comma is sent as one argument. The server here never answers
// DeleteGroup: the run waits for it a bounded time, then takes the emptied folder away itself.
TEST(Remove, AGroupNameCarriesNoCommandsOfItsOwnAndAnUnansweredGroupStillGoesOnceEmpty) {
  ProgmanServer server("PROGMAN", true);
  Installed in("vtest_groupnames");
  const std::string programs = StartMenuPrograms();
  const std::string injected = programs + "\\vtest_tmp)][DeleteGroup(vtest_other)][CreateGroup(vtest_tmp";
  const std::string quoted = programs + "\\vtest (a), b";
  const std::string other = programs + "\\vtest_other";
  Leftovers groups{{injected, quoted, other}, {}};
  std::vector<std::string> unin;
  for (const std::string& g : {injected, quoted}) {
    CreateDirectoryA(g.c_str(), nullptr);
    for (const char* item : {"\\W.lnk", "\\W Uninstaller.lnk"}) {
      WriteFileBytes(g + item, "L");
      unin.push_back(g + item);
    }
  }
  for (const std::string& g : {injected, quoted}) unin.push_back("+" + g + "\\");
  CreateDirectoryA(other.c_str(), nullptr);
  WriteFileBytes(other + "\\theirs.lnk", "L");
  in.Records(unin, {});
  const RemoveRun run = Remove(in.Dest());
  EXPECT_TRUE(FileExists(other + "\\theirs.lnk")) << "another group is left alone";
  EXPECT_FALSE(FileExists(injected + "\\W.lnk"));
  EXPECT_TRUE(DirExists(injected)) << "its folder is kept";
  EXPECT_EQ(run.left, std::vector<std::string>{injected + "\\: the Program Manager cannot be asked about a "
                                               "group of this name; the folder stays"});
  EXPECT_EQ(server.Executes(), (std::vector<std::string>{"[DeleteGroup(\"vtest (a), b\")]\r\n\0"s}));
  EXPECT_FALSE(DirExists(quoted)) << "the unanswered group's folder goes once empty";
  TakePendingDeletions();
}

// The location record is a file of the Windows directory whose name ends in ".ini" and that
// names the destination; where one cannot be read, it may be the record, and nothing goes.
TEST(Remove, TheLocationRecordIsFoundOnlyWhereItIsSure) {
  {
    // "*.ini" matches "....ini_old" too, through its short name.
    Installed in("vtest_alias");
    const std::string made = in.Dest() + "\\made.txt";
    WriteFileBytes(made, "m");
    in.Records({}, {made});
    const std::string old = in.LocationRecord() + "_old";
    in.Own(old);
    MoveFileExA(in.LocationRecord().c_str(), old.c_str(), MOVEFILE_REPLACE_EXISTING);
    const std::string before = ReadFileBytes(old), unin = ReadFileBytes(in.Dest() + "\\unin.ini");
    // Without a location record for its folder remove.exe cannot tell the records are this
    // folder's: it removes nothing, and unin.ini stays as it is.
    RunningProgram remove(in.Dest() + "\\remove.exe", "", in.Dest());
    HWND box = drv::WaitDialog("remove", 20000, remove.Id());
    EXPECT_EQ(drv::MessageText(box), "No location record in the Windows directory names " + in.Dest() +
                                         ", the folder of this remove.exe. Nothing is removed.");
    PressWhenThere(box, "OK");
    EXPECT_TRUE(remove.WaitExit(10000));
    EXPECT_TRUE(FileExists(old) && ReadFileBytes(old) == before) << "no record: a name ending in .ini_old";
    EXPECT_TRUE(FileExists(made)) << "nor are its lines anyone's";
    EXPECT_EQ(ReadFileBytes(in.Dest() + "\\unin.ini"), unin);
    EXPECT_TRUE(FileExists(in.Dest() + "\\remove.exe"));
  }
  {
    // Two records name the destination: one as it is, one in short names.
    Installed in("vtest_exact");
    char buf[MAX_PATH];
    const std::string shortDest(buf, GetShortPathNameA(in.Dest().c_str(), buf, MAX_PATH));
    ASSERT_NE(lstrcmpiA(shortDest.c_str(), in.Dest().c_str()), 0) << shortDest;
    const std::string a = in.Dest() + "\\a.txt", b = in.Dest() + "\\b.txt";
    const std::string other = WindowsDirectory() + "\\vtest_exac.ini";
    in.Own(other);
    WriteFileBytes(a, "a");
    WriteFileBytes(b, "b");
    in.Records({}, {a});
    WriteFileBytes(other, ":run\r\n" + shortDest + "\r\n" + shortDest + "\\b.txt\r\n");
    Remove(in.Dest());
    EXPECT_FALSE(FileExists(a)) << "the record that names the destination as it is wins";
    EXPECT_FALSE(FileExists(in.LocationRecord()));
    EXPECT_TRUE(FileExists(b));
    EXPECT_TRUE(FileExists(other));
    TakePendingDeletions();
  }
  {
    Installed in("vtest_unreadable");
    const std::string ours = in.Dest() + "\\ours.txt";
    WriteFileBytes(ours, "o");
    in.Records({ours}, {});
    TempDir scratch("holder");
    RunningProgram holder(ToolExe("holder"), "\"" + in.LocationRecord() + "\" \"" + (scratch / "ready") + "\"", "");
    ASSERT_TRUE(WaitUntil([&] { return FileExists(scratch / "ready"); }, 10000));
    RunningProgram remove(in.Dest() + "\\remove.exe", "", in.Dest());
    HWND box = drv::WaitDialog("remove", 20000, remove.Id());
    EXPECT_EQ(drv::MessageText(box), in.LocationRecord() + ": " + SystemErrorText(ERROR_SHARING_VIOLATION) +
                                         "\n\nThis file cannot be read, and it may be the record of this "
                                         "installation. Nothing is removed.");
    PressWhenThere(box, "OK");
    EXPECT_TRUE(remove.WaitExit(10000));
    EXPECT_TRUE(FileExists(ours));
    EXPECT_TRUE(FileExists(in.Dest() + "\\unin.ini"));
    EXPECT_TRUE(FileExists(in.Dest() + "\\remove.exe"));
  }
}
