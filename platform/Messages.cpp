#include "platform/Messages.h"

#include <cstdarg>
#include <cstdio>

#include "setupcore/Errors.h"

namespace {
struct Entry {
  MsgId id;
  const char* text;
};

const Entry kTable[] = {
    {SListIndexError, setupcore::kListIndexError},
    {SInsertLineError, setupcore::kInsertLineError},
    {SFOpenError, "Cannot open file %s"},
    {SFCreateError, "Cannot create file %s"},
    {SWriteError, "Stream write error"},
    {SReadError, "Stream read error"},
    {SInvalidBitmap, "Bitmap image is not valid"},
    {SVisibleChanged, "Cannot change Visible in OnShow or OnHide"},
    {SCannotShowModal, "Cannot make a visible window modal"},
    {SInvalidFileName, "Invalid file name - %s"},
    {SFileNotFound, "File not found"},
    {SInvalidFilename, "Invalid filename"},
    {STooManyOpenFiles, "Too many open files"},
    {SAccessDenied, "File access denied"},
    {SEndOfFile, "Read beyond end of file"},
    {SDiskFull, "Disk full"},
    {SInvalidInput, "Invalid numeric input"},
    {SInOutError, "I/O error %d"},
    {SUnknownError, "Unknown error"},
    {SBitmapTooLarge, "Bitmap image is too large"},
    {SCreateWindowError, "Error creating window"},
    {SDdeErr, "An error returned from DDE  ($0%x)"},
    {SDdeConvErr, "DDE Error - conversation not established ($0%x)"},
    {SDdeMemErr, "Error occurred when DDE ran out of memory ($0%x)"},
    {SDdeNoConnect, "Unable to connect DDE conversation"},
};

// The system's C library formats: the texts hold only %s, %d, %u and %x, which it has always
// known, and the compiler's own formatter would weigh more than the window code of a program.
std::string VFormat(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  int n = _vscprintf(format, copy);
  va_end(copy);
  if (n <= 0) return std::string();
  std::string out(static_cast<size_t>(n) + 1, '\0');
  _vsnprintf(&out[0], out.size(), format, args);
  out.resize(static_cast<size_t>(n));
  return out;
}
}  // namespace

const char* LoadStr(MsgId id) {
  for (const Entry& e : kTable)
    if (e.id == id) return e.text;
  return "";
}

std::string FmtLoadStr(MsgId id, ...) {
  va_list args;
  va_start(args, id);
  std::string s = VFormat(LoadStr(id), args);
  va_end(args);
  return s;
}

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string s = VFormat(format, args);
  va_end(args);
  return s;
}

std::string FillIn(const char* text, const std::string& a1, const std::string& a2,
                   const std::string& a3) {
  std::string out;
  for (const char* p = text; *p; ++p) {
    if (p[0] == '%' && p[1] >= '1' && p[1] <= '3') {
      out += p[1] == '1' ? a1 : p[1] == '2' ? a2 : a3;
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}
