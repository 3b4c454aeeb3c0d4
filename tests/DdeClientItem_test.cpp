// Linked client items against a server in another process (the DDE peer), under Wine.
#include <gtest/gtest.h>

#include <memory>

#include "dde/DdeClientConv.h"
#include "dde/DdeClientItem.h"
#include "dde/DdeMgr.h"
#include "support/Peer.h"
#include "ui/Application.h"

namespace {
const char kService[] = "VelmoraPeer";
const char kTopic[] = "Items";

std::vector<std::string> Lines(const TDdeLinkedItem& item) { return item.Lines.Lines(); }

class DdeClientItem : public ::testing::Test {
protected:
  void SetUp() override {
    InitApplication();
    InitDdeManager();
    baseline = LiveDdeHandles();
    server = std::make_unique<Peer>(std::vector<std::string>{
        "server", kService, kTopic, "two=one\\r\\ntwo", "one=alpha", "refused=x", "refuse",
        "refused", "ticking=tick", "tick", "ticking", "200"});
    ASSERT_TRUE(server->WaitFor("ready"));
    conv = new TDdeClientConv(Application);
    item = new TDdeLinkedItem(Application);
    item->OnChange = [this](TComponent&) { ++changes; };
  }
  void TearDown() override {
    delete item;
    delete conv;
    EXPECT_EQ(LiveDdeHandles(), baseline) << "every handle the items made is freed";
    DoneApplication();
  }
  void Open() {
    ASSERT_TRUE(conv->SetServiceTopic(kService, kTopic));
    item->SetClientConv(conv);
  }

  std::unique_ptr<Peer> server;
  TDdeClientConv* conv = nullptr;
  TDdeLinkedItem* item = nullptr;
  int changes = 0;
  int baseline = 0;
};
}  // namespace

TEST_F(DdeClientItem, FormatCharsDecidesWhetherLineBreaksStay) {
  Open();
  item->SetItemName("two");
  EXPECT_EQ(Lines(*item), std::vector<std::string>{"one  two"}) << "CR and LF become blanks";
  conv->SetFormatChars(true);
  EXPECT_EQ(Lines(*item), (std::vector<std::string>{"one", "two"})) << "the item is read again";
}

TEST_F(DdeClientItem, AClosedManualConversationTakesItemsAnAutomaticOneDoesNot) {
  item->SetClientConv(conv);
  item->SetItemName("one");
  EXPECT_EQ(item->ItemName(), "") << "closed automatic conversation";
  EXPECT_TRUE(conv->ItemLinks().empty());

  conv->SetConnectMode(ddeManual);
  ASSERT_TRUE(conv->SetServiceTopic(kService, kTopic));
  item->SetItemName("one");
  EXPECT_EQ(item->ItemName(), "one");
  ASSERT_EQ(conv->ItemLinks().size(), 1u);
  EXPECT_TRUE(Lines(*item).empty());
  ASSERT_TRUE(conv->OpenConversation());
  EXPECT_EQ(Lines(*item), std::vector<std::string>{"alpha"}) << "opening starts the link and reads it";
}

TEST_F(DdeClientItem, ARefusedLinkAndAnEmptyNameLeaveNoLinkAndNoLines) {
  Open();
  item->SetItemName("refused");
  EXPECT_EQ(item->ItemName(), "");
  EXPECT_TRUE(Lines(*item).empty());
  EXPECT_TRUE(conv->ItemLinks().empty());

  item->SetItemName("one");
  ASSERT_EQ(Lines(*item), std::vector<std::string>{"alpha"});
  int before = changes;
  item->SetItemName("");
  EXPECT_TRUE(Lines(*item).empty());
  EXPECT_TRUE(conv->ItemLinks().empty());
  EXPECT_GT(changes, before) << "the missing item is notified";
  EXPECT_TRUE(server->WaitFor("advstop one")) << "the server was told the link ended";
}

TEST_F(DdeClientItem, AChangedServerItemReachesTheLinkedItem) {
  Open();
  item->SetItemName("ticking");
  ASSERT_EQ(item->Lines.Count(), 1);
  const std::string first = item->Lines.Strings(0);
  ASSERT_EQ(first.compare(0, 4, "tick"), 0);
  int before = changes;
  EXPECT_TRUE(WaitUntil([&] { return item->Lines.Count() == 1 && item->Lines.Strings(0) != first; },
                        10000));
  EXPECT_GT(changes, before);
}
