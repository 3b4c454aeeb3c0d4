// The script's lines as the run reads them, Install's replacement of line 1, and restored names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setupcore/Errors.h"
#include "setupcore/Script.h"
#include "tests/support/Thrown.h"

using setupcore::EListError;
using setupcore::RestoredName;
using setupcore::Script;

namespace {
using Lines = std::vector<std::string>;

Lines LinesOf(const Script& script) {
  Lines out;
  for (int i = 0; i < script.Count(); ++i) out.push_back(script.Line(i));
  return out;
}
}  // namespace

TEST(ScriptLines, ReadingBeyondTheScriptIsAListError) {
  const Script script(Lines{"line 0"});
  EXPECT_EQ(script.Line(0), "line 0");
  for (int index : {1, -1})
    EXPECT_EQ(ThrownMessage<EListError>([&] { script.Line(index); }), "List index out of bounds")
        << index;
  EXPECT_EQ(ThrownMessage<EListError>([&] { Script().Line(0); }), "List index out of bounds");
}

TEST(ScriptLines, ALineIsHandedOutThroughA4096ByteBuffer) {
  const std::string longLine(5000, 'L');
  Script script(Lines{"short", longLine, std::string(4095, 'k'), std::string("a\0b", 3)});
  EXPECT_EQ(script.Line(1), std::string(4095, 'L'));
  EXPECT_EQ(script.Line(2), std::string(4095, 'k'));
  EXPECT_EQ(script.Line(3), "a");
  EXPECT_EQ(script.Lines()[1], longLine);  // the script itself keeps the whole line
}

TEST(ScriptLines, InstallReplacesLineOneWhereThereIsOne) {
  Script script(Lines{"\\Widget", "Widget", "Widget 2.0"});
  script.Delete(1);
  script.Insert(1, "My Folder");
  EXPECT_EQ(LinesOf(script), (Lines{"\\Widget", "My Folder", "Widget 2.0"}));

  // A short script ignores the delete; an insert past the end is refused.
  Script one(Lines{"\\Only"});
  one.Delete(1);
  one.Delete(-1);
  one.Insert(1, "Folder");
  EXPECT_EQ(LinesOf(one), (Lines{"\\Only", "Folder"}));
  EXPECT_EQ(ThrownMessage<EListError>([&] { one.Insert(-1, "x"); }), "Unable to insert a line");
  Script empty;
  empty.Delete(1);
  EXPECT_EQ(ThrownMessage<EListError>([&] { empty.Insert(1, "Folder"); }), "Unable to insert a line");
  EXPECT_EQ(empty.Count(), 0);
}

TEST(RestoredNames, Rules) {
  const struct {
    const char* behaviour;
    std::string line, restored;
  } cases[] = {
      {"an executable", "SETUP.EX_", "setup.exe"},
      {"a library", "WIDGLIB.DL_", "widglib.dll"},
      {"x_ always gains an e", "Notes.tx_", "notes.txe"},
      {"l_ always gains an l", "HELP.HL_", "help.hll"},
      {"other names just lose the _", "DATA.DA_", "data.da"},
      {"no final _: unchanged, case kept", "ReadMe.Txt", "ReadMe.Txt"},
      {"an inner _ is no mark", "A_B.TXT", "A_B.TXT"},
      {"a trailing blank: as written", "A.EX_ ", "A.EX_ "},
      {"only the last _ goes", "MY_LIB.DL__", "my_lib.dl_"},
      {"only ASCII letters are lowered", "\xC4RGER.TX_", "\xC4rger.txe"},
      {"folders stay as written; only the last part is restored", "Data\\LEVELS\\ONE.DL_",
       "Data\\LEVELS\\one.dll"},
      {"a last part that is just _ leaves the folder", "SUB\\_", "SUB\\"},
      {"both ends of A to Z, and the characters just outside", "AZ@[.ZA_", "az@[.za"},
      {"a lone _ names nothing", "_", ""},
      {"an empty line", "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(RestoredName(c.line), c.restored) << c.behaviour;
}
