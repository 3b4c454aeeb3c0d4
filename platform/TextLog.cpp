#include "platform/TextLog.h"

#include <windows.h>

#include <cstdio>

#include "platform/Errors.h"
#include "platform/Messages.h"

const char kLogNotWritable[] = "The log file %1 cannot be written: %2";

std::string LogTimeStamp() {
  SYSTEMTIME t = {};
  GetLocalTime(&t);
  // The system's C library formats, as for the message texts: the compiler's own formatter would
  // weigh more than the uninstaller's windows.
  char text[32];
  _snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay,
            t.wHour, t.wMinute, t.wSecond);
  return text;
}

TTextLog::TTextLog(const std::string& path) : path_(path) {
  // Others may read the log while it grows: a person watching, or a script waiting for a line.
  file_.Reset(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file_) {
    const DWORD code = GetLastError();
    throw EFCreateError(FillIn(kLogNotWritable, path, SystemErrorText(code)), code);
  }
}

bool TTextLog::Line(const std::string& text) {
  std::string line = LogTimeStamp() + " " + text;
  for (char& c : line)
    if (c == '\r' || c == '\n') c = ' ';
  line += "\r\n";
  // Unbuffered on our side: one write a line, which the system keeps even if this process is
  // ended a moment later.
  DWORD written = 0;
  if (WriteFile(file_.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
      written == line.size())
    return true;
  if (!lastError_) lastError_ = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
  return false;
}
