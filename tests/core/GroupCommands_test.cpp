// The five commands that ask the program-group server for the group and its two items.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setupcore/GroupCommands.h"

using setupcore::GroupCommands;
using setupcore::ProgramGroupTexts;

TEST(GroupCommands, FiveCommandsInTheirOrder) {
  const ProgramGroupTexts texts{"Widget", "Widget 2.0", "\"c:\\program files\\Widget\\widget.exe\"",
                                "Widget 2.0 Uninstaller",
                                "\"c:\\program files\\Widget\\remove.exe\""};
  EXPECT_EQ(GroupCommands(texts),
            (std::vector<std::string>{
                "[CreateGroup(Widget)]",
                "[ShowGroup(1)]",
                "[ReplaceItem(Widget 2.0)]",
                "[AddItem(\"c:\\program files\\Widget\\widget.exe\",Widget 2.0)]",
                "[AddItem(\"c:\\program files\\Widget\\remove.exe\",Widget 2.0 Uninstaller)]",
            }));
}

TEST(GroupCommands, TextsGoInUnquotedAndUnescaped) {
  const ProgramGroupTexts texts{"A, (B)", "T)],x", "\"c\"", "U", "\"r\""};
  const std::vector<std::string> commands = GroupCommands(texts);
  EXPECT_EQ(commands[0], "[CreateGroup(A, (B))]");
  EXPECT_EQ(commands[1], "[ShowGroup(1)]");
  EXPECT_EQ(commands[2], "[ReplaceItem(T)],x)]");
  EXPECT_EQ(commands[3], "[AddItem(\"c\",T)],x)]");
  EXPECT_EQ(commands[4], "[AddItem(\"r\",U)]");
}
