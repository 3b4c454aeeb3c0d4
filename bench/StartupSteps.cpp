// Where the start-up's time goes: the steps of the program entry, each timed, in this one process
// of the product's architecture, run from a product directory of its own.
//   startup_steps PRODUCT_DIR
#include <windows.h>

#include <cstdio>

#include "app/SetupWindows.h"
#include "app/Unit1.h"
#include "ui/Application.h"

namespace {
double Now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

double last = 0;
void Step(const char* name) {
  const double now = Now();
  std::printf("  %-34s %7.1f ms\n", name, (now - last) * 1000.0);
  last = now;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || !SetCurrentDirectoryA(argv[1])) {
    std::fprintf(stderr, "usage: startup_steps PRODUCT_DIR\n");
    return 2;
  }
  std::printf("start-up steps:\n");
  last = Now();
  const double first = last;
  // The first window of a process loads the display driver, which the bare window pays as well;
  // it is timed apart, so that the steps after it show the program's own work.
  DestroyWindow(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
  Step("first window (display driver)");
  InitApplication();
  Step("framework");
  CreateMainWindow(setupcore::SetupSwitches(), TRunReport());
  Step("main window's object");
  velmora::main->Handle();
  Step("main window's controls made");
  // The activation fills the window from the script; it is timed apart from the showing around it.
  double activation = 0;
  auto activate = velmora::main->OnActivate;
  velmora::main->OnActivate = [&](TComponent& c) {
    const double t0 = Now();
    activate(c);
    activation = Now() - t0;
  };
  // As the application's Run does: show, draw what the activation filled in, then the rest.
  velmora::main->Show();
  const double shown = Now();
  std::printf("  %-34s %7.1f ms\n", "main window shown and drawn", (shown - last - activation) * 1000.0);
  std::printf("  %-34s %7.1f ms\n", "activation: script, fields", activation * 1000.0);
  last = shown;
  UpdateWindow(velmora::main->WindowHandle());
  Step("drawing what the filling changed");
  std::printf("  %-34s %7.1f ms\n", "(the person sees the window)", (last - first) * 1000.0);
  CreateLaterWindows();
  Step("folders, DDE manager, five windows");
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  Step("queued messages");
  DoneApplication();
  Step("ending");
  return 0;
}
