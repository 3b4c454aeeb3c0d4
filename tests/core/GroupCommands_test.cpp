// The five commands that ask the program-group server for the group and its two items.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setupcore/GroupCommands.h"

using setupcore::GroupCommands;
using setupcore::ProgramGroupTexts;

TEST(GroupCommands, FiveCommandsInTheirOrderPlainNamesByteForByte) {
  const ProgramGroupTexts texts{"Widget & Co. 2.0", "Widget 2.0", "\"c:\\Widget\\widget.exe\"",
                                "Widget 2.0 Uninstaller", "\"c:\\Widget\\remove.exe\""};
  EXPECT_EQ(GroupCommands(texts),
            (std::vector<std::string>{
                "[CreateGroup(Widget & Co. 2.0)]",
                "[ShowGroup(Widget & Co. 2.0,1)]",
                "[ReplaceItem(Widget 2.0)]",
                "[AddItem(\"c:\\Widget\\widget.exe\",Widget 2.0)]",
                "[AddItem(\"c:\\Widget\\remove.exe\",Widget 2.0 Uninstaller)]",
            }));
}

TEST(GroupCommands, NamesWithCommasOrParenthesesAreQuotedSoTheyStayOneArgument) {
  // Unquoted, "Quill, Tools (7)" made a group "Quill" and the item commands missed it.
  const ProgramGroupTexts texts{"Quill, Tools (7)", "Quill (beta)", "\"c:\\Q\\q.exe\"",
                                "Quill (beta) Uninstaller", "\"c:\\Q\\remove.exe\""};
  EXPECT_EQ(GroupCommands(texts),
            (std::vector<std::string>{
                "[CreateGroup(\"Quill, Tools (7)\")]",
                "[ShowGroup(\"Quill, Tools (7)\",1)]",
                "[ReplaceItem(\"Quill (beta)\")]",
                "[AddItem(\"c:\\Q\\q.exe\",\"Quill (beta)\")]",
                "[AddItem(\"c:\\Q\\remove.exe\",\"Quill (beta) Uninstaller\")]",
            }));
  EXPECT_EQ(setupcore::DeleteGroupCommand("Acme, Inc"), "[DeleteGroup(\"Acme, Inc\")]");
  EXPECT_EQ(setupcore::DeleteGroupCommand("Acme"), "[DeleteGroup(Acme)]");
  for (const std::string name : {"a)", "(a"})
    EXPECT_EQ(setupcore::CommandArgument(name), "\"" + name + "\"") << "either parenthesis alone";
}

TEST(GroupCommands, OnlyReplaceItemMayBeRefusedWithoutStoppingTheRest) {
  // The shell refuses ReplaceItem of an item a first installation has not made yet.
  std::vector<bool> needed;
  for (const setupcore::GroupStep& step : setupcore::GroupSteps(ProgramGroupTexts{"G", "T", "c", "U", "d"}))
    needed.push_back(step.needed);
  EXPECT_EQ(needed, (std::vector<bool>{true, true, false, true, true}));
}

TEST(GroupCommands, QuotesAndBracketsCannotBeSentAtAll) {
  // Quoting cannot hold them: the first would end the argument, a bracket the command.
  for (const char* name : {"Tmp)][DeleteGroup(Other)][CreateGroup(Tmp", "Say \"hi\"", "a[b", "a]b"})
    EXPECT_FALSE(setupcore::IsSendableName(name)) << name;
  for (const char* name : {"Acme, Inc", "Tools (7)", "Widget", ""})
    EXPECT_TRUE(setupcore::IsSendableName(name)) << name;
}
