#include "support/SetupWindow.h"

namespace mainwin {
HWND Started(RunningProgram& program, const std::string& source) {
  HWND w = drv::WaitWindow(kCaption, 20000, program.Id());
  WaitText(w, kSource, source, 20000);
  return w;
}

void StartInstall(HWND w, const std::string& destination) {
  drv::SetText(At(w, kDestination), destination);
  drv::Click(At(w, kInstall));
}

bool FinishInstall(RunningProgram& program, DWORD timeoutMs) {
  HWND installing = drv::WaitWindow("Installing", 20000, program.Id());
  WaitText(installing, kInstallingMessage, "Click DONE to exit.", timeoutMs);
  drv::PressButton(installing, "Done");
  return program.WaitExit(10000);
}
}  // namespace mainwin
