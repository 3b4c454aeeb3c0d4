#include "support/Progman.h"

#include <stdexcept>

#include "engine/WindowsDir.h"

ProgmanServer* ProgmanSuite::server = nullptr;

namespace {
const char kServerClass[] = "VelmoraProgman";

struct WindowOf {
  DWORD pid;
  HWND hwnd;
};

BOOL CALLBACK FindServerWindow(HWND hwnd, LPARAM lp) {
  auto* w = reinterpret_cast<WindowOf*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char cls[64] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (pid == w->pid && std::string(cls) == kServerClass) {
    w->hwnd = hwnd;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

ProgmanServer::ProgmanServer(const std::string& service, bool unanswered) {
  program_.reset(new RunningProgram(ToolExe("progman"),
                                    "\"" + (dir_ / "log") + "\" " + service + (unanswered ? " unanswered" : ""), ""));
  // The log appears once a client reaches this server.
  if (!WaitUntil([this] { return FileExists(dir_ / "log") || program_->WaitExit(0); }, 30000) ||
      !FileExists(dir_ / "log"))
    throw std::runtime_error("the program-group test server did not become reachable");
}

ProgmanServer::~ProgmanServer() { Close(); }

void ProgmanServer::Close() {
  if (program_->WaitExit(0)) return;
  WindowOf w{program_->Id(), nullptr};
  EnumWindows(FindServerWindow, reinterpret_cast<LPARAM>(&w));
  if (w.hwnd) PostMessageA(w.hwnd, WM_CLOSE, 0, 0);
  // The clients of its conversations get their disconnects through this thread's messages.
  if (!WaitUntil([this] { return program_->WaitExit(0); }, 10000)) program_->Kill();
}

std::vector<ProgmanRecord> ProgmanServer::Log() const {
  const std::string log = FileExists(dir_ / "log") ? ReadFileBytes(dir_ / "log") : std::string();
  std::vector<ProgmanRecord> records;
  size_t at = 0;
  while (at < log.size()) {
    size_t end = log.find("\r\n", at);
    if (end == std::string::npos) break;
    ProgmanRecord r{log.substr(at, end - at), std::string()};
    at = end + 2;
    if (r.kind.compare(0, 8, "execute ") == 0) {
      size_t n = std::stoul(r.kind.substr(8));
      if (at + n + 2 > log.size()) break;  // still being written
      r.bytes = log.substr(at, n);
      r.kind = "execute";
      at += n + 2;
    }
    records.push_back(r);
  }
  return records;
}

std::vector<std::string> ProgmanServer::Executes() const {
  std::vector<std::string> out;
  for (const ProgmanRecord& r : Log())
    if (r.kind == "execute") out.push_back(r.bytes);
  return out;
}

bool ProgmanServer::WaitAnswers(size_t count, DWORD timeoutMs) const {
  return WaitUntil(
      [&] {
        size_t n = 0;
        for (const ProgmanRecord& r : Log())
          if (r.kind == "ack" || r.kind == "not processed") ++n;
        return n >= count;
      },
      timeoutMs);
}

size_t ProgmanServer::Count(const std::string& kind) const {
  size_t n = 0;
  for (const ProgmanRecord& r : Log()) n += r.kind == kind;
  return n;
}

void CloseShellFolderWindows(const std::string& group) {
  struct Closer {
    static BOOL CALLBACK Visit(HWND hwnd, LPARAM lp) {
      char title[256] = {};
      GetWindowTextA(hwnd, title, sizeof title);
      if (lstrcmpiA(title, reinterpret_cast<const char*>(lp)) == 0) PostMessageA(hwnd, WM_CLOSE, 0, 0);
      return TRUE;
    }
  };
  EnumWindows(Closer::Visit, reinterpret_cast<LPARAM>(group.c_str()));
}
