#include "engine/Unit4.h"

#include <windows.h>

namespace velmora {
Tdeltemp* deltemp = nullptr;
}

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
  Button1 = new TButton(this);
  Button1->Define(this, "Button1", 8, 56, 75, 25, "Yes");
  Button1->SetTabOrder(0);
  Button1->OnClick = [this](TComponent& c) { Button1Click(c); };
  Button2 = new TButton(this);
  Button2->Define(this, "Button2", 88, 56, 75, 25, "No");
  Button2->SetTabOrder(1);
  Button2->OnClick = [this](TComponent& c) { Button2Click(c); };
}

void Tdeltemp::Button1Click(TComponent&) {
  if (s) {
    const std::string dir = s->Text();
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*.*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
          DeleteFileA((dir + "\\" + fd.cFileName).c_str());  // reports nothing, as asked
      } while (FindNextFileA(h, &fd));
      FindClose(h);
    }
    RemoveDirectoryA((dir + "\\").c_str());
  }
  Close();
}

void Tdeltemp::Button2Click(TComponent&) { Close(); }
