#pragma once
// The main window: the proposed source, destination and Start Menu folder, and the buttons.
#include "engine/ScriptStore.h"
#include "setupcore/Switches.h"
#include "ui/RunReport.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/ListControls.h"
#include "ui/StdCtrls.h"

class TFileListBox;

class Tmain : public TForm {
public:
  explicit Tmain(TComponent* owner);

  TImage* Image1;
  TLabel* var1;
  TLabel* Label1;
  TLabel* Label3;
  TSpeedButton* SpeedButton1;
  TSpeedButton* SpeedButton3;
  TImage* title;
  TLabel* Label2;
  TLabel* Label4;
  TEdit* s;
  TEdit* d;
  TButton* Button2;
  TButton* Button1;
  TScriptStore ini;  // the setup script, held in memory only
  TStatusBar* StatusBar1;
  TComboBox* smenu;
  TFileListBox* smenubox;
  TButton* Button3;

  // What the command line asked for, where the run's messages go, and the folder whose
  // sub-folders the Start Menu folder box offers; set once at start-up.
  setupcore::SetupSwitches switches;
  TRunReport report;
  std::string programsDir;

  void FormActivate(TComponent& sender);
  // Offers the sub-folders of the Start Menu programs folder in the folder box.
  void ListStartMenuFolders();
  // While set, the activation leaves the folders to be listed later: the first showing lists
  // them once the window is drawn, since finding the folder loads the shell's library.
  bool listFoldersLater = false;
  bool Prepared() const { return prepared_; }
  // An unattended run: what the start-up reads, then Install's steps without a window of its
  // own and without a question. Returns the exit code.
  int InstallUnattended(bool showProgress);
  void SpeedButton1Click(TComponent& sender);
  void SpeedButton3Click(TComponent& sender);
  void Button2Click(TComponent& sender);
  void Button1Click(TComponent& sender);
  void Button3Click(TComponent& sender);

private:
  // Install needs what the start-up fills in: the script, the source and the destination.
  // Until then it says why it cannot go on, with the error that stopped the start-up.
  bool prepared_ = false;
  std::string notPreparedBecause_;
};

namespace velmora {
extern Tmain* main;
}
