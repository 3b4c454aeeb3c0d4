#include "dde/ProgramManager.h"

#include "dde/DdeClientConv.h"
#include "platform/ScopeExit.h"

namespace {
const char* AnswerText(TDdeClientConv::TExecuteAnswer answer) {
  return answer == TDdeClientConv::eaAccepted  ? "accepted"
         : answer == TDdeClientConv::eaRefused ? "refused"
                                               : "no answer";
}
}  // namespace

ProgramGroupOutcome SendToProgramManager(TDdeClientConv& conversation,
                                         const std::vector<setupcore::GroupStep>& steps,
                                         const GroupAnswers& answers, unsigned long timeoutMs) {
  ProgramGroupOutcome outcome;
  conversation.SetConnectMode(ddeManual);
  conversation.SetServiceTopic("PROGMAN", "PROGMAN");
  if (!conversation.OpenConversation()) return outcome;
  outcome.reached = true;
  const ScopeExit close([&]() noexcept { conversation.CloseConversation(); });
  for (const setupcore::GroupStep& step : steps) {
    const TDdeClientConv::TExecuteAnswer answer =
        conversation.ExecuteMacroTextAnswered(step.command + "\r\n", timeoutMs);
    if (answers) answers(step.command, AnswerText(answer));
    if (answer == TDdeClientConv::eaAccepted || !step.needed) continue;
    outcome.failedCommand = step.command;
    outcome.answered = answer == TDdeClientConv::eaRefused;
    break;
  }
  return outcome;
}
