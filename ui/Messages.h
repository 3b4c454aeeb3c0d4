#pragma once
// The framework's and runtime's message texts, one numbered table; each text is written once.
#include <string>

enum MsgId : int {
  SListIndexError = 61440,
  SInsertLineError,
  SFOpenError,          // "Cannot open file %s"
  SFCreateError,        // "Cannot create file %s"
  SWriteError,
  SReadError,
  SInvalidBitmap,
  SVisibleChanged,
  SCannotShowModal,
  SInvalidFileName,     // "Invalid file name - %s"
  SFileNotFound,
  SInvalidFilename,
  STooManyOpenFiles,
  SAccessDenied,
  SEndOfFile,
  SDiskFull,
  SInvalidInput,
  SInOutError,          // "I/O error %d"
  SUnknownError,
  SBitmapTooLarge,
  SCreateWindowError,
  SDdeErr = 61522,
  SDdeConvErr = 61523,
  SDdeMemErr = 61524,
  SDdeNoConnect = 61525,
};

const char* LoadStr(MsgId id);
// printf-style formatting of a table text (a %s, %d or %x of its own).
std::string FmtLoadStr(MsgId id, ...);
std::string Format(const char* format, ...);
