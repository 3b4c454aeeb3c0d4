#include "platform/Errors.h"

#include <windows.h>

#include "platform/Messages.h"

namespace {
std::string InOutMessage(int code) {
  switch (code) {
    case 2: return LoadStr(SFileNotFound);
    case 3: return LoadStr(SInvalidFilename);
    case 4: return LoadStr(STooManyOpenFiles);
    case 5: return LoadStr(SAccessDenied);
    case 100: return LoadStr(SEndOfFile);
    case 101: return LoadStr(SDiskFull);
    case 106: return LoadStr(SInvalidInput);
    default: return FmtLoadStr(SInOutError, code);
  }
}
}  // namespace

EInOutError::EInOutError(int code) : Exception(InOutMessage(code)), code_(code) {}

void RaiseLastInOutError() { throw EInOutError(static_cast<int>(GetLastError())); }

std::string SystemErrorText(unsigned long code) {
  char* buffer = nullptr;
  DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                               FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, 0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
  std::string text = n && buffer ? std::string(buffer, n) : std::string();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ' ||
                           text.back() == '.'))
    text.pop_back();
  return text.empty() ? "error " + std::to_string(code) : text;
}
