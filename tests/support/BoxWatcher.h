#pragma once
// Answers the message boxes this process shows, from a thread of its own, as a person would:
// it finds each box, notes its caption and text, and presses OK.
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct SeenBox {
  std::string caption;
  std::string text;
  bool readyWhileShown = true;  // the hold's condition came true while the box was open
};

class BoxWatcher {
public:
  BoxWatcher();
  // Holds each box open until `ready` is true or `holdMs` has passed, then presses OK: for a
  // test of what the program lets happen while a box is up.
  BoxWatcher(std::function<bool()> ready, DWORD holdMs);
  ~BoxWatcher();
  BoxWatcher(const BoxWatcher&) = delete;
  BoxWatcher& operator=(const BoxWatcher&) = delete;
  std::vector<SeenBox> Seen();

private:
  void Loop();
  bool HoldFor(HWND box);
  std::function<bool()> ready_;
  DWORD holdMs_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<SeenBox> seen_;
  std::thread thread_;
};
