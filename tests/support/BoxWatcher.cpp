#include "support/BoxWatcher.h"

#include "driver/Driver.h"

namespace {
struct Found {
  HWND box = nullptr;
};

BOOL CALLBACK FindBox(HWND hwnd, LPARAM lp) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char cls[64] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (pid == GetCurrentProcessId() && std::string(cls) == "#32770" && IsWindowVisible(hwnd)) {
    reinterpret_cast<Found*>(lp)->box = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

BoxWatcher::BoxWatcher() : thread_([this] { Loop(); }) {}

BoxWatcher::BoxWatcher(std::function<bool()> ready, DWORD holdMs)
    : ready_(std::move(ready)), holdMs_(holdMs), thread_([this] { Loop(); }) {}

bool BoxWatcher::HoldFor(HWND box) {
  if (!ready_) return true;
  const DWORD start = GetTickCount();
  for (;;) {
    if (ready_()) return IsWindow(box) != FALSE;
    if (stop_ || !IsWindow(box) || GetTickCount() - start >= holdMs_) return false;
    Sleep(20);
  }
}

BoxWatcher::~BoxWatcher() {
  stop_ = true;
  thread_.join();
}

std::vector<SeenBox> BoxWatcher::Seen() {
  std::lock_guard<std::mutex> lock(mutex_);
  return seen_;
}

void BoxWatcher::Loop() {
  while (!stop_) {
    Found f;
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&f));
    if (f.box) {
      SeenBox seen{drv::Text(f.box), std::string()};
      try {
        seen.text = drv::MessageText(f.box);
      } catch (const drv::Error&) {
        // a box without a message: noted with an empty text
      }
      seen.readyWhileShown = HoldFor(f.box);
      {
        std::lock_guard<std::mutex> lock(mutex_);
        seen_.push_back(seen);
      }
      PostMessageA(f.box, WM_COMMAND, IDOK, 0);
      for (int i = 0; i < 100 && IsWindow(f.box) && IsWindowVisible(f.box); ++i) Sleep(20);
    }
    Sleep(30);
  }
}
