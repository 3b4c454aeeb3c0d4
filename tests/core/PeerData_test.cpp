// The text a peer's execute or poke carries, read within the size its data reports.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "setupcore/PeerData.h"

using setupcore::PeerDataText;

TEST(PeerData, TextWithinTheReportedSize) {
  const struct {
    const char* behaviour;
    std::string bytes;
    std::optional<std::string> text;
  } cases[] = {
      {"a text with its zero", std::string("[ShowGroup(1)]\r\n\0", 17), "[ShowGroup(1)]\r\n"},
      {"a text without its zero ends at the last byte", "poked", "poked"},
      {"bytes after the zero are not text", std::string("a\0garbage", 9), "a"},
      {"a zero alone is the empty text", std::string("\0", 1), ""},
      {"no bytes at all is nothing", "", std::nullopt},
      {"high bytes are kept", "caf\xE9\xFF", "caf\xE9\xFF"},
  };
  for (const auto& c : cases) {
    // Exactly as many bytes as reported, so that a read beyond them is a read beyond the block.
    std::unique_ptr<char[]> block(new char[c.bytes.size()]);
    c.bytes.copy(block.get(), c.bytes.size());
    EXPECT_EQ(PeerDataText(block.get(), c.bytes.size()), c.text) << c.behaviour;
  }
  EXPECT_EQ(PeerDataText(nullptr, 5), std::nullopt);
}
