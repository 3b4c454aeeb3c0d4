#pragma once
// Owners of GDI objects, fonts and bitmaps, and the transparent glyph drawing the lists use.
#include <windows.h>

#include <string>

#include "platform/Owned.h"

// A move-only owner of one GDI object.
template <class H>
struct GdiTraits : NullIsEmpty<H> {
  static void Free(H h) { DeleteObject(h); }
};
template <class H>
using GdiObject = Owned<GdiTraits<H>>;

// Selects an object into a DC and puts the old one back on scope exit.
class SelectedObject {
public:
  SelectedObject(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  ~SelectedObject() { SelectObject(dc_, old_); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

private:
  HDC dc_;
  HGDIOBJ old_;
};

// A screen DC (GetDC(nullptr)), released on scope exit.
class ScreenDC {
public:
  ScreenDC() : dc_(GetDC(nullptr)) {}
  ~ScreenDC() { ReleaseDC(nullptr, dc_); }
  ScreenDC(const ScreenDC&) = delete;
  ScreenDC& operator=(const ScreenDC&) = delete;
  HDC Get() const { return dc_; }

private:
  HDC dc_;
};

struct MemoryDCTraits : NullIsEmpty<HDC> {
  static void Free(HDC h) { DeleteDC(h); }
};
// A memory DC compatible with another, deleted on scope exit.
class MemoryDC : public Owned<MemoryDCTraits> {
public:
  explicit MemoryDC(HDC like) : Owned(CreateCompatibleDC(like)) {}
};

// One memory DC like the screen, kept for the program's life, for measuring text: a label
// that is sized to its text measures on every change, and asking for a screen DC each time
// costs more than the measuring itself.
HDC MeasureDC();

enum TFontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4 };

// A font description; the handle is made when first asked for and remade after a change.
class TFont {
public:
  TFont() = default;
  TFont(std::string name, int height, int style = 0, COLORREF color = GetSysColor(COLOR_WINDOWTEXT))
      : name_(std::move(name)), height_(height), style_(style), color_(color) {}
  TFont(const TFont& o) : name_(o.name_), height_(o.height_), style_(o.style_), color_(o.color_) {}
  TFont& operator=(const TFont& o);

  const std::string& Name() const { return name_; }
  int Height() const { return height_; }  // character height in pixels
  int Style() const { return style_; }
  COLORREF Color() const { return color_; }
  void SetColor(COLORREF c) { color_ = c; }
  void SetHeight(int h);
  HFONT Handle() const;

private:
  std::string name_ = "MS Sans Serif";
  int height_ = 11;
  int style_ = 0;
  COLORREF color_ = GetSysColor(COLOR_WINDOWTEXT);
  mutable GdiObject<HFONT> handle_;
};

// A device-dependent bitmap owned by its holder.
class TBitmap {
public:
  TBitmap() = default;
  TBitmap(TBitmap&&) = default;
  TBitmap& operator=(TBitmap&&) = default;

  // Loads a bitmap resource of this program by name; an empty bitmap if there is none.
  static TBitmap FromResource(const char* name);
  // Loads a .bmp file reduced, while it is read, to at most maxWidth x maxHeight pixels: a picture
  // drawn stretched into a box never needs more than the box has. Throws EFOpenError when the
  // file cannot be opened and EInvalidGraphic when it is no bitmap ("Bitmap image is not valid")
  // or one with a side longer than 16384 pixels ("Bitmap image is too large").
  void LoadFromFile(const std::string& path, int maxWidth, int maxHeight);

  bool Empty() const { return !handle_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  HBITMAP Handle() const { return handle_.Get(); }
  // Colour of the bottom-left pixel, the transparent colour of glyphs.
  COLORREF BottomLeftColor() const;

  void Draw(HDC dc, int x, int y) const;
  void StretchDraw(HDC dc, const RECT& r) const;
  // Draws part of the bitmap with the colour of its bottom-left pixel left out.
  void DrawTransparent(HDC dc, int x, int y, int srcX = 0, int srcY = 0, int w = -1,
                       int h = -1) const;

private:
  void Adopt(HBITMAP h);
  GdiObject<HBITMAP> handle_;
  int width_ = 0;
  int height_ = 0;
};
