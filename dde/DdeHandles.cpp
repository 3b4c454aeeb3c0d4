#include "dde/DdeHandles.h"

#include <atomic>

namespace {
std::atomic<int> gLiveStrings{0};
std::atomic<int> gLiveData{0};
}  // namespace

DdeString::DdeString(DWORD instance, const std::string& text)
    : instance_(instance),
      h_(DdeCreateStringHandleA(instance, text.c_str(), CP_WINANSI)) {
  if (h_) ++gLiveStrings;
}

DdeString& DdeString::operator=(DdeString&& o) noexcept {
  if (this != &o) {
    Free();
    instance_ = o.instance_;
    h_ = o.h_;
    o.h_ = nullptr;
  }
  return *this;
}

void DdeString::Free() {
  if (h_) {
    DdeFreeStringHandle(instance_, h_);
    --gLiveStrings;
    h_ = nullptr;
  }
}

int DdeString::LiveCount() { return gLiveStrings; }

void DdeData::Free() {
  if (h_) {
    DdeFreeDataHandle(h_);
    --gLiveData;
    h_ = nullptr;
  }
}

std::string QueryString(DWORD instance, HSZ hsz) {
  if (!hsz) return std::string();
  char buf[4096] = {};
  DWORD n = DdeQueryStringA(instance, hsz, buf, sizeof buf, CP_WINANSI);
  return std::string(buf, n < sizeof buf ? n : sizeof buf - 1);
}

bool DataText(HDDEDATA data, std::string& text) {
  if (!data) return false;
  DWORD size = 0;
  const BYTE* p = DdeAccessData(data, &size);
  if (!p) return false;
  DWORD n = 0;
  while (n < size && p[n] != 0) ++n;
  text.assign(reinterpret_cast<const char*>(p), n);
  DdeUnaccessData(data);
  return true;
}

int LiveDataHandles() { return gLiveData; }

HDDEDATA CreateTextData(DWORD instance, const std::string& text, HSZ item, UINT format) {
  HDDEDATA h = DdeCreateDataHandle(instance,
                                   reinterpret_cast<LPBYTE>(const_cast<char*>(text.c_str())),
                                   static_cast<DWORD>(text.size() + 1), 0, item, format, 0);
  if (h) ++gLiveData;
  return h;
}

// A handle returned from the callback or passed to a transaction belongs to DDEML from then on.
void DataHandedOn() { --gLiveData; }
