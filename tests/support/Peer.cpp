#include "support/Peer.h"

#include <algorithm>
#include <stdexcept>

#include "support/Program.h"

Peer::Peer(const std::vector<std::string>& args) : dir_("peer"), outPath_(dir_ / "out.txt") {
  const std::string exe = ToolExe("ddepeer");
  std::string cmd = "\"" + exe + "\"";
  for (const std::string& a : args) cmd += " \"" + a + "\"";
  SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
  HANDLE out = CreateFileA(outPath_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot make " + outPath_);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = out;
  si.hStdError = out;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  std::vector<char> line(cmd.begin(), cmd.end());
  line.push_back('\0');
  BOOL ok = CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                           &si, &pi_);
  CloseHandle(out);
  if (!ok) throw std::runtime_error("cannot start " + cmd);
}

Peer::~Peer() {
  if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(pi_.hProcess, 99);
    WaitForSingleObject(pi_.hProcess, 5000);
  }
  CloseHandle(pi_.hProcess);
  CloseHandle(pi_.hThread);
}

std::vector<std::string> Peer::Lines() const {
  std::string text = ReadFileBytes(outPath_);
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  std::vector<std::string> lines;
  size_t at = 0;
  for (size_t nl; (nl = text.find('\n', at)) != std::string::npos; at = nl + 1)
    lines.push_back(text.substr(at, nl - at));
  return lines;
}

bool Peer::Says(const std::string& line) const {
  std::vector<std::string> lines = Lines();
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool Peer::WaitFor(const std::string& line, DWORD timeoutMs) {
  return WaitUntil([&] { return Says(line); }, timeoutMs);
}

bool Peer::Finish(DWORD timeoutMs) {
  return WaitUntil([&] { return WaitForSingleObject(pi_.hProcess, 0) == WAIT_OBJECT_0; }, timeoutMs);
}
