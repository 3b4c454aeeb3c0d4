#include "uninstaller/Removing.h"

#include <windows.h>

#include "dde/DdeClientConv.h"
#include "dde/ProgramManager.h"
#include "setupcore/GroupCommands.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/Strings.h"
#include "uninstaller/CleanUp.h"
#include "uninstaller/Records.h"
#include "uninstaller/RemoveText.h"
#include "uninstaller/SafeDelete.h"
#include "uninstaller/SharedFile.h"
#include "uninstaller/Unregister.h"
#include "setupcore/Switches.h"

namespace velmora {
Tremoving* removing = nullptr;
}

namespace {
bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The names of the files in `dir`; false when it cannot be listed or holds a folder.
bool FileNamesIn(const std::string& dir, std::vector<std::string>& names) {
  WIN32_FIND_DATAA fd;
  FindHandle h(FindFirstFileA((dir + "\\*").c_str(), &fd));
  if (!h.Valid()) return false;
  do {
    const std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    names.push_back(name);
  } while (FindNextFileA(h.Get(), &fd));
  return true;
}

bool IsEmptyDirectory(const std::string& dir) {
  std::vector<std::string> names;
  return FileNamesIn(dir, names) && names.empty();
}
}  // namespace

Tremoving::Tremoving(TComponent* owner)
    : TForm(owner, TFormDef{"Removing", 520, 57, bsDialog, false, false, poScreenCenter,
                            fsStayOnTop, TFont("MS Sans Serif", 13), false}) {
  SetName("removing");
  Button1 = PushButton(this, "Button1", 438, 24, 0, "Done",
                       [this](TComponent& c) { Button1Click(c); });
  Button1->SetDefault(true);

  progress = new TProgressBar(this);
  progress->Define(this, "progress", 8, 32, 415, 17);
  progress->SetRange(0, 100);
  progress->SetStep(1);

  Label1 = new TLabel(this);
  Label1->SetFont(TFont("MS Sans Serif", 13, fsBold));
  Label1->SetShowAccelChar(false);  // it shows the names of files and groups
  Label1->Define(this, "Label1", 8, 10, 0, 16);

  // Below the first view: the window grows to show them when something was not removed.
  Label2 = new TLabel(this);
  Label2->Define(this, "Label2", 8, 64, 0, 16, RemoveText(kLeftBehind));
  left = new TListBox(this);
  left->Define(this, "left", 8, 84, 505, 113);
  left->SetTabOrder(1);

  OnActivate = [this](TComponent& c) { FormActivate(c); };
}

void Tremoving::Button1Click(TComponent&) { Close(); }

void Tremoving::ShowStatus(const std::string& text) {
  Label1->SetCaption(text);
  // The removal holds the thread, so the dialog is drawn now rather than by the message loop.
  if (HandleAllocated())
    RedrawWindow(WindowHandle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void Tremoving::Report(const std::string& what, const std::string& why, bool left) {
  if (left) leftAny_ = true;
  report_.push_back(what + ": " + why);
  report.Log(RemoveText(kLogNotRemoved, report_.back()));
}

void Tremoving::Removed(const std::string& what) {
  removedAny_ = true;
  report.Log(RemoveText(kLogRemoved, what));
}

int Tremoving::RemoveUnattended(bool showProgress) {
  started_ = true;  // showing the dialog starts nothing more
  if (showProgress) Show();
  try {
    Run();
  } catch (const std::exception& e) {
    report.Tell(std::string(e.what()) + ".", MB_OK | MB_ICONSTOP);
    report_.push_back(e.what());
    leftAny_ = true;
  }
  if (showProgress) Hide();
  return setupcore::RemoveExit(removedAny_, leftAny_ || !recordsGone_);
}

void Tremoving::Unregister() {
  // Without a location record the entry's name is not known; the list keeps it.
  const std::string name = RecordNameOf(places.locationRecord);
  if (name.empty()) return;
  report.Log(RemoveText(UnregisterProduct(name, places.self) ? kLogUnregistered : kLogStillRegistered, name));
}

void Tremoving::FormActivate(TComponent&) {
  // The run lets messages through while it asks about shared files; the activation they bring
  // back to this window must not start it anew.
  if (started_) return;
  started_ = true;
  try {
    Run();
  } catch (...) {
    // The error box follows; Done is the only way out of this window.
    Button1->Show();
    throw;
  }
}

void Tremoving::Run() {
  Button1->Hide();
  plan_ = PlanRemoval(records, places);
  stillThere_.assign(plan_.steps.size(), false);
  report_.clear();
  leftAny_ = false;
  sharedAnswer_ = 0;
  const size_t count = plan_.steps.size();
  for (size_t i = 0; i < count; ++i) {
    const TRemoveStep& s = plan_.steps[i];
    progress->SetPosition(static_cast<int>(100.0 * static_cast<double>(i) / static_cast<double>(count)));
    switch (s.kind) {
      case skFile:
      case skShortcut:
        RemoveFile(i);
        break;
      case skShared:
        RemoveSharedFile(i);
        break;
      case skGroup:
        RemoveGroup(i);
        break;
      case skFolder:
        RemoveFolder(i);
        break;
      case skRefused:
        Report(s.path, RefusalText(s.refusal));
        break;
      case skPassedOver:
        Report(s.path, RefusalText(s.refusal), false);
        break;
      case skSelf:     // goes last, after this process
      case skPlace:
      case skIgnored:
        break;
    }
  }
  SaveOrDeleteRecords();
  if (recordsGone_ && plan_.self >= 0) {
    std::string reason;
    if (!PrepareCleanUp(places, reason)) Report(places.self, RemoveText(kNoCleanUp, reason));
  }
  // Last: while anything is left, the list still offers the removal that finishes it.
  if (recordsGone_) Unregister();
  progress->SetPosition(100);
  ShowLeftBehind();
  Button1->Show();
  ShowStatus(RemoveText(kRemoveDone));
}

void Tremoving::RemoveFile(size_t step) {
  const TRemoveStep& s = plan_.steps[step];
  ShowStatus(RemoveText(kRemovingFile, s.path));
  const TDeleteResult r = DeleteBelow(s.place, s.path, places.codePage);
  if (r.deleted) return Removed(s.path);
  // A link or a directory where the record has a file is not ours to go through or to empty.
  if (r.refusal != rfNone) {
    Report(s.path, RefusalText(r.refusal));
    return;
  }
  // The location record's "~" lines name files the product may make as it runs; one it never
  // made is no fault.
  if (s.record == riLocation && !Exists(s.path)) return;
  Report(s.path, SystemErrorText(r.error));
  // A file that is gone is not left; one in use waits for the next run.
  stillThere_[step] = Exists(s.path);
}

void Tremoving::RemoveSharedFile(size_t step) {
  const TRemoveStep& s = plan_.steps[step];
  // Nothing is asked about a file that will not go anyway.
  if (PassesThroughLink(s.place, s.path, places.codePage)) {
    Report(s.path, RefusalText(rfThroughLink));
    return;
  }
  // A file that is not there needs no answer: the deletion reports it.
  if (Exists(s.path)) {
    int answer = report.Quiet() ? saNo : sharedAnswer_;
    if (!answer) {
      ShowStatus(RemoveText(kRemovingFile, s.path));
      answer = velmora::shared->Ask(s.path);
      if (answer == saYesToAll || answer == saNoToAll) sharedAnswer_ = answer;
    }
    // Kept at the user's word: it is no longer the records' to remove.
    if (answer == saNo || answer == saNoToAll) return report.Log(RemoveText(kLogSharedKept, s.path));
  }
  RemoveFile(step);
}

void Tremoving::RemoveGroup(size_t step) {
  const TRemoveStep& s = plan_.steps[step];
  const std::string dir = WithoutTrailingBackslash(s.path, places.codePage);
  ShowStatus(RemoveText(kRemovingGroup, s.group));
  if (PassesThroughLink(s.place, dir, places.codePage)) {
    Report(s.path, RefusalText(rfThroughLink));
    return;
  }
  DWORD a = GetFileAttributesA(dir.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) {
    Report(s.path, SystemErrorText(GetLastError()));
    return;
  }
  if (!(a & FILE_ATTRIBUTE_DIRECTORY)) {
    Report(s.path, RemoveText(kNotAFolder));
    return;
  }
  // The server deletes a group with whatever is in it: it is asked only when the folder holds
  // nothing but this product's own items (those that could not go before), and only with a name
  // its syntax carries as one argument. Otherwise the folder goes only when it is empty.
  std::vector<std::string> names;
  const bool ownOnly = FileNamesIn(dir, names) &&
                       HoldsOnlyOwnShortcuts(plan_, dir, names, places.codePage);
  if (!ownOnly) {
    Report(s.path, RemoveText(kFolderNotEmpty));
    return;
  }
  if (!setupcore::IsSendableName(s.group)) {
    Report(s.path, RemoveText(kGroupNotSendable));
    return;
  }
  // The folder is looked at again after the server's answer, so the answer is waited for.
  TDdeClientConv conversation(nullptr);
  const ProgramGroupOutcome deleted =
      SendToProgramManager(conversation, {{setupcore::DeleteGroupCommand(s.group), true}});
  if (!deleted.reached) Report(s.group, RemoveText(kNoProgramManager));
  // Where the server keeps its groups elsewhere, or none answered, the folder is still here.
  if (Exists(dir) && IsEmptyDirectory(dir) && !RemoveDirectoryA(dir.c_str())) {
    Report(s.path, SystemErrorText(GetLastError()));
    stillThere_[step] = Exists(dir);
  }
  if (!Exists(dir)) Removed(s.path);
}

void Tremoving::RemoveFolder(size_t step) {
  const TRemoveStep& s = plan_.steps[step];
  // A file of ours that could not go keeps its folders: the next run takes them along.
  for (size_t j = 0; j < step; ++j)
    if (stillThere_[j] && IsBelow(s.path, plan_.steps[j].path, places.codePage)) return;
  if (PassesThroughLink(s.place, s.path, places.codePage)) {
    Report(s.path, RefusalText(rfThroughLink));
    return;
  }
  const DWORD a = GetFileAttributesA(s.path.c_str());
  // Never made, or gone already: nothing to do.
  if (a == INVALID_FILE_ATTRIBUTES) return;
  if (!(a & FILE_ATTRIBUTE_DIRECTORY)) {
    Report(s.path, RemoveText(kNotAFolder));
    return;
  }
  if (!IsEmptyDirectory(s.path)) {
    Report(s.path, RemoveText(kFolderNotEmpty));
    return;
  }
  ShowStatus(RemoveText(kRemovingFolder, s.path));
  const TDeleteResult r = RemoveFolderBelow(s.place, s.path, places.codePage);
  if (!r.deleted) Report(s.path, r.refusal != rfNone ? RefusalText(r.refusal) : SystemErrorText(r.error));
  else Removed(s.path);
}

void Tremoving::SaveOrDeleteRecords() {
  const TRecords rest = RemainingRecords(records, plan_, stillThere_, places.codePage);
  recordsGone_ = false;
  if (!rest.Empty()) {
    // Each record is replaced whole (written beside it, then put in its place), so a failure
    // leaves the previous one as it was.
    auto save = [&](const std::vector<std::string>& lines, const std::string& path) {
      if (lines.empty() || path.empty()) return;
      TStringList list;
      for (const std::string& l : lines) list.Add(l);
      try {
        list.SaveToFile(path);
      } catch (const Exception& e) {
        Report(path, RemoveText(kRecordNotSaved, e.Message()));
      }
    };
    save(rest.location, places.locationRecord);
    save(rest.uninstall, places.uninstallRecord);
    return;
  }
  bool gone = true;
  const std::pair<std::string, std::string> both[] = {{places.windowsDir, places.locationRecord},
                                                      {places.destination, places.uninstallRecord}};
  for (const auto& record : both) {
    const std::string& path = record.second;
    if (path.empty() || !Exists(path)) continue;
    ShowStatus(RemoveText(kRemovingFile, path));
    const TDeleteResult r = DeleteBelow(record.first, path, places.codePage);
    if (!r.deleted) {
      Report(path, r.refusal != rfNone ? RefusalText(r.refusal) : SystemErrorText(r.error));
      gone = gone && !Exists(path);
    } else {
      Removed(path);
    }
  }
  recordsGone_ = gone;
}

void Tremoving::ShowLeftBehind() {
  left->Clear();
  if (report_.empty()) return;
  for (const std::string& line : report_) left->AddItem(line);
  RECT client;
  GetClientRect(Handle(), &client);
  const int wanted = left->Top() + left->Height() + 8;
  SetBounds(Left(), Top(), Width(), Height() + wanted - (client.bottom - client.top));
}
