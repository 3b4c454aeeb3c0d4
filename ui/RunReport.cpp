#include "ui/RunReport.h"

#include "ui/Application.h"
#include "ui/TextLog.h"

void TRunReport::Log(const std::string& text) const {
  // A log the disk takes no more keeps its first failure; the run goes on regardless.
  if (log_) log_->Line(text);
}

int TRunReport::Tell(const std::string& text, UINT flags, int quietAnswer) const {
  Log(text);
  if (quiet_) return quietAnswer;
  return Application->MessageBox(text, Application->Title(), flags);
}
