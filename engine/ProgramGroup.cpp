#include "engine/ProgramGroup.h"

#include <windows.h>

#include "dde/DdeClientConv.h"
#include "ui/Application.h"
#include "ui/Strings.h"

const char kProgramManagerFailed[] = "Communication with the Program Manager failed!";

void CreateProgramGroup(TDdeClientConv& conversation, const ProgramGroupTexts& t) {
  // The texts go in as they are: no quoting is added and nothing inside them is escaped.
  TStringList macro;
  macro.Add("[CreateGroup(" + t.group + ")]");
  macro.Add("[ShowGroup(1)]");
  macro.Add("[ReplaceItem(" + t.title + ")]");
  macro.Add("[AddItem(" + t.command + "," + t.title + ")]");
  macro.Add("[AddItem(" + t.uninstallerCommand + "," + t.uninstallerTitle + ")]");
  conversation.SetConnectMode(ddeManual);
  conversation.SetServiceTopic("PROGMAN", "PROGMAN");
  if (conversation.OpenConversation()) {
    try {
      conversation.ExecuteMacroList(macro, true);  // asynchronous: the server's answer is not awaited
    } catch (...) {
      conversation.CloseConversation();
      throw;
    }
    conversation.CloseConversation();
  } else {
    Application->MessageBox(kProgramManagerFailed, Application->Title(), MB_OK);
  }
}
