#include "dde/DdeHandles.h"

#include <vector>

#include "setupcore/PeerData.h"

DdeString::DdeString(DWORD instance, const std::string& text)
    : DdeHandle(instance, DdeCreateStringHandleA(instance, text.c_str(), CP_WINANSI)) {}

DdeData DdeData::Bytes(DWORD instance, const void* bytes, DWORD size, HSZ item, UINT format) {
  // DDEML copies the bytes; it only reads them, whatever its prototype says.
  return DdeData(DdeCreateDataHandle(instance, static_cast<LPBYTE>(const_cast<void*>(bytes)), size,
                                     0, item, format, 0));
}

DdeData DdeData::Text(DWORD instance, const std::string& text, HSZ item, UINT format) {
  return Bytes(instance, text.c_str(), static_cast<DWORD>(text.size() + 1), item, format);
}

std::string QueryString(DWORD instance, HSZ hsz) {
  if (!hsz) return std::string();
  char buf[kMaxQueriedText] = {};
  DWORD n = DdeQueryStringA(instance, hsz, buf, kMaxQueriedText, CP_WINANSI);
  return std::string(buf, n < kMaxQueriedText ? n : kMaxQueriedText - 1);
}

bool DataText(HDDEDATA data, std::string& text) {
  if (!data) return false;
  // The peer decides what is in its data; only the size DDEML holds for the handle is trusted.
  DWORD size = DdeGetData(data, nullptr, 0, 0);
  if (size == 0) return false;
  std::vector<char> bytes(size);
  DWORD got = DdeGetData(data, reinterpret_cast<LPBYTE>(bytes.data()), size, 0);
  if (got > size) got = size;
  text = setupcore::PeerDataText(bytes.data(), got).value_or(std::string());
  return true;
}
