#pragma once
// The Removing dialog: its activation runs the whole removal, with progress, and ends with the
// list of what was not removed and why.
#include <string>
#include <vector>

#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/ListControls.h"
#include "ui/RunReport.h"
#include "ui/StdCtrls.h"
#include "setupcore/RemovePlan.h"

class Tremoving : public TForm {
public:
  explicit Tremoving(TComponent* owner);

  TButton* Button1;  // "Done"
  TProgressBar* progress;
  TLabel* Label1;
  TLabel* Label2;
  TListBox* left;

  // What the run works from; set once at start-up.
  TRemovePlaces places;
  TRecords records;
  TRunReport report;  // where the run's messages go

  void FormActivate(TComponent& sender);
  // The run of an unattended removal: the dialog shown only with `showProgress`, every shared
  // file kept, no Done waited for. Returns the exit code.
  int RemoveUnattended(bool showProgress);
  void Button1Click(TComponent& sender);

private:
  void Run();
  void RemoveFile(size_t step);
  void RemoveSharedFile(size_t step);
  void RemoveGroup(size_t step);
  void RemoveFolder(size_t step);
  void SaveOrDeleteRecords();
  // Tells what was not removed and why; `left` is false for a line that names nothing to remove,
  // which is told but leaves nothing behind.
  void Report(const std::string& what, const std::string& why, bool left = true);
  void ShowStatus(const std::string& text);
  void ShowLeftBehind();

  TRemovePlan plan_;
  std::vector<bool> stillThere_;
  std::vector<std::string> report_;
  bool recordsGone_ = false;
  int sharedAnswer_ = 0;  // a "to All" answer, once given
  bool started_ = false;
  bool removedAny_ = false;
  bool leftAny_ = false;  // something the records name is still there
  void Removed(const std::string& what);
  void Unregister();
};

namespace velmora {
extern Tremoving* removing;
}
