#include "engine/ProgramGroup.h"

#include <windows.h>

#include "engine/EngineText.h"
#include "ui/Application.h"

const char kProgramManagerFailed[] = "Communication with the Program Manager failed!";

std::string ProgramGroupProblem(const ProgramGroupOutcome& outcome) {
  if (!outcome.reached) return kProgramManagerFailed;
  if (outcome.failedCommand.empty()) return std::string();
  return EngineText(outcome.answered ? kGroupCommandRefused : kGroupCommandUnanswered,
                    outcome.failedCommand);
}

ProgramGroupOutcome CreateProgramGroup(TDdeClientConv& conversation, const ProgramGroupTexts& t,
                                       bool quiet, const GroupAnswers& answers) {
  const ProgramGroupOutcome outcome =
      SendToProgramManager(conversation, setupcore::GroupSteps(t), answers);
  if (!quiet && !outcome.Complete())
    Application->MessageBox(ProgramGroupProblem(outcome), Application->Title(), MB_OK);
  return outcome;
}
