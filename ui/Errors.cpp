#include "ui/Errors.h"

#include <windows.h>

#include "ui/Messages.h"

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
