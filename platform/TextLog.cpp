#include "platform/TextLog.h"

#include <windows.h>

#include <cstdio>

#include "platform/Errors.h"
#include "platform/Messages.h"
#include "platform/SystemCodePage.h"
#include "setupcore/InstallRules.h"

const char kLogNotWritable[] = "The log file %1 cannot be written: %2";

namespace {
// Why a log is refused before or after it is opened: the second part of kLogNotWritable.
enum LogRefusal { kNotFullPath, kDevicePath, kLink, kManyNames, kNotDiskFile };
const char* const kLogRefusalText[] = {
    "Only a full path is taken (a drive or a share, and a folder)",
    "The path names a device, or is of the \\\\.\\ or \\\\?\\ form",
    "The file is a link to somewhere else",
    "The file has more than one name",
    "It is not a file on a disk",
};

[[noreturn]] void Refuse(const std::string& path, LogRefusal why, DWORD code) {
  throw EFCreateError(FillIn(kLogNotWritable, path, kLogRefusalText[why]), code);
}

// The programs run as an administrator: a relative name would follow whatever directory the
// program was started in, and a device or the "\\.\" and "\\?\" forms reach past the files.
void CheckLogName(const std::string& path, std::string& name) {
  const TCodePage cp = SystemCodePage();
  name = path;
  for (char& c : name)
    if (c == '/') c = '\\';  // the system reads '/' as a backslash
  if (name.compare(0, 4, "\\\\.\\") == 0 || name.compare(0, 4, "\\\\?\\") == 0 ||
      setupcore::NamesDevice(name, cp))
    Refuse(path, kDevicePath, ERROR_INVALID_NAME);
  if (!setupcore::IsFullPath(name, cp)) Refuse(path, kNotFullPath, ERROR_INVALID_NAME);
}

// What the handle reached is checked on the handle itself, so that nothing can be swapped in
// between: a link planted where the log goes (a folder others can write, as C:\Temp) is not
// followed, and a second name of a file would let the log grow into that file.
void CheckLogFile(const std::string& path, HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info = {};
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info))
    Refuse(path, kNotDiskFile, ERROR_ACCESS_DENIED);
  if (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY))
    Refuse(path, kLink, ERROR_ACCESS_DENIED);
  if (info.nNumberOfLinks > 1) Refuse(path, kManyNames, ERROR_ACCESS_DENIED);
}
}  // namespace

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
  std::string name;
  CheckLogName(path, name);
  // Others may read the log while it grows: a person watching, or a script waiting for a line.
  // An existing file is kept and written after its end, never cut: a file named by mistake
  // loses nothing of what it held.
  file_.Reset(CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file_) {
    const DWORD code = GetLastError();
    throw EFCreateError(FillIn(kLogNotWritable, path, SystemErrorText(code)), code);
  }
  // A refused file is closed as it was found: nothing was written to it.
  CheckLogFile(path, file_.Get());
  LARGE_INTEGER none = {};
  if (!SetFilePointerEx(file_.Get(), none, nullptr, FILE_END)) {
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
