#include "engine/ProgramGroup.h"

#include <windows.h>

#include "dde/DdeClientConv.h"
#include "engine/EngineText.h"
#include "ui/Application.h"

const char kProgramManagerFailed[] = "Communication with the Program Manager failed!";

namespace {
// Sends each step as an execute of its own and stops at the first needed one that fails.
void SendSteps(TDdeClientConv& conversation, const ProgramGroupTexts& t, ProgramGroupOutcome& out,
               const GroupAnswers& answers) {
  for (const setupcore::GroupStep& step : setupcore::GroupSteps(t)) {
    const TDdeClientConv::TExecuteAnswer answer =
        conversation.ExecuteMacroTextAnswered(step.command + "\r\n", kGroupCommandTimeoutMs);
    if (answers)
      answers(step.command, answer == TDdeClientConv::eaAccepted  ? "accepted"
                            : answer == TDdeClientConv::eaRefused ? "refused"
                                                                  : "no answer");
    if (answer == TDdeClientConv::eaAccepted || !step.needed) continue;
    out.failedCommand = step.command;
    out.answered = answer == TDdeClientConv::eaRefused;
    return;
  }
}
}  // namespace

std::string ProgramGroupProblem(const ProgramGroupOutcome& outcome) {
  if (!outcome.reached) return kProgramManagerFailed;
  if (outcome.failedCommand.empty()) return std::string();
  return EngineText(outcome.answered ? kGroupCommandRefused : kGroupCommandUnanswered,
                    outcome.failedCommand);
}

ProgramGroupOutcome CreateProgramGroup(TDdeClientConv& conversation, const ProgramGroupTexts& t,
                                       bool quiet, const GroupAnswers& answers) {
  ProgramGroupOutcome outcome;
  conversation.SetConnectMode(ddeManual);
  conversation.SetServiceTopic("PROGMAN", "PROGMAN");
  if (conversation.OpenConversation()) {
    outcome.reached = true;
    try {
      SendSteps(conversation, t, outcome, answers);
    } catch (...) {
      conversation.CloseConversation();
      throw;
    }
    conversation.CloseConversation();
  }
  if (!quiet && !outcome.Complete())
    Application->MessageBox(ProgramGroupProblem(outcome), Application->Title(), MB_OK);
  return outcome;
}
