// The pictures every program of ours carries: each one loads by its name, with the size and the
// colour depth its control draws it with, and a glyph's corners are its transparent colour.
#include <windows.h>
#include <gtest/gtest.h>

namespace {

struct Picture {
  const char* name;
  int width, height, bits;
  bool glyph;  // drawn with its bottom-left pixel's colour left out
};

const Picture kPictures[] = {
    {"FLOPPY", 16, 11, 4, true},        {"HARD", 16, 11, 4, true},
    {"NETWORK", 16, 11, 4, true},       {"CDROM", 16, 11, 4, true},
    {"RAM", 16, 11, 4, true},           {"OPENFOLDER", 16, 15, 4, true},
    {"CLOSEDFOLDER", 16, 15, 4, true},  {"CURRENTFOLDER", 16, 15, 4, true},
    {"EXECUTABLE", 16, 15, 4, true},    {"UNKNOWNFILE", 16, 15, 4, true},
    {"BROWSE", 32, 16, 4, true},        {"BACKGROUND", 392, 331, 8, false},
};

COLORREF PixelOf(HBITMAP bmp, int x, int y) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bmp);
  COLORREF c = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteDC(dc);
  return c;
}

TEST(Resources, BitmapsHaveTheirSizeAndDepth) {
  for (const Picture& p : kPictures) {
    SCOPED_TRACE(p.name);
    HBITMAP bmp = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), p.name, IMAGE_BITMAP,
                                                  0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(bmp, nullptr);
    DIBSECTION ds = {};
    ASSERT_EQ(GetObjectA(bmp, sizeof ds, &ds), static_cast<int>(sizeof ds));
    EXPECT_EQ(ds.dsBm.bmWidth, p.width);
    EXPECT_EQ(ds.dsBm.bmHeight, p.height);
    EXPECT_EQ(ds.dsBm.bmBitsPixel, p.bits);
    if (p.glyph) {
      // The corners are background, so leaving out that colour cuts no part of the drawing
      // away, and the drawing itself uses some other colour.
      COLORREF clear = PixelOf(bmp, 0, p.height - 1);
      EXPECT_EQ(PixelOf(bmp, 0, 0), clear);
      EXPECT_EQ(PixelOf(bmp, p.width - 1, 0), clear);
      EXPECT_EQ(PixelOf(bmp, p.width - 1, p.height - 1), clear);
      bool drawn = false;
      for (int y = 0; y < p.height && !drawn; ++y)
        for (int x = 0; x < p.width && !drawn; ++x) drawn = PixelOf(bmp, x, y) != clear;
      EXPECT_TRUE(drawn);
    }
    DeleteObject(bmp);
  }
}

TEST(Resources, BrowseGlyphHoldsTwoDifferentImages) {
  HBITMAP bmp = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), "BROWSE", IMAGE_BITMAP,
                                                0, 0, LR_CREATEDIBSECTION));
  ASSERT_NE(bmp, nullptr);
  int differ = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) differ += PixelOf(bmp, x, y) != PixelOf(bmp, x + 16, y);
  EXPECT_GT(differ, 0) << "the disabled image is a copy of the normal one";
  DeleteObject(bmp);
}

// The icon: 32 x 32 in 256 colours, found by name and as icon 1; its mask leaves the corners
// clear and covers the middle.
TEST(Resources, MainIcon) {
  HMODULE self = GetModuleHandleA(nullptr);
  const LPCSTR names[] = {"MAINICON", MAKEINTRESOURCEA(1)};
  for (LPCSTR name : names) {
    HRSRC group = FindResourceA(self, name, RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    const BYTE* dir = static_cast<const BYTE*>(LockResource(LoadResource(self, group)));
    ASSERT_NE(dir, nullptr);
    // A group directory: reserved, type 1, count, then 14-byte entries.
    ASSERT_EQ(*reinterpret_cast<const WORD*>(dir + 4), 1);
    const BYTE* entry = dir + 6;
    EXPECT_EQ(entry[0], 32);
    EXPECT_EQ(entry[1], 32);
    EXPECT_EQ(*reinterpret_cast<const WORD*>(entry + 6), 8);  // bits per pixel
  }

  HICON icon = static_cast<HICON>(LoadImageA(self, "MAINICON", IMAGE_ICON, 32, 32, 0));
  ASSERT_NE(icon, nullptr);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP canvas = CreateCompatibleBitmap(screen, 32, 32);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, canvas);
  RECT all = {0, 0, 32, 32};
  HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
  FillRect(dc, &all, green);
  ASSERT_TRUE(DrawIconEx(dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL));
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(dc, 31, 31), RGB(0, 255, 0));
  EXPECT_NE(GetPixel(dc, 16, 20), RGB(0, 255, 0));
  SelectObject(dc, old);
  DeleteObject(green);
  DeleteObject(canvas);
  DeleteDC(dc);
  DestroyIcon(icon);
}

}  // namespace
