// The program as a DDE server: its server components and window topics, met by clients in
// other processes (the DDE peer), under Wine.
#include <gtest/gtest.h>

#include <memory>

#include "app/Unit1.h"
#include "dde/DdeMgr.h"
#include "dde/DdeServer.h"
#include "dde/DdeSrvrConv.h"
#include "support/Files.h"
#include "support/Peer.h"
#include "ui/Application.h"
#include "ui/ExtCtrls.h"

namespace {
const char kService[] = "DdeServer_test";  // the program's own file name
const char kCaption[] = "Velmora Served Window";

std::vector<std::string> Client(const std::string& topic, std::vector<std::string> ops) {
  ops.insert(ops.begin(), {"client", kService, topic});
  return ops;
}

class DdeServer : public ::testing::Test {
protected:
  void SetUp() override {
    InitApplication();
    InitDdeManager();
    baseline = LiveDdeHandles();
    form = new TForm(Application, TFormDef{kCaption, 200, 100, bsDialog});
  }
  void TearDown() override {
    delete form;
    PumpUntil([] { return DdeManager->ServerConversations().empty(); }, 10000);
    EXPECT_TRUE(DdeManager->ServerConversations().empty());
    EXPECT_EQ(LiveDdeHandles(), baseline) << "every handle the server made is freed";
    DoneApplication();
  }
  TDdeServerConv* Topic(const std::string& name) {
    auto* conv = new TDdeServerConv(form);
    conv->SetName(name);
    return conv;
  }
  TDdeServerItem* Item(TComponent* owner, const std::string& name, TDdeServerConv* conv,
                       const std::vector<std::string>& lines) {
    auto* item = new TDdeServerItem(owner);
    item->SetName(name);
    item->SetServerConv(conv);
    TStringList l;
    for (const std::string& s : lines) l.Add(s);
    item->SetLines(l);
    item->OnChange = [this](TComponent&) { events.push_back("change"); };
    item->OnPokeData = [this](TComponent&) { events.push_back("poke"); };
    return item;
  }
  size_t Advises() const {
    size_t n = 0;
    for (TDdeSrvrConv* r : DdeManager->ServerConversations()) n += r->Advises().size();
    return n;
  }

  TForm* form = nullptr;
  std::vector<std::string> events;
  int baseline = 0;
};
}  // namespace

TEST_F(DdeServer, ExecutesAreAcknowledgedAndTheHandlerGetsTheLines) {
  Topic("Plain");
  std::vector<std::string> received;
  Topic("Macros")->OnExecuteMacro = [&](TComponent&, TStringList& msg) { received = msg.Lines(); };
  Peer plain(Client("Plain", {"execute", "text:[a]\\0"}));
  Peer macros(Client("Macros", {"execute", "text:first\\r\\nsecond"}));
  Peer window(Client(kCaption, {"execute", "text:[a]\\0"}));
  ASSERT_TRUE(plain.Finish() && macros.Finish() && window.Finish());
  EXPECT_TRUE(plain.Says("execute: ok")) << "acknowledged without a handler";
  EXPECT_TRUE(macros.Says("execute: ok"));
  EXPECT_EQ(received, (std::vector<std::string>{"first", "second"}))
      << "a text without its terminating zero is read up to its last byte";
  EXPECT_TRUE(window.Says("execute: failed 0x4009")) << "a window topic takes no executes";
}

TEST_F(DdeServer, RequestsAreServedFromLinesAndOnlyRealChangesAreAdvised) {
  TDdeServerConv* topic = Topic("Status");
  TDdeServerItem* item = Item(form, "state", topic, {"line1", "line2"});
  Peer peer(Client("Status", {"request", "state", "request", "state", "13", "request", "other",
                              "advise", "state", "13", "poke", "state", "13", "text:x\\0",
                              "advise", "state", "wait", "2000"}));
  ASSERT_TRUE(peer.WaitFor("advise state: ok"));
  ASSERT_TRUE(PumpUntil([this] { return Advises() == 1; }, 10000));
  EXPECT_TRUE(peer.Says("request state: line1\\r\\nline2\\r\\n"));
  for (const char* refused : {"request state: failed 0x4009", "request other: failed 0x4009",
                              "advise state: failed 0x4009"})
    EXPECT_TRUE(peer.Says(refused)) << refused;
  // Wine tells a poking client "ok" whatever the server answers; the server's side shows it.
  EXPECT_EQ(item->Lines().Lines(), (std::vector<std::string>{"line1", "line2"}));
  EXPECT_TRUE(events.empty()) << "a poke in another format is not taken";

  events.clear();
  TStringList same;
  same.Add("line1");
  same.Add("line2");
  item->SetLines(same);
  EXPECT_TRUE(events.empty()) << "the same text is no change";
  item->SetText("new");
  EXPECT_EQ(events, std::vector<std::string>{"change"});
  EXPECT_EQ(item->Lines().Lines(), std::vector<std::string>{"new"});
  ASSERT_TRUE(peer.Finish());
  std::vector<std::string> advised;
  for (const std::string& l : peer.Lines())
    if (l.compare(0, 7, "advdata") == 0) advised.push_back(l);
  EXPECT_EQ(advised, std::vector<std::string>{"advdata state: new\\r\\n"});
}

TEST_F(DdeServer, APokeStoresTheTextThenTellsOfTheChangeAndThePoke) {
  TDdeServerItem* item = Item(form, "value", Topic("Values"), {"old"});
  events.clear();
  Peer peer(Client("Values", {"poke", "value", "text", "text:one\\r\\ntwo"}));
  ASSERT_TRUE(peer.Finish());
  EXPECT_TRUE(peer.Says("poke value: ok"));
  EXPECT_EQ(item->Lines().Lines(), (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(events, (std::vector<std::string>{"change", "poke"}));
}

TEST_F(DdeServer, EveryClientAdvisingAnItemOfAWindowHearsOfItsChange) {
  // The item sits on a panel of the window; the window's caption is the topic.
  auto* panel = new TPanel(form);
  TDdeServerItem* item = Item(panel, "counter", nullptr, {"0"});
  // The first conversation on the topic holds no link; the two after it do.
  Peer idle(Client(kCaption, {"wait", "4000"}));
  ASSERT_TRUE(PumpUntil([] { return DdeManager->ServerConversations().size() == 1; }, 20000));
  Peer first(Client(kCaption, {"request", "counter", "advise", "counter", "wait", "2500"}));
  Peer second(Client(kCaption, {"advise", "counter", "wait", "2500"}));
  ASSERT_TRUE(first.WaitFor("advise counter: ok") && second.WaitFor("advise counter: ok"));
  ASSERT_TRUE(PumpUntil([this] { return Advises() == 2; }, 10000));
  EXPECT_TRUE(first.Says("request counter: 0\\r\\n"));
  item->SetText("42");
  ASSERT_TRUE(first.Finish() && second.Finish() && idle.Finish());
  EXPECT_TRUE(first.Says("advdata counter: 42\\r\\n"));
  EXPECT_TRUE(second.Says("advdata counter: 42\\r\\n"));
}
