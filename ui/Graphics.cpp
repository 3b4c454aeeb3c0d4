#include "ui/Graphics.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "platform/FileHandle.h"

#include "platform/Errors.h"
#include "platform/Messages.h"

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

namespace {
const WORD kBitmapSignature = 0x4D42;  // "BM"
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);
// The longest side a picture file may have. A picture is reduced while it is read, one row of
// the file at a time, so this bounds that row (64 KiB at 32 bits a pixel); the picture kept is
// no larger than the box it is drawn in.
const LONG kMaxBitmapSide = 16384;
const DWORD kReadChunk = 64 * 1024;

[[noreturn]] void InvalidBitmap() { throw EInvalidGraphic(LoadStr(SInvalidBitmap)); }

// Reads a picture file at any place, sequentially through a buffer of its own.
class BitmapFile {
public:
  explicit BitmapFile(const std::string& path)
      : file_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (!file_.Valid()) throw EFOpenError(FmtLoadStr(SFOpenError, path.c_str()));
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file_.Get(), &size)) InvalidBitmap();
    size_ = static_cast<unsigned long long>(size.QuadPart);
  }
  unsigned long long Size() const { return size_; }

  // Exactly `n` bytes from `offset`, or an invalid picture.
  void ReadAt(unsigned long long offset, void* out, DWORD n) {
    if (offset > size_ || n > size_ - offset) InvalidBitmap();
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    DWORD got = 0;
    if (!SetFilePointerEx(file_.Get(), at, nullptr, FILE_BEGIN) ||
        !ReadFile(file_.Get(), out, n, &got, nullptr) || got != n)
      InvalidBitmap();
  }

  // Sequential reading: Seek sets the place, NextByte gives the byte there and moves on, or -1
  // at the end of the file.
  void Seek(unsigned long long offset) {
    chunk_.clear();
    pos_ = 0;
    next_ = offset;
  }
  int NextByte() {
    if (pos_ == chunk_.size()) {
      if (next_ >= size_) return -1;
      DWORD n = static_cast<DWORD>(std::min<unsigned long long>(kReadChunk, size_ - next_));
      chunk_.resize(n);
      ReadAt(next_, chunk_.data(), n);
      next_ += n;
      pos_ = 0;
    }
    return chunk_[pos_++];
  }

private:
  FileHandle file_;
  unsigned long long size_ = 0;
  std::vector<BYTE> chunk_;
  size_t pos_ = 0;
  unsigned long long next_ = 0;
};

// A one-row device-independent bitmap description with room for a full colour table.
struct RowInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colors[256];
  BITMAPINFO* Get() { return reinterpret_cast<BITMAPINFO*>(this); }
};

// Draws the rows of a picture into a smaller one: each row of the target shows the source row
// nearest to its middle, stretched or shrunk sideways by the system.
class RowSink {
public:
  RowSink(HDC target, LONG sourceWidth, LONG sourceHeight, int width, int height)
      : target_(target), sourceWidth_(sourceWidth), sourceHeight_(sourceHeight), width_(width),
        height_(height) {}
  // The target row that shows source row `y` (counted from the top), or -1.
  int TargetOf(LONG y) const {
    int row = static_cast<int>((static_cast<long long>(y) * height_) / sourceHeight_);
    return SourceOf(row) == y ? row : -1;
  }
  LONG SourceOf(int row) const {
    return static_cast<LONG>((static_cast<long long>(2 * row + 1) * sourceHeight_) / (2 * height_));
  }
  void Draw(int row, const void* bits, BITMAPINFO* info) const {
    StretchDIBits(target_, 0, row, width_, 1, 0, 0, sourceWidth_, 1, bits, info, DIB_RGB_COLORS,
                  SRCCOPY);
  }

private:
  HDC target_;
  LONG sourceWidth_, sourceHeight_;
  int width_, height_;
};

// Run-length encoded pictures (8 or 4 bits a pixel, stored bottom row first) are decoded row by
// row; a row that the target does not show is decoded and dropped. Runs past the row's end are
// cut off, and a file that ends early leaves the rows it lacks empty, as the system draws them.
void DecodeRunLength(BitmapFile& file, unsigned long long offset, int bitCount, LONG width,
                     LONG height, RowInfo& info, const RowSink& sink) {
  info.header.biBitCount = 8;  // each decoded row holds one colour index a byte
  // A row handed to the system is read as whole 32-bit words, so it is padded to four bytes.
  std::vector<BYTE> row((static_cast<size_t>(width) + 3) & ~static_cast<size_t>(3), 0);
  LONG x = 0, y = 0;  // y counts from the bottom
  auto endRow = [&]() {
    int target = sink.TargetOf(height - 1 - y);
    if (target >= 0) sink.Draw(target, row.data(), info.Get());
    std::fill(row.begin(), row.end(), 0);
    x = 0;
    ++y;
  };
  auto put = [&](int index) {
    if (x < width) row[static_cast<size_t>(x)] = static_cast<BYTE>(index);
    ++x;
  };
  // One run or escape; false at the end of the picture or of the file.
  auto step = [&]() {
    int count = file.NextByte(), value = file.NextByte();
    if (count < 0 || value < 0) return false;
    if (count > 0) {
      for (int i = 0; i < count; ++i)
        put(bitCount == 8 ? value : (i % 2 ? value & 15 : value >> 4));
      return true;
    }
    switch (value) {
      case 0:
        endRow();
        return true;
      case 1:
        return false;
      case 2: {
        int dx = file.NextByte(), dy = file.NextByte();
        if (dx < 0 || dy < 0) return false;
        LONG keepX = x + dx;
        for (int i = 0; i < dy && y < height; ++i) endRow();
        x = keepX;
        return true;
      }
      default: {
        // `value` pixels stored as they are, padded to a whole 16-bit word.
        int bytes = bitCount == 8 ? value : (value + 1) / 2;
        for (int i = 0, b = 0; i < value; ++i) {
          if (bitCount == 8 || i % 2 == 0) {
            b = file.NextByte();
            if (b < 0) return false;
          }
          put(bitCount == 8 ? b : (i % 2 ? b & 15 : b >> 4));
        }
        if (bytes % 2) file.NextByte();
        return true;
      }
    }
  };
  file.Seek(offset);
  while (y < height && step()) {
  }
  while (y < height) endRow();
}
}  // namespace

void TBitmap::LoadFromFile(const std::string& path, int maxWidth, int maxHeight) {
  BitmapFile file(path);
  BITMAPFILEHEADER fh;
  DWORD headerSize = 0;
  file.ReadAt(0, &fh, sizeof fh);
  file.ReadAt(sizeof fh, &headerSize, sizeof headerSize);
  if (fh.bfType != kBitmapSignature || headerSize < sizeof(BITMAPINFOHEADER)) InvalidBitmap();
  BITMAPV4HEADER v4 = {};  // the masks of a newer header lie where this one has them
  file.ReadAt(sizeof fh, &v4, std::min<DWORD>(headerSize, sizeof v4));
  const LONG width = v4.bV4Width, signedHeight = v4.bV4Height;
  const WORD bitCount = v4.bV4BitCount;
  const DWORD compression = v4.bV4V4Compression;
  if (width <= 0 || signedHeight == 0 || signedHeight == LONG_MIN || v4.bV4Planes != 1)
    InvalidBitmap();
  const bool topDown = signedHeight < 0;
  const LONG height = topDown ? -signedHeight : signedHeight;
  const bool indexed = bitCount == 1 || bitCount == 4 || bitCount == 8;
  const bool runLength = (compression == BI_RLE8 && bitCount == 8) ||
                         (compression == BI_RLE4 && bitCount == 4);
  const bool plain = (compression == BI_RGB && (indexed || bitCount == 16 || bitCount == 24 ||
                                               bitCount == 32)) ||
                     (compression == BI_BITFIELDS && (bitCount == 16 || bitCount == 32));
  if (!(plain || (runLength && !topDown)) || fh.bfOffBits >= file.Size()) InvalidBitmap();
  if (width > kMaxBitmapSide || height > kMaxBitmapSide)
    throw EInvalidGraphic(LoadStr(SBitmapTooLarge));

  RowInfo info = {};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = 1;
  info.header.biPlanes = 1;
  info.header.biBitCount = bitCount;
  info.header.biCompression = compression == BI_BITFIELDS ? BI_BITFIELDS : BI_RGB;
  if (indexed) {
    DWORD colors = v4.bV4ClrUsed ? v4.bV4ClrUsed : (1u << bitCount);
    if (colors > (1u << bitCount)) InvalidBitmap();
    file.ReadAt(sizeof fh + headerSize, info.colors, colors * sizeof(RGBQUAD));
    info.header.biClrUsed = colors;
  } else if (compression == BI_BITFIELDS) {
    DWORD masks[3] = {v4.bV4RedMask, v4.bV4GreenMask, v4.bV4BlueMask};
    if (headerSize == sizeof(BITMAPINFOHEADER))
      file.ReadAt(sizeof fh + headerSize, masks, sizeof masks);
    memcpy(info.colors, masks, sizeof masks);
  }

  const int targetWidth = static_cast<int>(std::min<LONG>(width, maxWidth > 0 ? maxWidth : 1));
  const int targetHeight = static_cast<int>(std::min<LONG>(height, maxHeight > 0 ? maxHeight : 1));
  ScreenDC screen;
  GdiObject<HBITMAP> picture(CreateCompatibleBitmap(screen.Get(), targetWidth, targetHeight));
  if (!picture) throw EInvalidGraphic(LoadStr(SBitmapTooLarge));
  {
    MemoryDC target(screen.Get());
    SelectedObject selected(target.Get(), picture.Get());
    SetStretchBltMode(target.Get(), COLORONCOLOR);
    RowSink sink(target.Get(), width, height, targetWidth, targetHeight);
    if (runLength) {
      DecodeRunLength(file, fh.bfOffBits, bitCount, width, height, info, sink);
    } else {
      const unsigned long long stride =
          ((static_cast<unsigned long long>(width) * bitCount + 31) / 32) * 4;
      if (stride * static_cast<unsigned long long>(height) > file.Size() - fh.bfOffBits)
        InvalidBitmap();
      std::vector<BYTE> row(static_cast<size_t>(stride));
      for (int r = 0; r < targetHeight; ++r) {
        LONG y = sink.SourceOf(r);
        LONG stored = topDown ? y : height - 1 - y;
        file.ReadAt(fh.bfOffBits + stride * static_cast<unsigned long long>(stored), row.data(),
                    static_cast<DWORD>(stride));
        sink.Draw(r, row.data(), info.Get());
      }
    }
  }
  handle_ = std::move(picture);
  width_ = targetWidth;
  height_ = targetHeight;
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
  // With a monochrome source, black text and a white background keep the mask as it is.
  COLORREF oldText = SetTextColor(dc, kBlack);
  COLORREF oldDcBk = SetBkColor(dc, kWhite);
  BitBlt(dc, x, y, w, h, image.Get(), srcX, srcY, SRCINVERT);
  BitBlt(dc, x, y, w, h, mask.Get(), 0, 0, SRCAND);
  BitBlt(dc, x, y, w, h, image.Get(), srcX, srcY, SRCINVERT);
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldDcBk);
}
