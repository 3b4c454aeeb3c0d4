#include "engine/ProgramGroup.h"

#include <windows.h>

#include "dde/DdeClientConv.h"
#include "ui/Application.h"
#include "ui/Strings.h"

const char kProgramManagerFailed[] = "Communication with the Program Manager failed!";

void CreateProgramGroup(TDdeClientConv& conversation, const ProgramGroupTexts& t) {
  TStringList macro;
  for (const std::string& command : setupcore::GroupCommands(t)) macro.Add(command);
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
