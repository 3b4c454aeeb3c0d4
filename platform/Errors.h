#pragma once
// The program's own error classes. Each carries the exact message the error box shows
// (the box adds the final full stop). The message dispatch is the one place that catches them.
#include <string>

#include "setupcore/Errors.h"

// The base and the list errors are the core's, which needs no window.
using setupcore::Exception;
using setupcore::EListError;

// A silent abort: ends the handler like any error but shows nothing.
class EAbort : public Exception {
public:
  EAbort() : Exception("Operation aborted") {}
};

class EInvalidOperation : public Exception { using Exception::Exception; };
// A file or stream failure. The system's error code, when the system gave one, travels with the
// message, so that a caller can tell the user the cause in the system's own words.
class EStreamError : public Exception {
public:
  explicit EStreamError(std::string message, unsigned long systemCode = 0)
      : Exception(std::move(message)), systemCode_(systemCode) {}
  unsigned long SystemCode() const { return systemCode_; }

private:
  unsigned long systemCode_;
};
class EFCreateError : public EStreamError { using EStreamError::EStreamError; };
class EFOpenError : public EStreamError { using EStreamError::EStreamError; };
class EWriteError : public EStreamError { using EStreamError::EStreamError; };
class EInvalidGraphic : public Exception { using Exception::Exception; };

// An input/output failure of the runtime, carrying the operating system's error code.
class EInOutError : public Exception {
public:
  explicit EInOutError(int code);
  int ErrorCode() const { return code_; }

private:
  int code_;
};

// Raises EInOutError with GetLastError().
[[noreturn]] void RaiseLastInOutError();

// The system's own words for an error code as a message quotes them: without the line end and
// the final full stop; "error N" when the system has no text for the code.
std::string SystemErrorText(unsigned long code);
