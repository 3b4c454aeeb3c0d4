#pragma once
// The framework's and runtime's message texts, one numbered table; each text is written once.
#include <cstddef>
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
// One text of a program's own numbered table of texts; "" for an id the table does not hold.
template <class Id>
struct TextEntry {
  Id id;
  const char* text;
};
template <class Id, size_t N>
const char* TableText(const TextEntry<Id> (&table)[N], Id id) {
  for (const TextEntry<Id>& e : table)
    if (e.id == id) return e.text;
  return "";
}
// A text with %1, %2 and %3 replaced by the arguments. The arguments go in as they are: a '%'
// inside a path or an entry is not read as a placeholder.
std::string FillIn(const char* text, const std::string& a1 = std::string(),
                   const std::string& a2 = std::string(), const std::string& a3 = std::string());
