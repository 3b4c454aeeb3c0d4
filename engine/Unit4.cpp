#include "engine/Unit4.h"

#include <windows.h>

#include "ui/FileSystem.h"

namespace velmora {
Tdeltemp* deltemp = nullptr;
}

namespace {
// Deletes the files directly in dir and reports nothing, as asked. The search is closed on the
// way out, before the caller removes the directory it holds open.
void DeleteFilesIn(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  FindHandle find(FindFirstFileA((dir + "\\*.*").c_str(), &fd));
  if (!find.Valid()) return;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      DeleteFileA((dir + "\\" + fd.cFileName).c_str());
  } while (FindNextFileA(find.Get(), &fd));
}
}  // namespace

Tdeltemp::Tdeltemp(TComponent* owner)
    : TForm(owner, TFormDef{"Dialogue", 170, 86, bsDialog, false, false, poScreenCenter,
                            fsStayOnTop}) {
  SetName("deltemp");
  Bevel1 = new TBevel(this);
  Bevel1->Define(this, "Bevel1", 0, 0, 170, 49);
  Label1 = new TLabel(this);
  Label1->SetFont(TFont("MS Sans Serif", 11, fsBold));
  Label1->SetAutoSize(false);
  Label1->SetAlignment(taCenter);
  Label1->Define(this, "Label1", 0, 18, 170, 16, "Delete Temp Directory?");
  Button1 = PushButton(this, "Button1", 8, 56, 0, "Yes",
                       [this](TComponent& c) { Button1Click(c); });
  Button2 = PushButton(this, "Button2", 88, 56, 1, "No",
                       [this](TComponent& c) { Button2Click(c); });
}

void Tdeltemp::Button1Click(TComponent&) {
  if (s) {
    const std::string dir = s->Text();
    DeleteFilesIn(dir);
    RemoveDirectoryA((dir + "\\").c_str());
  }
  Close();
}

void Tdeltemp::Button2Click(TComponent&) { Close(); }
