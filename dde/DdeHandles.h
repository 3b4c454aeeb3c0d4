#pragma once
// Owners of DDE string and data handles (freeing a string handle needs the instance id; a field
// returns to 0 when freed), with live counts so that tests can see nothing leaks.
#include <windows.h>
#include <ddeml.h>

#include <string>

// DDE names (services, topics, items) and the command that starts a server pass through buffers
// of 256 characters: longer ones are cut to this.
const size_t kMaxDdeNameLength = 255;

class DdeString {
public:
  DdeString() = default;
  DdeString(DWORD instance, const std::string& text);
  ~DdeString() { Free(); }
  DdeString(DdeString&& o) noexcept : instance_(o.instance_), h_(o.h_) { o.h_ = nullptr; }
  DdeString& operator=(DdeString&& o) noexcept;
  DdeString(const DdeString&) = delete;
  DdeString& operator=(const DdeString&) = delete;

  HSZ Get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void Free();
  // Forgets the handle without freeing it (the instance that made it is gone).
  void Drop();
  // String handles the program holds now.
  static int LiveCount();

private:
  DWORD instance_ = 0;
  HSZ h_ = nullptr;
};

// A data handle the program made or received. It is freed unless handed on to DDEML, which
// then owns it (returned from the callback or given to a transaction).
class DdeData {
public:
  DdeData() = default;
  // Takes a handle the program received and must free (the answer of a request).
  explicit DdeData(HDDEDATA received);
  ~DdeData() { Free(); }
  DdeData(DdeData&& o) noexcept : h_(o.h_) { o.h_ = nullptr; }
  DdeData& operator=(DdeData&& o) noexcept;
  DdeData(const DdeData&) = delete;
  DdeData& operator=(const DdeData&) = delete;

  // Data of `size` bytes copied from `bytes`.
  static DdeData Bytes(DWORD instance, const void* bytes, DWORD size, HSZ item, UINT format);
  // Data of a text: its bytes and a terminating zero.
  static DdeData Text(DWORD instance, const std::string& text, HSZ item, UINT format);

  HDDEDATA Get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  // Gives the handle to DDEML: to a transaction (with kDataHandleLength as its length) or as the
  // callback's answer. DDEML frees it from then on, whether the transaction succeeds or not.
  HDDEDATA HandOn();
  void Free();
  // Data handles the program holds now.
  static int LiveCount();

private:
  HDDEDATA h_ = nullptr;
};

// The length DdeClientTransaction takes to mean that its data argument is a data handle.
const DWORD kDataHandleLength = 0xFFFFFFFF;

// Every DDE handle the program holds now: what a test compares before and after.
inline int LiveDdeHandles() { return DdeString::LiveCount() + DdeData::LiveCount(); }

// The text of a string handle (at most kMaxQueriedText - 1 characters).
const DWORD kMaxQueriedText = 4096;
std::string QueryString(DWORD instance, HSZ hsz);
// The zero-terminated text in a data handle, read only within the size DDEML reports for it:
// data without a terminating zero ends at its last byte. False when there is nothing to read.
bool DataText(HDDEDATA data, std::string& text);
