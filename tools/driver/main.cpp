// The driver's command line: one command a run, for scripts that work the real program from
// outside. Exit code 0 on success; 1 with a message on standard error otherwise.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Driver.h"

namespace {

const char kUsage[] =
    "usage: driver [--pid PID] COMMAND ARGS...\n"
    "  wait-window CAPTION [TIMEOUT_MS]     wait for a visible window; prints its process id\n"
    "  wait-gone CAPTION [TIMEOUT_MS]       wait until no such window is visible\n"
    "  text CAPTION X Y                     print the text of the control at X, Y\n"
    "  set-text CAPTION X Y TEXT            set the text of the control at X, Y\n"
    "  click CAPTION X Y                    click the control at X, Y\n"
    "  wait-text CAPTION X Y TEXT [TIMEOUT_MS]  wait until the control at X, Y reads TEXT\n"
    "  items CAPTION X Y                    print the items of a list or combo box, one a line\n"
    "  selected CAPTION X Y                 print the selected index of a list or combo box\n"
    "  key CAPTION X Y KEY                  press enter, escape, space or tab on the control\n"
    "  msgbox CAPTION [TIMEOUT_MS]          wait for a message box; print its message\n"
    "  press CAPTION BUTTONTEXT [TIMEOUT_MS]  click the button with that text in the window\n"
    "  close CAPTION                        close the window, as its close box would\n"
    "  wait-process PID [TIMEOUT_MS]        wait until the process ends\n"
    "  windows                              list the visible windows: pid, class, caption\n"
    "  rect CAPTION                         print the window's frame on the screen: X Y W H\n"
    "X and Y are client positions in pixels at 96 pixels per inch. Windows are waited for\n"
    "up to 10000 ms unless a timeout is given.\n";

class UsageError : public drv::Error {
public:
  using drv::Error::Error;
};

long Number(const std::string& s, const char* what) {
  char* end = nullptr;
  long v = s.empty() ? 0 : std::strtol(s.c_str(), &end, 10);
  if (s.empty() || *end != '\0' || v < 0)
    throw UsageError(std::string(what) + " must be a number of 0 or more, not \"" + s + "\"");
  return v;
}

struct Args {
  std::vector<std::string> v;
  size_t Count() const { return v.size(); }
  const std::string& operator[](size_t i) const { return v[i]; }
  void Need(size_t min, size_t max) const {
    if (v.size() < min || v.size() > max)
      throw UsageError("wrong number of arguments for " + v[0]);
  }
  DWORD TimeoutAt(size_t i) const {
    return i < v.size() ? static_cast<DWORD>(Number(v[i], "TIMEOUT_MS")) : drv::kDefaultTimeoutMs;
  }
};

void PrintLine(const std::string& s) {
  std::fwrite(s.data(), 1, s.size(), stdout);
  std::fputc('\n', stdout);
}

int Run(const Args& a, DWORD pid) {
  const std::string& cmd = a[0];
  auto window = [&](DWORD timeoutMs = drv::kDefaultTimeoutMs) {
    return drv::WaitWindow(a[1], timeoutMs, pid);
  };
  auto control = [&]() {
    return drv::RequireControlAt(window(), static_cast<int>(Number(a[2], "X")),
                                 static_cast<int>(Number(a[3], "Y")));
  };
  if (cmd == "wait-window") {
    a.Need(2, 3);
    PrintLine(std::to_string(drv::ProcessOf(window(a.TimeoutAt(2)))));
  } else if (cmd == "wait-gone") {
    a.Need(2, 3);
    drv::WaitGone(a[1], a.TimeoutAt(2), pid);
  } else if (cmd == "text") {
    a.Need(4, 4);
    PrintLine(drv::Text(control()));
  } else if (cmd == "set-text") {
    a.Need(5, 5);
    drv::SetText(control(), a[4]);
  } else if (cmd == "click") {
    a.Need(4, 4);
    drv::Click(control());
  } else if (cmd == "wait-text") {
    a.Need(5, 6);
    DWORD timeoutMs = a.TimeoutAt(5);
    drv::WaitText(window(timeoutMs), static_cast<int>(Number(a[2], "X")),
                  static_cast<int>(Number(a[3], "Y")), a[4], timeoutMs);
  } else if (cmd == "items") {
    a.Need(4, 4);
    for (const std::string& item : drv::Items(control())) PrintLine(item);
  } else if (cmd == "selected") {
    a.Need(4, 4);
    PrintLine(std::to_string(drv::SelectedIndex(control())));
  } else if (cmd == "key") {
    a.Need(5, 5);
    drv::Key key = drv::ParseKey(a[4]);
    drv::PressKey(control(), key);
  } else if (cmd == "msgbox") {
    a.Need(2, 3);
    PrintLine(drv::MessageText(drv::WaitDialog(a[1], a.TimeoutAt(2), pid)));
  } else if (cmd == "press") {
    a.Need(3, 4);
    drv::PressButton(window(a.TimeoutAt(3)), a[2]);
  } else if (cmd == "close") {
    a.Need(2, 2);
    drv::Close(window());
  } else if (cmd == "wait-process") {
    a.Need(2, 3);
    DWORD timeoutMs = a.TimeoutAt(2);
    if (!drv::WaitProcessId(static_cast<DWORD>(Number(a[1], "PID")), timeoutMs))
      throw drv::Error("process " + a[1] + " was still running after " +
                       std::to_string(timeoutMs) + " ms");
  } else if (cmd == "rect") {
    a.Need(2, 2);
    RECT r;
    GetWindowRect(window(), &r);
    PrintLine(std::to_string(r.left) + " " + std::to_string(r.top) + " " +
              std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top));
  } else if (cmd == "windows") {
    a.Need(1, 1);
    for (const drv::WindowInfo& w : drv::VisibleWindows())
      if (!pid || w.pid == pid) PrintLine(std::to_string(w.pid) + "\t" + w.className + "\t" + w.caption);
  } else {
    throw UsageError("unknown command \"" + cmd + "\"");
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Args a;
  DWORD pid = 0;
  try {
    int i = 1;
    if (i + 1 < argc && std::string(argv[i]) == "--pid") {
      pid = static_cast<DWORD>(Number(argv[i + 1], "PID"));
      i += 2;
    }
    for (; i < argc; ++i) a.v.push_back(argv[i]);
    if (a.Count() == 0 || a[0] == "--help" || a[0] == "-h") {
      std::fputs(kUsage, a.Count() == 0 ? stderr : stdout);
      return a.Count() == 0 ? 1 : 0;
    }
    int rc = Run(a, pid);
    std::fflush(stdout);
    return rc;
  } catch (const UsageError& e) {
    std::fprintf(stderr, "driver: %s\n%s", e.what(), kUsage);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "driver: %s: %s\n", a.Count() ? a[0].c_str() : "", e.what());
  }
  return 1;
}
