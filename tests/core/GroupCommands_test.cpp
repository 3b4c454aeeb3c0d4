// The five commands that ask the program-group server for the group and its two items.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setupcore/GroupCommands.h"

using setupcore::GroupCommands;
using setupcore::ProgramGroupTexts;

TEST(GroupCommands, FiveCommandsInTheirOrderWithTheTextsUnquotedAndUnescaped) {
  // Only ShowGroup is constant; a comma or a ")" in a text reaches the server as it is.
  const ProgramGroupTexts texts{"Widget (A, B)", "Widget 2.0)],x", "\"c:\\Widget\\widget.exe\"",
                                "Widget Remover", "\"c:\\Widget\\remove.exe\""};
  EXPECT_EQ(GroupCommands(texts),
            (std::vector<std::string>{
                "[CreateGroup(Widget (A, B))]",
                "[ShowGroup(1)]",
                "[ReplaceItem(Widget 2.0)],x)]",
                "[AddItem(\"c:\\Widget\\widget.exe\",Widget 2.0)],x)]",
                "[AddItem(\"c:\\Widget\\remove.exe\",Widget Remover)]",
            }));
}
