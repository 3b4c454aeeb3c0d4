#include "engine/Unit3.h"

#include <windows.h>

#include "dde/DdeClientConv.h"
#include "engine/EngineText.h"
#include "engine/InstallFiles.h"
#include "engine/ProgramGroup.h"
#include "engine/Registration.h"
#include "engine/WindowsDir.h"
#include "setupcore/CopyPlan.h"
#include "setupcore/GroupCommands.h"
#include "setupcore/InstallRules.h"
#include "setupcore/Switches.h"
#include "ui/Application.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/SystemCodePage.h"

namespace velmora {
Tcopyfiles* copyfiles = nullptr;
}

namespace {
// The conversation is made from a stored definition that holds its connect mode alone.
const char kDdeClientConv1Definition[] = "object DdeClientConv1: TDdeClientConv\n"
                                         "  ConnectMode = ddeManual\n"
                                         "end\n";
}  // namespace

Tcopyfiles::Tcopyfiles(TComponent* owner)
    : TForm(owner, TFormDef{"Installing", 418, 57, bsDialog, true, false, poScreenCenter,
                            fsStayOnTop, TFont("MS Sans Serif", 13), false}) {
  SetName("copyfiles");
  DdeClientConv1 = new TDdeClientConv(this);
  DdeClientConv1->SetName("DdeClientConv1");
  LoadComponent(*DdeClientConv1, kDdeClientConv1Definition);

  Button1 = PushButton(this, "Button1", 336, 24, 0, "Done",
                       [this](TComponent& c) { Button1Click(c); });

  progress = new TProgressBar(this);
  progress->Define(this, "progress", 8, 32, 313, 17);
  progress->SetRange(0, 100);
  progress->SetStep(1);

  Label1 = new TLabel(this);
  Label1->SetFont(TFont("MS Sans Serif", 13, fsBold));
  // The status shows paths and titles as they are: an '&' in them is no accelerator.
  Label1->SetShowAccelChar(false);
  Label1->Define(this, "Label1", 8, 16, 0, 16);

  // An unattended run is started by InstallUnattended; showing its dialog starts nothing more.
  OnActivate = [this](TComponent& c) {
    if (!report.Quiet()) FormActivate(c);
  };
}

void Tcopyfiles::Button1Click(TComponent&) { Close(); }

void Tcopyfiles::Open(const InstallInputs& inputs) {
  inputs_ = inputs;
  ShowModal();
}

namespace {
// The group's folder and the title's shortcut are made under the names as they are, and the
// uninstall record names them so.
std::string ShortcutNameRefusal(EngineTextId word, const std::string& name,
                                setupcore::ShortcutNameFault fault) {
  using setupcore::ShortcutNameFault;
  static const EngineTextId kWhy[] = {kShortcutNameEmpty, kShortcutNameEmpty, kGroupNameCharacter,
                                      kShortcutNameEdge, kRecordNameDevice};
  if (fault == ShortcutNameFault::kNone) return std::string();
  const EngineTextId why = fault == ShortcutNameFault::kReservedCharacter && word == kTitleWord
                               ? kTitleCharacter
                               : kWhy[static_cast<int>(fault)];
  return EngineText(kBadShortcutName, EngineText(word), name, EngineText(why));
}

// Line 3 goes into the group's AddItem inside the quoted command, below the destination.
std::string ProgramFileRefusal(const std::string& line, const TCodePage& cp) {
  static const EngineTextId kWhy[] = {kProgramFileNotBelow, kProgramFileUnsendable,
                                      kProgramFileNotBelow, kRecordNameDevice};
  const setupcore::ProgramFileFault fault = setupcore::CheckProgramFile(line, cp);
  if (fault == setupcore::ProgramFileFault::kNone) return std::string();
  return EngineText(kBadProgramFile, line, EngineText(kWhy[static_cast<int>(fault)]));
}
}  // namespace

std::string InstallRefusal(const std::string& typed, const std::string& group,
                           std::string& destination) {
  if (typed.empty()) return EngineText(kNoDestination);
  const TCodePage cp = SystemCodePage();
  if (setupcore::IsShareForm(typed)) return EngineText(kShareDestination, typed);
  if (!setupcore::FullDestination(typed, destination, cp))
    return EngineText(kNotFullDestination, typed);
  if (!setupcore::IsSendableName(group))
    return EngineText(kUnsendableName, EngineText(kGroupNameWord), group);
  return ShortcutNameRefusal(kGroupNameWord, group, setupcore::CheckGroupName(group, cp));
}

void Tcopyfiles::ShowStatus(const std::string& text) {
  Label1->SetCaption(text);
  RepaintNow();
}

void Tcopyfiles::RepaintNow() {
  // The copy holds the thread, so the dialog is drawn now rather than by the message loop.
  // Only what a change made invalid is drawn: the label's new text, the area it left, the bar.
  if (HandleAllocated()) RedrawWindow(WindowHandle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  lastPaint_ = GetTickCount();
}

void Tcopyfiles::ShowFileStatus(const std::string& status, int position) {
  // Small files go by faster than a screen refreshes: the label and the bar take a file's state
  // only when a refresh's time has passed since the last drawing, and are drawn then. Fitting
  // the label to a text no one sees costs more than copying a small file.
  const DWORD kRefreshMs = 16;
  if (GetTickCount() - lastPaint_ < kRefreshMs) return;
  Label1->SetCaption(status);
  progress->SetPosition(position);
  RepaintNow();
}

void Tcopyfiles::FormActivate(TComponent&) {
  try {
    Install();
  } catch (const std::exception& e) {
    report.Log(e.what());
    throw;
  }
  Button1->Show();
  progress->SetPosition(100);
  ShowStatus(EngineText(kClickDone));
}

int Tcopyfiles::InstallUnattended(const InstallInputs& inputs, bool showProgress) {
  inputs_ = inputs;
  if (showProgress) Show();
  changed_ = failed_ = false;
  try {
    Install();
  } catch (const std::exception& e) {
    report.Tell(std::string(e.what()) + ".", MB_OK | MB_ICONSTOP);
    failed_ = true;
  }
  if (showProgress) Hide();
  return setupcore::SetupExit(changed_, failed_);
}

void Tcopyfiles::Install() {
  // Done stays hidden unless the run gets to its end; until then the close box ends the dialog.
  Button1->Hide();
  un.Clear();
  const std::string windowsDir = WindowsDirectory();
  std::string destination;
  const std::string refusal = InstallRefusal(inputs_.destination, inputs_.group, destination);
  setupcore::RunPlaces places{inputs_.source, destination, windowsDir, programsDir, inputs_.group};
  places.codePage = SystemCodePage();
  const setupcore::CopyPlan plan(inputs_.script, places);
  // Every header line is read and every text the run passes on is checked before anything is
  // made: a script too short for them, or texts that would reach beyond what the installation
  // owns, stop the run while the disk is as it was.
  const std::string title = plan.Title();
  const std::string programPath = plan.ProgramFilePath();
  const std::string recordName = plan.RecordName();
  report.Log(EngineText(kLogValues, inputs_.source, inputs_.destination, plan.Group()));
  if (!refusal.empty()) throw Exception(refusal);
  if (!setupcore::IsSendableName(title))
    throw Exception(EngineText(kUnsendableName, EngineText(kTitleWord), title));
  const std::string titleRefusal =
      ShortcutNameRefusal(kTitleWord, title, setupcore::CheckTitle(title, places.codePage));
  if (!titleRefusal.empty()) throw Exception(titleRefusal);
  const std::string programRefusal = ProgramFileRefusal(plan.Line(3), places.codePage);
  if (!programRefusal.empty()) throw Exception(programRefusal);
  CheckRecordName(recordName, windowsDir, destination);

  CheckSpace(plan);
  MakeDestination(destination);
  changed_ = true;
  report.Log(EngineText(kLogDestinationMade, destination));
  std::vector<size_t> leftOut;
  const std::vector<CopyFailure> failures = CopyPass(plan, leftOut);

  // A program file whose copy failed is in the failure list already; there is nothing to wait for.
  bool programFailed = false;
  for (const CopyFailure& f : failures)
    programFailed = programFailed || lstrcmpiA(f.target.c_str(), programPath.c_str()) == 0;
  if (!programFailed) WaitForProgramFile(programPath);
  ShowStatus(EngineText(kGeneratingIcons));

  const ProgramGroupTexts texts = plan.GroupTexts();
  Edit1 = texts.group;
  Edit2 = texts.title;
  Edit3 = texts.command;
  Edit4 = texts.uninstallerTitle;
  Edit5 = texts.uninstallerCommand;
  for (const std::string& line : plan.UninstallRecord(leftOut)) un.Add(line);

  // The records come before the group: a group whose uninstaller finds no record would point
  // at an installation that nothing can remove.
  try {
    SaveRecord(un, plan.UninstallRecordPath());
    report.Log(EngineText(kLogRecordWritten, plan.UninstallRecordPath()));
    SaveLocationRecord(plan);
    report.Log(EngineText(kLogRecordWritten, plan.LocationRecordPath()));
  } catch (const Exception& e) {
    ReportCopyFailures(failures);
    throw Exception(e.Message() + " " + EngineText(kNoGroupWithoutRecord));
  }
  // Only a product that both records describe is offered for removal in the system's list.
  Register(plan);
  const ProgramGroupOutcome group = CreateProgramGroup(
      *DdeClientConv1, texts, report.Quiet(),
      [this](const std::string& command, const std::string& answer) {
        report.Log(EngineText(kLogGroupCommand, command, answer));
      });
  if (!group.Complete()) {
    report.Log(EngineText(kLogGroupIncomplete, ProgramGroupProblem(group)));
    failed_ = true;
  }

  ReportCopyFailures(failures);
}

void Tcopyfiles::Register(const setupcore::CopyPlan& plan) {
  ProductEntry entry;
  entry.recordName = plan.RecordName();
  entry.title = plan.Title();
  entry.location = plan.Places().destination;
  entry.uninstaller = plan.UninstallerPath();
  entry.program = plan.ProgramFilePath();
  const std::vector<setupcore::CopyEntry>& entries = plan.Entries();
  for (size_t k = 0; k < entries.size() && k < sources_.size(); ++k)
    if (entries[k].copies && entries[k].recorded && !sources_[k].error)
      entry.bytes += (static_cast<unsigned long long>(sources_[k].data.nFileSizeHigh) << 32) |
                     sources_[k].data.nFileSizeLow;
  DWORD error = 0;
  const RegisteredIn where = RegisterProduct(entry, error);
  if (where == RegisteredIn::nowhere) {
    report.Log(EngineText(kLogNotRegistered, SystemErrorText(error)));
    failed_ = true;
    return;
  }
  report.Log(EngineText(kLogRegistered,
                        where == RegisteredIn::machine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER",
                        setupcore::UninstallKey(entry.recordName)));
}

void Tcopyfiles::CheckRecordName(const std::string& name, const std::string& windowsDir,
                                 const std::string& destination) {
  static const EngineTextId kWhy[] = {kRecordNameEmpty, kRecordNameEmpty, kRecordNameCharacter,
                                      kRecordNameDots, kRecordNameDevice};
  const setupcore::RecordNameFault fault = setupcore::CheckRecordName(name);
  if (fault != setupcore::RecordNameFault::kNone)
    throw Exception(EngineText(kBadRecordName, name, EngineText(kWhy[static_cast<int>(fault)])));
  // The name is the vendor's choice and the Windows directory holds the system's own ini files:
  // only this product's earlier record may be replaced.
  const std::string path = windowsDir + "\\" + name + ".ini";
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  bool ours = false;
  if (!(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) {
    TStringList earlier;
    try {
      earlier.LoadFromFile(path);
    } catch (const Exception&) {
      // What cannot be read cannot be told to be ours.
    }
    std::vector<std::string> lines;
    for (int i = 0; i < earlier.Count() && i < 2; ++i) lines.push_back(earlier.Strings(i));
    ours = setupcore::IsOwnLocationRecord(
        lines, destination, [](const std::string& recorded, const std::string& now) {
          // An earlier installer recorded the destination as typed.
          std::string full;
          const std::string made =
              setupcore::FullDestination(recorded, full, SystemCodePage()) ? full : recorded;
          return lstrcmpiA(made.c_str(), now.c_str()) == 0;
        });
  }
  if (!ours) throw Exception(EngineText(kRecordNotOurs, path));
}

void Tcopyfiles::CheckSpace(const setupcore::CopyPlan& plan) {
  SpaceShortage shortage;
  if (!FindSpaceShortage(plan, shortage, sources_)) return;
  auto kilobytes = [](unsigned long long bytes) { return std::to_string((bytes + 1023) / 1024); };
  throw Exception(EngineText(kNotEnoughSpace, shortage.drive, kilobytes(shortage.needed),
                             kilobytes(shortage.free)));
}

std::vector<CopyFailure> Tcopyfiles::CopyPass(const setupcore::CopyPlan& plan,
                                              std::vector<size_t>& leftOut) {
  static const EngineTextId kRefused[] = {kNotFullTarget, kNamesDevice, kNotFullTarget,
                                          kFolderInWindows};
  std::vector<CopyFailure> failures;
  kept_.clear();
  FileInstaller installer(plan);
  const std::vector<setupcore::CopyEntry>& entries = plan.Entries();
  for (size_t k = 0; k < entries.size(); ++k) {
    const setupcore::CopyEntry& e = entries[k];
    ShowFileStatus(e.status, e.position);
    if (e.refusal != setupcore::EntryRefusal::kNone) {
      failures.push_back(CopyFailure{plan.Line(e.line), e.target, 0,
                                     EngineText(kRefused[static_cast<int>(e.refusal)])});
      report.Log(EngineText(kLogNotCopied, plan.Line(e.line), e.target, failures.back().reason));
      continue;
    }
    if (!e.recorded || !e.copies)
      report.Log(EngineText(kLogSkipped, std::to_string(e.line + 1), plan.Line(e.line)));
    if (!e.recorded) continue;
    if (e.copies) {
      const CopyResult result = installer.Install(e, sources_[k]);
      if (result.outcome == CopyResult::kKept) {
        kept_.push_back(e.target);
        report.Log(EngineText(kLogKept, e.target));
      }
      if (result.outcome == CopyResult::kCopied)
        report.Log(EngineText(kLogCopied, plan.Line(e.line), e.target,
                              std::to_string((static_cast<unsigned long long>(
                                                  sources_[k].data.nFileSizeHigh) << 32) |
                                             sources_[k].data.nFileSizeLow)));
      if (result.outcome == CopyResult::kFailed || result.outcome == CopyResult::kRefused) {
        failures.push_back(CopyFailure{plan.Line(e.line), e.target, result.error, result.reason});
        const CopyFailure& f = failures.back();
        report.Log(EngineText(kLogNotCopied, f.entry, f.target,
                              f.reason.empty() ? SystemErrorText(f.error) : f.reason));
      }
      // Nothing was written through the link, and the uninstaller is not to delete through it;
      // a failed entry is named all the same, as the plan records it.
      if (result.outcome == CopyResult::kRefused) leftOut.push_back(k);
    }
  }
  return failures;
}

void Tcopyfiles::ReportCopyFailures(const std::vector<CopyFailure>& failures) {
  if (failures.empty() && kept_.empty()) return;
  if (!failures.empty()) failed_ = true;
  std::string text;
  if (!failures.empty()) {
    text = EngineText(kCopyFailuresHead, std::to_string(failures.size()));
    for (size_t k = 0; k < failures.size() && k < kListedFailures; ++k) {
      const CopyFailure& f = failures[k];
      const std::string why = f.reason.empty() ? SystemErrorText(f.error) : f.reason;
      text += "\n" + EngineText(kCopyFailureLine, f.entry, f.target, why);
    }
    if (failures.size() > kListedFailures)
      text += "\n" + EngineText(kCopyFailuresMore, std::to_string(failures.size() - kListedFailures));
  }
  if (!kept_.empty()) {
    if (!text.empty()) text += "\n\n";
    text += EngineText(kKeptHead, std::to_string(kept_.size()));
    for (size_t k = 0; k < kept_.size() && k < kListedFailures; ++k)
      text += "\n" + EngineText(kKeptLine, kept_[k]);
    if (kept_.size() > kListedFailures)
      text += "\n" + EngineText(kCopyFailuresMore, std::to_string(kept_.size() - kListedFailures));
  }
  report.Tell(text, MB_OK | MB_ICONWARNING);
}

void Tcopyfiles::WaitForProgramFile(const std::string& path) {
  const int stepMs = 100;
  for (int waited = 0; !IsExistingFile(path); waited += stepMs) {
    if (waited >= kProgramFileWaitMs) {
      failed_ = true;
      report.Tell(EngineText(kProgramFileMissing, path), MB_OK | MB_ICONWARNING);
      return;
    }
    Sleep(stepMs);
    RepaintNow();
  }
}

void Tcopyfiles::SaveLocationRecord(const setupcore::CopyPlan& plan) {
  un.Clear();
  for (const std::string& line : plan.LocationRecord()) un.Add(line);
  SaveRecord(un, plan.LocationRecordPath());
}
