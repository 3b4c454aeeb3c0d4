#pragma once
// Owners of DDE string and data handles (freeing a string handle needs the instance id; a field
// returns to 0 when freed), with live counts so that tests can see nothing leaks.
#include <windows.h>
#include <ddeml.h>

#include <string>

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
  void Drop() { h_ = nullptr; }
  static int LiveCount();

private:
  DWORD instance_ = 0;
  HSZ h_ = nullptr;
};

// Frees a data handle the program made or received and did not hand on.
class DdeData {
public:
  explicit DdeData(HDDEDATA h = nullptr) : h_(h) {}
  ~DdeData() { Free(); }
  DdeData(const DdeData&) = delete;
  DdeData& operator=(const DdeData&) = delete;
  HDDEDATA Get() const { return h_; }
  HDDEDATA Release() {
    HDDEDATA h = h_;
    h_ = nullptr;
    return h;
  }
  void Free();

private:
  HDDEDATA h_;
};

// The text of a string handle (at most 4095 characters).
std::string QueryString(DWORD instance, HSZ hsz);
// The zero-terminated text in a data handle, read only within the size the handle reports:
// data without a terminating zero ends at its last byte. False when the data cannot be reached.
bool DataText(HDDEDATA data, std::string& text);
// Counts data handles the program creates (DdeCreateDataHandle) less those freed or handed on.
int LiveDataHandles();
// A handle returned from the callback or given to a transaction belongs to DDEML from then on.
void DataHandedOn();
// Data of a text: its bytes and a terminating zero.
HDDEDATA CreateTextData(DWORD instance, const std::string& text, HSZ item, UINT format);
