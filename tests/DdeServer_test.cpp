// The program as a DDE server: its server components and window topics, met by clients in
// other processes (the DDE peer), under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "driver/Driver.h"
#include "dde/DdeMgr.h"
#include "dde/DdeServer.h"
#include "dde/DdeSrvrConv.h"
#include "support/SetupWindow.h"
#include "support/Files.h"
#include "support/Peer.h"
#include "support/Program.h"
#include "ui/Application.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"

namespace {
const char kService[] = "DdeServer_test";  // the program's own file name
const char kCaption[] = "Velmora Served Window";

std::vector<std::string> Client(const std::string& topic, std::vector<std::string> ops) {
  ops.insert(ops.begin(), {"client", kService, topic});
  return ops;
}

// One round of a hostile client, as many times as asked: texts without a terminating zero,
// 1 MiB of data, formats and items nobody serves, and disconnects that cut into transactions.
// After each round it checks that the window of that caption still answers messages.
std::vector<std::string> Hostile(const std::string& topic, const std::string& item, int times,
                                 const std::string& probed) {
  const std::string mib = "big:1048576";
  return Client(topic, {"-q", "loop", std::to_string(times),
                        "advise", item, "warm", item, "7", "advise", "unknown",
                        "execute", "text:[no zero]", "execute", mib,
                        "poke", item, "text", mib, "poke", item, "49999", "text:abc",
                        "poke", "unknown", "text", "text:abc\\0",
                        "request", item, "request", item, "49999", "request", "", "49999",
                        "async-execute", "text:[x]\\0", "disconnect", "connect",
                        "async-request", item, "disconnect", "connect",
                        "probe", probed, "end"});
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
    WaitUntil([] { return DdeManager->ServerConversations().empty(); }, 10000);
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
  // Under Wine a client may miss data that comes while it still takes in the acknowledgement of
  // its link, so the item's text is set again and again until every peer has heard.
  bool SetUntilHeard(TDdeServerItem* item, std::vector<Peer*> peers, std::function<std::string()> text) {
    return WaitUntil([&] {
      if (std::all_of(peers.begin(), peers.end(), [](Peer* p) { return p->Says("done"); })) return true;
      item->SetText(text());
      PumpMessages(100);
      return false;
    }, 15000);
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
  // A topic is found whatever the case the client spells it in.
  Peer plain(Client("PLAIN", {"execute", "text:[a]\\0"}));
  Peer macros(Client("Macros", {"execute", "text:first\\r\\nsecond"}));
  Peer window(Client(kCaption, {"execute", "text:[a]\\0"}));
  ASSERT_TRUE(plain.Finish() && macros.Finish() && window.Finish());
  EXPECT_TRUE(plain.Says("execute: ok")) << "acknowledged without a handler";
  EXPECT_TRUE(macros.Says("execute: ok"));
  EXPECT_EQ(received, (std::vector<std::string>{"first", "second"}))
      << "a text without its terminating zero is read up to its last byte";
  EXPECT_TRUE(window.Says("execute: failed 0x4009")) << "a window topic takes no executes";
}

// A topic's component that goes while conversations on it and on another topic are open takes
// only its own conversations' handler with it.
TEST_F(DdeServer, ATopicThatGoesLeavesAnotherTopicsConversationItsHandler) {
  TDdeServerConv* gone = Topic("Gone");
  std::vector<std::string> received;
  Topic("Stays")->OnExecuteMacro = [&](TComponent&, TStringList& msg) { received = msg.Lines(); };
  Peer left(Client("Gone", {"request", "x", "wait", "3000", "execute", "text:[a]\\0"}));
  Peer stays(Client("Stays", {"request", "x", "wait", "3000", "execute", "text:[b]\\0"}));
  ASSERT_TRUE(left.WaitFor("request x: failed 0x4009") && stays.WaitFor("request x: failed 0x4009"));
  delete gone;
  ASSERT_TRUE(left.Finish() && stays.Finish());
  EXPECT_TRUE(left.Says("execute: failed 0x4009")) << "nothing is left to carry it out";
  EXPECT_TRUE(stays.Says("execute: ok"));
  EXPECT_EQ(received, std::vector<std::string>{"[b]"});
}

TEST_F(DdeServer, RequestsAreServedFromLinesAndOnlyRealChangesAreAdvised) {
  TDdeServerConv* topic = Topic("Status");
  TDdeServerItem* item = Item(form, "state", topic, {"line1", "line2"});
  Peer peer(Client("Status", {"request", "state", "request", "state", "13", "request", "other",
                              "advise", "state", "13", "poke", "state", "13", "text:x\\0",
                              "advise", "state", "advise", "state", "wait-advdata", "10000"}));
  ASSERT_TRUE(WaitUntil([&] {
    const std::vector<std::string> lines = peer.Lines();
    return std::count(lines.begin(), lines.end(), "advise state: ok") == 2;
  }, 10000));
  EXPECT_EQ(Advises(), 1u) << "a client that asks twice for the same link holds one";
  EXPECT_TRUE(peer.Says("request state: line1\\r\\nline2\\r\\n"));
  for (const char* refused : {"request state: failed 0x4009", "request other: failed 0x4009",
                              "advise state: failed 0x4009"})
    EXPECT_TRUE(peer.Says(refused)) << refused;
  // Wine tells a poking client "ok" whatever the server answers; the server's side shows it.
  EXPECT_EQ(item->Lines().Lines(), (std::vector<std::string>{"line1", "line2"}));
  EXPECT_TRUE(events.empty()) << "a poke in another format is not taken";

  TStringList same;
  same.Add("line1");
  same.Add("line2");
  item->SetLines(same);
  EXPECT_TRUE(events.empty()) << "the same text is no change";
  EXPECT_TRUE(SetUntilHeard(item, {&peer}, [] { return "new"; }));
  EXPECT_EQ(item->Lines().Lines(), std::vector<std::string>{"new"});
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events, std::vector<std::string>(events.size(), "change"));
  std::vector<std::string> advised;
  for (const std::string& l : peer.Lines())
    if (l.compare(0, 7, "advdata") == 0) advised.push_back(l);
  ASSERT_FALSE(advised.empty());
  EXPECT_EQ(advised, std::vector<std::string>(advised.size(), "advdata state: new\\r\\n"))
      << "setting the same lines told nobody";
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
  // The first conversation is on another topic, the next on this one holds no link; the two
  // after it do.
  Topic("Plain");
  Peer other(Client("Plain", {"request", "counter", "wait", "8000"}));
  ASSERT_TRUE(other.WaitFor("request counter: failed 0x4009"));
  Peer idle(Client(kCaption, {"request", "counter", "wait", "8000"}));
  ASSERT_TRUE(idle.WaitFor("request counter: 0\\r\\n")) << "served from the window's panel";
  Peer first(Client(kCaption, {"advise", "counter", "wait-advdata", "10000"}));
  Peer second(Client(kCaption, {"advise", "counter", "wait-advdata", "10000"}));
  ASSERT_TRUE(WaitUntil([this] { return Advises() == 2; }, 20000));
  int n = 0;
  EXPECT_TRUE(SetUntilHeard(item, {&first, &second}, [&] { return std::to_string(++n); }));
  EXPECT_FALSE(idle.Says("done") || other.Says("done"))
      << "the conversations without a link were first all along";
  ASSERT_TRUE(idle.Finish() && other.Finish());
  for (Peer* p : {&first, &second}) {
    std::vector<std::string> lines = p->Lines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
      return l.compare(0, 17, "advdata counter: ") == 0;
    }));
  }
}

TEST_F(DdeServer, ConversationsOnDifferentTopicsKeepToTheItemsOfTheirOwnTopic) {
  // Two topics of one window each hold an item "v"; the conversation on A, opened first,
  // advises its "v" as well.
  Item(form, "v", Topic("TopicA"), {"a"});
  TDdeServerItem* b = Item(form, "v", Topic("TopicB"), {"b"});
  Peer onA(Client("TopicA", {"request", "v", "advise", "v", "wait", "20000"}));
  ASSERT_TRUE(onA.WaitFor("advise v: ok"));
  Peer onB(Client("TopicB", {"request", "v", "advise", "v", "wait-advdata", "10000"}));
  ASSERT_TRUE(WaitUntil([this] { return Advises() == 2; }, 20000));
  int n = 0;
  EXPECT_TRUE(SetUntilHeard(b, {&onB}, [&] { return "b" + std::to_string(++n); }));
  EXPECT_FALSE(onA.Says("done")) << "the conversation on A was open all along";
  ASSERT_TRUE(onA.Finish());
  EXPECT_TRUE(onA.Says("request v: a\\r\\n") && onB.Says("request v: b\\r\\n"));
  for (const std::string& l : onA.Lines()) EXPECT_NE(l.compare(0, 7, "advdata"), 0) << l;
}

TEST_F(DdeServer, AHostileClientOfAServedTopicGetsWhatIsServedAndLeavesNothingBehind) {
  int executes = 0;
  Topic("Target")->OnExecuteMacro = [&](TComponent&, TStringList&) { ++executes; };
  TDdeServerItem* item = Item(form, "data", DdeManager->FindServerConvComponent("Target"), {"x"});
  form->Show();
  Peer peer(Hostile("Target", "data", 100, kCaption));
  ASSERT_TRUE(peer.Finish(300000));
  EXPECT_TRUE(peer.Says("probes 100 unanswered 0"));
  EXPECT_GE(executes, 200);
  ASSERT_EQ(item->Lines().Count(), 1);
  EXPECT_EQ(item->Lines().Strings(0), std::string(1048576, 'A')) << "the poke without a zero";
  // The fixture's end checks that the conversations and every handle are gone.
}

TEST(HostilePeerOfTheProgram, TheRunningInstallerAnswersThroughoutAndShowsWhatItShowedBefore) {
  ProductDir dir("\\Widget\r\nWidget\r\nWidget 2.0\r\nwidget.exe\r\nwidget\r\n:install\r\n");
  std::unique_ptr<RunningProgram> program(dir.Start());
  HWND w = mainwin::Started(*program, dir.Path());
  auto shown = [w] {
    std::vector<std::string> texts;
    for (mainwin::Spot at : {mainwin::kSource, mainwin::kDestination, mainwin::kFolder})
      texts.push_back(mainwin::TextAt(w, at));
    return texts;
  };
  const std::vector<std::string> before = shown();
  std::vector<std::string> ops = Hostile(mainwin::kCaption, "item", 1000, mainwin::kCaption);
  ops[1] = "SETUP";  // the service of SETUP.EXE
  Peer peer(ops);
  ASSERT_TRUE(peer.Finish(300000));
  EXPECT_TRUE(peer.Says("probes 1000 unanswered 0"));
  EXPECT_EQ(shown(), before);
  drv::Click(mainwin::At(w, mainwin::kExit));
  EXPECT_TRUE(program->WaitExit(10000)) << "Exit still ends the program";
}
