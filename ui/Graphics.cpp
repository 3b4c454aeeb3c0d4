#include "ui/Graphics.h"

#include <vector>

#include "ui/Errors.h"
#include "ui/Messages.h"

HDC MeasureDC() {
  static const HDC dc = CreateCompatibleDC(nullptr);
  return dc;
}

TFont& TFont::operator=(const TFont& o) {
  if (this != &o) {
    name_ = o.name_;
    height_ = o.height_;
    style_ = o.style_;
    color_ = o.color_;
    handle_.Reset();
  }
  return *this;
}

void TFont::SetHeight(int h) {
  height_ = h;
  handle_.Reset();
}

HFONT TFont::Handle() const {
  if (!handle_) {
    LOGFONTA lf = {};
    lf.lfHeight = -height_;
    lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & fsItalic) ? TRUE : FALSE;
    lf.lfUnderline = (style_ & fsUnderline) ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynA(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
    handle_.Reset(CreateFontIndirectA(&lf));
  }
  return handle_.Get();
}

void TBitmap::Adopt(HBITMAP h) {
  handle_.Reset(h);
  width_ = height_ = 0;
  BITMAP bm = {};
  if (h && GetObjectA(h, sizeof bm, &bm)) {
    width_ = bm.bmWidth;
    height_ = bm.bmHeight;
  }
}

TBitmap TBitmap::FromResource(const char* name) {
  TBitmap b;
  b.Adopt(static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
  return b;
}

void TBitmap::LoadFromFile(const std::string& path) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) throw EFOpenError(FmtLoadStr(SFOpenError, path.c_str()));
  DWORD size = GetFileSize(f, nullptr);
  std::vector<char> data(size == INVALID_FILE_SIZE ? 0 : size);
  DWORD got = 0;
  bool ok = data.empty() || ReadFile(f, data.data(), size, &got, nullptr);
  CloseHandle(f);
  // Check the headers ourselves, so that no malformed file reaches the loader.
  const BITMAPFILEHEADER* fh = reinterpret_cast<const BITMAPFILEHEADER*>(data.data());
  if (!ok || got < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) || fh->bfType != 0x4D42 ||
      fh->bfOffBits >= got)
    throw EInvalidGraphic(LoadStr(SInvalidBitmap));
  const BITMAPINFOHEADER* ih =
      reinterpret_cast<const BITMAPINFOHEADER*>(data.data() + sizeof(BITMAPFILEHEADER));
  if (ih->biSize < sizeof(BITMAPINFOHEADER) || ih->biWidth <= 0 || ih->biHeight == 0 ||
      ih->biPlanes != 1)
    throw EInvalidGraphic(LoadStr(SInvalidBitmap));
  HBITMAP h = static_cast<HBITMAP>(
      LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  if (!h) throw EInvalidGraphic(LoadStr(SInvalidBitmap));
  Adopt(h);
}

COLORREF TBitmap::BottomLeftColor() const {
  if (Empty()) return CLR_INVALID;
  ScreenDC screen;
  MemoryDC mem(screen.Get());
  SelectedObject sel(mem.Get(), handle_.Get());
  return GetPixel(mem.Get(), 0, height_ - 1);
}

void TBitmap::Draw(HDC dc, int x, int y) const {
  if (Empty()) return;
  MemoryDC mem(dc);
  SelectedObject sel(mem.Get(), handle_.Get());
  BitBlt(dc, x, y, width_, height_, mem.Get(), 0, 0, SRCCOPY);
}

void TBitmap::StretchDraw(HDC dc, const RECT& r) const {
  if (Empty()) return;
  MemoryDC mem(dc);
  SelectedObject sel(mem.Get(), handle_.Get());
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, mem.Get(), 0, 0, width_,
             height_, SRCCOPY);
}

void TBitmap::DrawTransparent(HDC dc, int x, int y, int srcX, int srcY, int w, int h) const {
  if (Empty()) return;
  if (w < 0) w = width_ - srcX;
  if (h < 0) h = height_ - srcY;
  COLORREF key = BottomLeftColor();
  MemoryDC image(dc);
  SelectedObject selImage(image.Get(), handle_.Get());
  // A monochrome mask: white where the key colour is, black elsewhere.
  GdiObject<HBITMAP> maskBits(CreateBitmap(w, h, 1, 1, nullptr));
  MemoryDC mask(dc);
  SelectedObject selMask(mask.Get(), maskBits.Get());
  COLORREF oldBk = SetBkColor(image.Get(), key);
  BitBlt(mask.Get(), 0, 0, w, h, image.Get(), srcX, srcY, SRCCOPY);
  SetBkColor(image.Get(), oldBk);
  COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
  COLORREF oldDcBk = SetBkColor(dc, RGB(255, 255, 255));
  BitBlt(dc, x, y, w, h, image.Get(), srcX, srcY, SRCINVERT);
  BitBlt(dc, x, y, w, h, mask.Get(), 0, 0, SRCAND);
  BitBlt(dc, x, y, w, h, image.Get(), srcX, srcY, SRCINVERT);
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldDcBk);
}
