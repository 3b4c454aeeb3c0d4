#include "support/Listing.h"

#include <vector>

std::string Cwd() {
  char buf[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, buf);
  return buf;
}

std::string Canonical(const std::string& dir) {
  std::string saved = Cwd();
  SetCurrentDirectoryA(dir.c_str());
  std::string out = Cwd();
  SetCurrentDirectoryA(saved.c_str());
  return out;
}

bool SamePath(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
         CSTR_EQUAL;
}

bool SamePicture(HBITMAP a, HBITMAP b) {
  auto bits = [](HBITMAP h) {
    BITMAP bm = {};
    GetObjectA(h, sizeof bm, &bm);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = bm.bmWidth;
    info.bmiHeader.biHeight = bm.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<unsigned> out(static_cast<size_t>(bm.bmWidth) * static_cast<size_t>(bm.bmHeight));
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, h, 0, static_cast<UINT>(bm.bmHeight), out.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    return out;
  };
  return a && b && bits(a) == bits(b);
}

bool DrivesPrepared() {
  char buf[8] = {};
  return GetEnvironmentVariableA("VELMORA_DRIVES", buf, sizeof buf) > 0 && buf[0] == '1';
}

char MissingDrive() {
  for (char c = 'Y'; c > 'J'; --c)
    if (!((GetLogicalDrives() >> (c - 'A')) & 1u)) return c;
  return 0;
}
