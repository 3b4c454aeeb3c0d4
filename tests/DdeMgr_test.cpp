// The DDE manager: which connections the running installer accepts from another process, the
// error message for a conversation that is not established, and the end of a program that
// still holds a conversation.
#include <gtest/gtest.h>

#include <windows.h>

#include <dde.h>
#include <ddeml.h>

#include <functional>
#include <memory>

#include "dde/DdeClientConv.h"
#include "dde/DdeMgr.h"
#include "dde/DdeServer.h"
#include "driver/Driver.h"
#include "support/SetupWindow.h"
#include "support/BoxWatcher.h"
#include "support/Files.h"
#include "support/Peer.h"
#include "support/Program.h"
#include "support/Progman.h"
#include "support/Wait.h"
#include "ui/Application.h"
#include "ui/Form.h"

namespace {
using mainwin::kCaption;
const char kScript[] =
    "\\Widget\r\nWidget\r\nWidget 2.0\r\nwidget.exe\r\nwidget\r\n:install\r\nWIDGET.EX_\r\n";

HDDEDATA CALLBACK NoAnswers(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
  return nullptr;
}

// A wildcard connection as the DDE protocol makes it (Wine's DdeConnectList is a stub): the
// initiate with no service goes to every window of `pid`, and each acknowledgement names one
// service of a pair the server offers. The conversations are ended again at once.
std::vector<std::string> wildAnswers;
LRESULT CALLBACK WildClientProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DDE_ACK) {
    char name[256] = {};
    GlobalGetAtomNameA(LOWORD(lp), name, sizeof name);
    wildAnswers.push_back(name);
    GlobalDeleteAtom(LOWORD(lp));
    GlobalDeleteAtom(HIWORD(lp));
    PostMessageA(reinterpret_cast<HWND>(wp), WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(hwnd), 0);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

std::vector<std::string> WildServices(const std::string& topic, DWORD pid) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = WildClientProc;
  wc.lpszClassName = "VelmoraWildClient";
  RegisterClassA(&wc);
  HWND me = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  std::vector<HWND> targets;
  struct Find {
    DWORD pid;
    std::vector<HWND>* out;
  } find{pid, &targets};
  EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL {
        auto* f = reinterpret_cast<Find*>(lp);
        DWORD p = 0;
        GetWindowThreadProcessId(h, &p);
        if (p == f->pid) f->out->push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&find));
  wildAnswers.clear();
  ATOM aTopic = topic.empty() ? 0 : GlobalAddAtomA(topic.c_str());
  for (HWND h : targets)
    SendMessageA(h, WM_DDE_INITIATE, reinterpret_cast<WPARAM>(me), MAKELPARAM(0, aTopic));
  if (aTopic) GlobalDeleteAtom(aTopic);
  WaitUntil([] { return false; }, 300);  // the terminates are answered
  DestroyWindow(me);
  return wildAnswers;
}

// A client-only DDE instance of the test's own, standing for another program.
class Client {
public:
  Client() { DdeInitializeA(&id_, NoAnswers, APPCMD_CLIENTONLY, 0); }
  ~Client() {
    for (HSZ h : strings_) DdeFreeStringHandle(id_, h);
    DdeUninitialize(id_);
  }
  HSZ Str(const std::string& s) {
    if (s.empty()) return nullptr;
    strings_.push_back(DdeCreateStringHandleA(id_, s.c_str(), CP_WINANSI));
    return strings_.back();
  }
  HCONV Connect(const std::string& service, const std::string& topic) {
    return DdeConnect(id_, Str(service), Str(topic), nullptr);
  }
  static DWORD PartnerProcess(HCONV c) {
    CONVINFO info = {};
    info.cb = sizeof info;
    DWORD pid = 0;
    if (c && DdeQueryConvInfo(c, QID_SYNC, &info)) GetWindowThreadProcessId(info.hwndPartner, &pid);
    return pid;
  }

private:
  DWORD id_ = 0;
  std::vector<HSZ> strings_;
};
}  // namespace

TEST(DdeMgr, TheRunningInstallerAnswersOnItsCaptionUnderItsNameBeforeTheFirstDot) {
  ProductDir dir(kScript);
  const std::string exe = dir / "VELMORA.SETUP.EXE";
  ASSERT_TRUE(CopyFileA((dir / "SETUP.EXE").c_str(), exe.c_str(), FALSE));
  RunningProgram program(exe, "", dir.Path());
  HWND w = mainwin::Started(program, dir.Path());

  Client client;
  HCONV own = client.Connect("VELMORA", kCaption);
  EXPECT_EQ(Client::PartnerProcess(own), program.Id());
  HCONV anyService = client.Connect("", "the velmora installer v1.00");
  EXPECT_EQ(Client::PartnerProcess(anyService), program.Id()) << "any service, caption in any case";
  EXPECT_EQ(client.Connect("VELMORA.SETUP", kCaption), nullptr);
  EXPECT_EQ(client.Connect("OTHER", kCaption), nullptr);
  EXPECT_EQ(client.Connect("VELMORA", "No such window"), nullptr);
  EXPECT_EQ(WildServices("", program.Id()), std::vector<std::string>{})
      << "a wildcard without a topic gets nothing";
  EXPECT_EQ(WildServices(kCaption, program.Id()), std::vector<std::string>{"VELMORA"});
  if (anyService) DdeDisconnect(anyService);

  // The program ends while another process still holds a conversation with it.
  drv::Click(mainwin::At(w, mainwin::kExit));
  ASSERT_TRUE(program.WaitExit(10000));
  EXPECT_EQ(program.ExitCode(), 0u);
  if (own) DdeDisconnect(own);
}

TEST(DdeMgr, ANoConversationErrorNamesItsCode) {
  InitApplication();
  InitDdeManager();
  HSZ service = DdeCreateStringHandleA(DdeManager->InstanceId(), "VTESTNOSUCH", CP_WINANSI);
  EXPECT_EQ(DdeConnect(DdeManager->InstanceId(), service, service, nullptr), nullptr);
  DdeFreeStringHandle(DdeManager->InstanceId(), service);
  EXPECT_EQ(ThrownMessage<EDdeError>([] { DdeManager->RaiseDdeError(); }),
            "DDE Error - conversation not established ($0400a)");
  DoneApplication();
}

// A conversation still open at the end is closed by the manager while DDEML is there: opening
// puts the manager last among the application's components, so it goes before the windows,
// and the conversation that outlives it touches nothing of it.
TEST(DdeMgr, EndingWithAConversationOpenClosesItFirst) {
  ProgmanServer server("VTESTEND");
  InitApplication();
  InitDdeManager();
  auto* first = new TForm(Application, TFormDef{"first", 100, 100});
  auto* conv = new TDdeClientConv(first);
  conv->SetConnectMode(ddeManual);
  conv->SetServiceTopic("VTESTEND", "PROGMAN");
  ASSERT_TRUE(conv->OpenConversation());
  new TForm(Application, TFormDef{"later", 100, 100});
  EXPECT_EQ(Application->Components(Application->ComponentCount() - 2), DdeManager);
  DoneApplication();
  EXPECT_EQ(DdeManager, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return server.Log().size() >= 2; }, 10000));
  EXPECT_EQ(server.Log().back().kind, "disconnect");
}

// A handler that DDEML reaches through the callback fails. The client is answered at once, and
// the error box opens after the callback has returned: it is held open here until the client
// has had its refusal, which a box inside the callback would hold back until it closed.
TEST(DdeMgr, AnErrorInsideTheCallbackIsShownOnceTheCallbackHasReturned) {
  InitApplication();
  InitDdeManager();
  struct Case {
    const char* topic;
    std::function<void()> fail;
    const char* shown;
  };
  const Case cases[] = {
      {"Refusing", [] { throw EInvalidOperation("Macro refused"); }, "Macro refused."},
      {"Throwing", [] { throw 42; }, "Unknown error."},
  };
  for (const Case& c : cases) {
    auto* topic = new TDdeServerConv(Application);
    topic->SetName(c.topic);
    topic->OnExecuteMacro = [&c](TComponent&, TStringList&) { c.fail(); };
    Peer peer({"client", "DdeMgr_test", c.topic, "execute", "text:[x]\\0"});
    BoxWatcher boxes([&peer] { return peer.Says("execute: failed 0x4009"); }, 10000);
    ASSERT_TRUE(peer.Finish()) << c.topic;
    ASSERT_TRUE(WaitUntil([&] { return !boxes.Seen().empty(); }, 10000)) << c.topic;
    const std::vector<SeenBox> seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 1u) << c.topic;
    EXPECT_EQ(seen[0].text, c.shown);
    EXPECT_EQ(seen[0].caption, Application->Title());
    EXPECT_TRUE(seen[0].readyWhileShown) << c.topic << ": the client had its answer first";
    delete topic;
  }
  DoneApplication();
}
