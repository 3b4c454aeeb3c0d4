// The client conversation against the program-group test server, a separate process.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "dde/DdeClientConv.h"
#include "dde/DdeMgr.h"
#include "support/Files.h"
#include "support/Program.h"
#include "support/Progman.h"
#include "support/Wait.h"
#include "ui/Application.h"
#include "ui/Stream.h"

using namespace std::string_literals;

namespace {
// A service of the tests' own, so that nothing but the test server answers it.
const char kService[] = "VTESTCONV";

class DdeClientConvTest : public ::testing::Test {
protected:
  void SetUp() override {
    baseline = LiveDdeHandles();
    InitApplication();
    InitDdeManager();
    conv = new TDdeClientConv(Application);
  }
  void TearDown() override {
    DoneApplication();
    EXPECT_EQ(LiveDdeHandles(), baseline) << "every DDE handle made is freed by the end";
  }
  void OpenManual(const std::string& service) {
    conv->SetConnectMode(ddeManual);
    ASSERT_TRUE(conv->SetServiceTopic(service, "PROGMAN"));
    ASSERT_TRUE(conv->OpenConversation());
  }
  TDdeClientConv* conv = nullptr;  // owned by the application object
  int baseline = 0;
};
}  // namespace

TEST_F(DdeClientConvTest, ManualNamesMakeNoTrafficAndOpeningAnOpenConversationChangesNothing) {
  ProgmanServer server(kService);
  int opened = 0;
  conv->OnOpen = [&](TComponent&) { ++opened; };
  conv->SetConnectMode(ddeManual);
  EXPECT_TRUE(conv->SetServiceTopic(kService, "PROGMAN"));
  EXPECT_EQ(conv->ConversationHandle(), nullptr);
  EXPECT_EQ(conv->DdeService(), kService);
  ASSERT_TRUE(conv->OpenConversation());
  HCONV h = conv->ConversationHandle();
  EXPECT_FALSE(conv->OpenConversation());
  EXPECT_EQ(conv->ConversationHandle(), h);
  EXPECT_EQ(opened, 1);
  // Automatic mode opens the conversation, which is already open: that counts as failing.
  EXPECT_EQ(ThrownMessage<Exception>([&] { conv->SetConnectMode(ddeAutomatic); }),
            "Unable to connect DDE conversation");
  EXPECT_EQ(conv->ConnectMode(), ddeManual);
  conv->CloseConversation();
  EXPECT_EQ(conv->ConversationHandle(), nullptr);
  EXPECT_EQ(conv->DdeService(), "");
  EXPECT_EQ(conv->DdeTopic(), "");
  ASSERT_TRUE(WaitUntil([&] { return server.Log().size() >= 2; }, 10000));
  std::vector<std::string> kinds;
  for (const ProgmanRecord& r : server.Log()) kinds.push_back(r.kind);
  EXPECT_EQ(kinds, (std::vector<std::string>{"connect", "disconnect"}))
      << "setting the names made no connection of its own";
}

TEST_F(DdeClientConvTest, ExecutesCarryTheExactBytesAndAWaitingOneHoldsBackTheNext) {
  ProgmanServer server(kService);
  OpenManual(kService);
  TStringList empty, two;
  two.Add("[CreateGroup(a, b)]");
  two.Add("second line");
  // A sent execute's data belongs to DDEML: the conversation holds no data handle afterwards.
  const int held = LiveDdeHandles();
  EXPECT_TRUE(conv->ExecuteMacroList(empty, true));
  EXPECT_EQ(LiveDdeHandles(), held);
  EXPECT_TRUE(conv->ExecutePending());
  EXPECT_FALSE(conv->ExecuteMacroText("refused", true)) << "one is still pending";
  EXPECT_FALSE(conv->ExecuteMacroList(two, false));
  ASSERT_TRUE(WaitUntil([&] { return !conv->ExecutePending(); }, 10000)) << "the completion arrives";
  EXPECT_TRUE(conv->ExecuteMacroList(two, false));
  EXPECT_EQ(LiveDdeHandles(), held);
  EXPECT_FALSE(conv->ExecutePending());
  ASSERT_TRUE(server.WaitAnswers(2));
  EXPECT_EQ(server.Executes(),
            (std::vector<std::string>{"\0"s, "[CreateGroup(a, b)]\r\nsecond line\r\n\0"s}));
}

TEST_F(DdeClientConvTest, AServerThatEndsTheConversationLeavesTheNames) {
  ProgmanServer server(kService);
  int closed = 0;
  conv->OnClose = [&](TComponent&) { ++closed; };
  OpenManual(kService);
  HCONV h = conv->ConversationHandle();
  server.Close();
  // Wine's DDEML marks a conversation that the server ended as no longer connected but does
  // not call the client's callback; the disconnect Windows delivers is handed to the callback
  // here, once Wine has taken the server's end.
  ASSERT_TRUE(WaitUntil(
      [&] {
        CONVINFO info = {};
        info.cb = sizeof info;
        return DdeQueryConvInfo(h, QID_SYNC, &info) && !(info.wStatus & ST_CONNECTED);
      },
      10000));
  if (conv->ConversationHandle())
    TDdeMgr::DdeCallback(XTYP_DISCONNECT, 0, h, nullptr, nullptr, nullptr, 0, 0);
  EXPECT_EQ(conv->ConversationHandle(), nullptr);
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(conv->DdeService(), kService);
  EXPECT_EQ(conv->DdeTopic(), "PROGMAN");
  EXPECT_FALSE(conv->ExecuteMacroText("[x]", false)) << "nothing is sent without a conversation";
}

// A first connection that fails starts the server program, when one is named and it lies in the
// system's own directories, and tries once more; with neither a service nor a program there is
// nothing to start, and a program anywhere else is never started.
TEST_F(DdeClientConvTest, AFailedFirstConnectionStartsOnlyANamedServerProgramOfTheSystem) {
  // Wine gives a console program a console host of its own, already running.
  const std::vector<ChildProcess> before = ChildProcesses(GetCurrentProcessId());
  auto started = [&] {  // what was started since
    std::vector<ChildProcess> since;
    for (const ChildProcess& p : ChildProcesses(GetCurrentProcessId())) {
      auto same = [&](const ChildProcess& b) { return b.id == p.id; };
      if (std::none_of(before.begin(), before.end(), same)) since.push_back(p);
    }
    return since;
  };
  // Automatic mode: the names go again when the conversation does not open.
  EXPECT_FALSE(conv->SetServiceTopic("VTESTNOSUCH", "NOTOPIC"));
  EXPECT_EQ(conv->DdeService(), "");
  EXPECT_EQ(conv->DdeTopic(), "");
  conv->SetConnectMode(ddeManual);
  conv->SetServiceTopic("", "VTESTNOTOPIC");
  EXPECT_FALSE(conv->OpenConversation());
  EXPECT_TRUE(started().empty());

  TempDir dir("serverapp");
  conv->ServiceApplication = "\"" + ToolExe("progman") + "\" \"" + (dir / "log") + "\" VTESTAPP";
  conv->SetServiceTopic("VTESTAPP", "PROGMAN");
  EXPECT_FALSE(conv->OpenConversation()) << "the test server lies outside the system's directories";
  EXPECT_TRUE(started().empty());

  char windows[MAX_PATH];
  const std::string server = std::string(windows, GetSystemWindowsDirectoryA(windows, MAX_PATH)) +
                             "\\vtestsrv.exe";
  Leftovers left{{}, {server}};
  ASSERT_TRUE(CopyFileA(ToolExe("progman").c_str(), server.c_str(), FALSE));
  // Named bare, with its extension, by its full path and by its full path in quotes.
  for (const std::string& program : {"vtestsrv"s, "vtestsrv.exe"s, server, "\"" + server + "\""}) {
    conv->ServiceApplication = program + " \"" + (dir / "log") + "\" VTESTAPP";
    conv->SetServiceTopic("VTESTAPP", "PROGMAN");
    const bool opened = conv->OpenConversation();
    conv->CloseConversation();
    const std::vector<ChildProcess> servers = started();
    for (const ChildProcess& p : servers) EndProcess(p.id);
    EXPECT_TRUE(opened) << program << ": the start returns once the server waits for input";
    ASSERT_EQ(servers.size(), 1u) << program;
    EXPECT_STRCASEEQ(servers[0].exe.c_str(), "vtestsrv.exe");
  }
}

TEST_F(DdeClientConvTest, LinkInfoAloneRestoresTheNames) {
  conv->SetName("DdeClientConv1");
  conv->SetConnectMode(ddeManual);
  conv->SetServiceTopic("PROGMAN", "PROGMAN");
  const std::string stored = SaveComponent(*conv, "TDdeClientConv");
  EXPECT_NE(stored.find("LinkInfo = ('Service PROGMAN' 'Topic PROGMAN')"), std::string::npos)
      << stored;
  auto* back = new TDdeClientConv(Application);
  LoadComponent(*back, stored);
  EXPECT_EQ(back->DdeService(), "PROGMAN");
  EXPECT_EQ(back->DdeTopic(), "PROGMAN");
  EXPECT_EQ(back->ConversationHandle(), nullptr) << "a manual conversation is not opened by loading";

  // The published names alone are read and have no effect; the Installing window's definition
  // holds only the connect mode.
  auto* named = new TDdeClientConv(Application);
  LoadComponent(*named, "object C: TDdeClientConv\n  DdeService = 'PROGMAN'\n"
                        "  DdeTopic = 'PROGMAN'\n  ConnectMode = ddeManual\nend\n");
  EXPECT_EQ(named->DdeService(), "");
  EXPECT_EQ(named->DdeTopic(), "");
  EXPECT_EQ(named->ConnectMode(), ddeManual);
  EXPECT_EQ(named->ConversationHandle(), nullptr);
}
