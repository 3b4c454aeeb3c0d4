#pragma once
// The program-group test server (tools/progman.exe) for a test: started with a log of its own,
// its log read back record by record, and the server ended with the test.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "support/Files.h"
#include "support/Program.h"
#include "support/Wait.h"

struct ProgmanRecord {
  std::string kind;   // "connect", "execute", "ack", "not processed", "disconnect"
  std::string bytes;  // of an execute: exactly what the server received
};

class ProgmanServer {
public:
  // Starts the server for `service` and waits until a client reaches it rather than Wine's
  // shell. Throws when it does not get there. An `unanswered` server answers no execute.
  explicit ProgmanServer(const std::string& service = "PROGMAN", bool unanswered = false);
  ~ProgmanServer();
  ProgmanServer(const ProgmanServer&) = delete;
  ProgmanServer& operator=(const ProgmanServer&) = delete;

  DWORD Id() const { return program_->Id(); }
  // The log file, which grows while the server runs.
  std::string LogPath() const { return dir_ / "log"; }
  std::vector<ProgmanRecord> Log() const;
  // How many records of that kind the log holds so far.
  size_t Count(const std::string& kind) const;
  // The bytes of every execute, in the order they came.
  std::vector<std::string> Executes() const;
  // Waits, letting this thread's messages through, until the log holds `count` answers to
  // executes; false when they are not there in time.
  bool WaitAnswers(size_t count, DWORD timeoutMs = 10000) const;
  // Ends the server the way it ends by itself, which disconnects its conversations.
  void Close();

private:
  TempDir dir_{"progman"};
  std::unique_ptr<RunningProgram> program_;
};

// Tests that share one test server for their suite: Wine's shell would open a folder window for
// every group an installation asks for, and those windows take the activation from later tests.
class ProgmanSuite : public ::testing::Test {
protected:
  static void SetUpTestSuite() { server = new ProgmanServer; }
  static void TearDownTestSuite() {
    delete server;
    server = nullptr;
  }
  static ProgmanServer* server;
};

// The folder windows Wine's shell opens for CreateGroup and ShowGroup of `group`: closed, so that
// they take no activation from later tests.
void CloseShellFolderWindows(const std::string& group);
