// How text lists read and write their bytes: the line ends, the zero that ends a text, CR LF.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setupcore/TextLines.h"

using setupcore::JoinLines;
using setupcore::SplitLines;

namespace {
using Lines = std::vector<std::string>;

struct SplitCase {
  const char* behaviour;
  std::string bytes;
  Lines lines;
};
}  // namespace

TEST(TextLines, Splitting) {
  const SplitCase cases[] = {
      {"CR LF, CR and LF each end a line", "one\r\ntwo\rthree\nfour",
       {"one", "two", "three", "four"}},
      {"LF CR is two line ends", "a\n\rb\n\r", {"a", "", "b", ""}},
      {"CR CR LF is two line ends", "a\r\r\nb", {"a", "", "b"}},
      {"a final line end adds no line", "a\r\nlast\r\n", {"a", "last"}},
      {"the last line needs no line end", "a\r\nlast", {"a", "last"}},
      {"an empty line at the end stays", "last\r\n\r\n", {"last", ""}},
      {"a lone line end is one empty line", "\r\n", {""}},
      {"no bytes, no lines", "", {}},
      {"a zero ends the text", std::string("a\r\nb\r\nc\0d\r\ne\r\n", 14), {"a", "b", "c"}},
      {"a zero first leaves nothing", std::string("\0a", 2), {}},
      {"blanks, tabs and high bytes are kept", " a \r\n\t\r\ncaf\xE9 \xFF",
       {" a ", "\t", "caf\xE9 \xFF"}},
  };
  for (const SplitCase& c : cases) EXPECT_EQ(SplitLines(c.bytes), c.lines) << c.behaviour;
}

TEST(TextLines, JoiningPutsCrLfAfterEveryLineAndSplitsBackTheSame) {
  EXPECT_EQ(JoinLines({"a", "", "c"}), "a\r\n\r\nc\r\n");
  EXPECT_EQ(JoinLines({""}), "\r\n");
  EXPECT_EQ(JoinLines({}), "");
  const Lines lines{" blank ", "", "\xC4\xD6\xDC", "", "end"};
  EXPECT_EQ(SplitLines(JoinLines(lines)), lines);
}
