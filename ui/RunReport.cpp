#include "ui/RunReport.h"

#include "ui/Application.h"
#include "platform/Errors.h"
#include "platform/TextLog.h"

void TRunReport::Log(const std::string& text) const {
  // A log the disk takes no more keeps its first failure; the run goes on regardless.
  if (log_) log_->Line(text);
}

int TRunReport::Tell(const std::string& text, UINT flags, int quietAnswer) const {
  Log(text);
  if (quiet_) return quietAnswer;
  return Application->MessageBox(text, Application->Title(), flags);
}

std::unique_ptr<TTextLog> OpenRunLog(const std::string& path, bool quiet, bool& failed) {
  failed = false;
  if (path.empty()) return nullptr;
  try {
    return std::unique_ptr<TTextLog>(new TTextLog(path));
  } catch (const EFCreateError& e) {
    if (!quiet) Application->MessageBox(e.Message() + ".", Application->Title(), MB_OK | MB_ICONSTOP);
    failed = true;
    return nullptr;
  }
}

void TellRefusedCommandLine(const TRunReport& report, const std::string& error,
                            const std::string& usage) {
  report.Log(error);
  if (!report.Quiet())
    Application->MessageBox(error + "\n\n" + usage, Application->Title(), MB_OK | MB_ICONSTOP);
}
