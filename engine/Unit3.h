#pragma once
// The Installing dialog: its activation runs the whole installation.
#include <memory>
#include <string>
#include <vector>

#include "ui/ExtCtrls.h"
#include "ui/RunReport.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"
#include "platform/Strings.h"
#include "setupcore/Script.h"

struct SourceFile;
class TDdeClientConv;
namespace setupcore {
class CopyPlan;
}

// A file entry whose copy failed or was refused: the entry as written, its target, and the
// system's error code or the run's own reason.
struct CopyFailure {
  std::string entry;
  std::string target;
  unsigned long error;
  std::string reason;
};

// Why Install cannot go on with this destination and Start Menu folder, said before anything
// is changed; empty when it can. `destination` gets the destination as the run uses it: a full
// path without a trailing or doubled backslash.
std::string InstallRefusal(const std::string& typed, const std::string& group,
                           std::string& destination);

// What Install hands the run when it opens the dialog: the main window's values at that moment.
struct InstallInputs {
  std::string source;        // the source box
  std::string destination;   // the destination box, as typed
  setupcore::Script script;  // the setup script as loaded
  std::string group;         // the Start Menu folder chosen
};

class Tcopyfiles : public TForm {
public:
  explicit Tcopyfiles(TComponent* owner);

  TDdeClientConv* DdeClientConv1;
  // The program group's texts, as the plan gives them to the run's group step.
  std::string Edit1, Edit2, Edit3, Edit4 = "Edit4", Edit5 = "Edit5";
  TButton* Button1;
  TProgressBar* progress;
  TLabel* Label1;
  TStringList un;

  // Where the run's messages go, and the folder the program groups are in (the one the main
  // window lists); set once at start-up.
  TRunReport report;
  std::string programsDir;

  // Opens the dialog modally on these inputs; its activation runs the installation.
  void Open(const InstallInputs& inputs);
  void FormActivate(TComponent& sender);
  // The run of an unattended installation: the dialog shown only with `showProgress`, no
  // question asked, no Done waited for. Returns the exit code.
  int InstallUnattended(const InstallInputs& inputs, bool showProgress);
  void Button1Click(TComponent& sender);

  // How long the run waits for the program file to appear, in milliseconds.
  static const int kProgramFileWaitMs = 5000;
  // How many copy failures the closing message names one by one; the rest it counts.
  static const size_t kListedFailures = 10;

private:
  void Install();
  InstallInputs inputs_;
  bool changed_ = false;  // the destination was made: from here on the disk is not as it was
  bool failed_ = false;   // something the run set out to make is missing
  void CheckSpace(const setupcore::CopyPlan& plan);
  std::vector<std::string> kept_;  // targets in the Windows or system directory left as newer
  std::vector<SourceFile> sources_;  // what the space pass learnt of each source
  void CheckRecordName(const std::string& name, const std::string& windowsDir,
                       const std::string& destination);
  // The failures, and in `leftOut` the entries refused at the disk, which the record leaves out.
  std::vector<CopyFailure> CopyPass(const setupcore::CopyPlan& plan, std::vector<size_t>& leftOut);
  void WaitForProgramFile(const std::string& path);
  void SaveLocationRecord(const setupcore::CopyPlan& plan);
  void Register(const setupcore::CopyPlan& plan);
  void ReportCopyFailures(const std::vector<CopyFailure>& failures);
  void ShowStatus(const std::string& text);
  void RepaintNow();
  void ShowFileStatus(const std::string& status, int position);
  DWORD lastPaint_ = 0;
};

namespace velmora {
extern Tcopyfiles* copyfiles;
}
