#pragma once
// The DDE peer (tools/ddepeer) run as another process, its output caught in a file. While a
// test waits for it, this thread's messages are handled, so the test's own DDE side can answer.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "support/Files.h"
#include "support/Wait.h"


class Peer {
public:
  explicit Peer(const std::vector<std::string>& args);
  ~Peer();
  Peer(const Peer&) = delete;
  Peer& operator=(const Peer&) = delete;

  // The lines written so far (line ends without CR).
  std::vector<std::string> Lines() const;
  bool Says(const std::string& line) const;
  // Waits for the line, handling messages meanwhile.
  bool WaitFor(const std::string& line, DWORD timeoutMs = 20000);
  // Waits for the program to end, handling messages meanwhile.
  bool Finish(DWORD timeoutMs = 60000);

private:
  TempDir dir_;
  std::string outPath_;
  PROCESS_INFORMATION pi_ = {};
};
