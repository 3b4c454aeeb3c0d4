#pragma once
// Owners of DDE string and data handles (freeing a string handle needs the instance id; a field
// returns to 0 when freed), with live counts so that tests can see nothing leaks.
#include <windows.h>
#include <ddeml.h>

#include <string>

// DDE names (services, topics, items) and the command that starts a server pass through buffers
// of 256 characters: longer ones are cut to this.
const size_t kMaxDdeNameLength = 255;

// What the string and data owners share: one handle, moved and never copied, freed once, and
// counted while the program holds it. Kind gives the handle's type and how it is freed. (The
// framework's Owned does not serve: freeing a string needs the instance that made it, and the
// counts are what the leak tests read.)
template <class Kind>
class DdeHandle {
public:
  using Handle = typename Kind::Handle;
  DdeHandle() = default;
  ~DdeHandle() { Free(); }
  DdeHandle(DdeHandle&& o) noexcept : instance_(o.instance_), h_(o.h_) { o.h_ = nullptr; }
  DdeHandle& operator=(DdeHandle&& o) noexcept {
    if (this != &o) {
      Free();
      instance_ = o.instance_;
      h_ = o.h_;
      o.h_ = nullptr;
    }
    return *this;
  }
  DdeHandle(const DdeHandle&) = delete;
  DdeHandle& operator=(const DdeHandle&) = delete;

  Handle Get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void Free() {
    if (h_) Kind::Free(instance_, h_);
    Release();
  }
  // Handles of this kind the program holds now.
  static int LiveCount() { return live_; }

protected:
  DdeHandle(DWORD instance, Handle h) : instance_(instance), h_(h) {
    if (h_) ++live_;
  }
  // Lets go of the handle without freeing it; whoever takes it frees it.
  Handle Release() {
    Handle h = h_;
    if (h_) --live_;
    h_ = nullptr;
    return h;
  }

private:
  // The program is single-threaded; the count is plain.
  static inline int live_ = 0;
  DWORD instance_ = 0;
  Handle h_ = nullptr;
};

struct DdeStringKind {
  using Handle = HSZ;
  static void Free(DWORD instance, HSZ h) { DdeFreeStringHandle(instance, h); }
};
struct DdeDataKind {
  using Handle = HDDEDATA;
  static void Free(DWORD, HDDEDATA h) { DdeFreeDataHandle(h); }
};

// A string handle; freeing it needs the instance that made it.
class DdeString : public DdeHandle<DdeStringKind> {
public:
  DdeString() = default;
  DdeString(DWORD instance, const std::string& text);
  // Forgets the handle without freeing it (the instance that made it is gone).
  void Drop() { Release(); }
};

// A data handle the program made or received. It is freed unless handed on to DDEML, which
// then owns it (returned from the callback or given to a transaction).
class DdeData : public DdeHandle<DdeDataKind> {
public:
  DdeData() = default;
  // Takes a handle the program received and must free (the answer of a request).
  explicit DdeData(HDDEDATA received) : DdeHandle(0, received) {}

  // Data of `size` bytes copied from `bytes`.
  static DdeData Bytes(DWORD instance, const void* bytes, DWORD size, HSZ item, UINT format);
  // Data of a text: its bytes and a terminating zero.
  static DdeData Text(DWORD instance, const std::string& text, HSZ item, UINT format);

  // Gives the handle to DDEML: to a transaction (with kDataHandleLength as its length) or as the
  // callback's answer. DDEML frees it from then on, whether the transaction succeeds or not.
  HDDEDATA HandOn() { return Release(); }
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
