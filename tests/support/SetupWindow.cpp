#include "support/SetupWindow.h"

#include <gtest/gtest.h>

#include "support/Wait.h"

namespace mainwin {
HWND Started(RunningProgram& program, const std::string& source) {
  HWND w = drv::WaitWindow(kCaption, 20000, program.Id());
  WaitText(w, kSource, source, 20000);
  return w;
}

HWND ButtonWhenMade(HWND window, const std::string& text) {
  WaitUntil([&] {
    try {
      return IsWindowVisible(drv::FindButton(window, text)) && IsWindowEnabled(window);
    } catch (const drv::Error&) {
      return false;  // not made yet
    }
  }, 10000);
  return drv::FindButton(window, text);
}

bool FinishInstall(RunningProgram& program, DWORD timeoutMs) {
  HWND installing = drv::WaitWindow("Installing", 20000, program.Id());
  EXPECT_EQ(drv::FindWindowByCaption(kCaption, program.Id()), nullptr)
      << "the main window is hidden during the run";
  WaitText(installing, kInstallingMessage, "Click DONE to exit.", timeoutMs);
  drv::PressButton(installing, "Done");
  return program.WaitExit(10000);
}
}  // namespace mainwin
