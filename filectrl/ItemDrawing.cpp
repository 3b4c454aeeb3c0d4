#include "filectrl/ItemDrawing.h"

#include <algorithm>

#include "filectrl/DirHelpers.h"

int ItemHeightFor(HFONT font, int minimum) { return std::max(FontLineHeight(font), minimum); }

void BeginItem(HDC dc, const RECT& rect, bool selected) {
  FillRect(dc, &rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
}

int DrawItemGlyph(HDC dc, const RECT& rect, int left, const TBitmap* glyph) {
  if (!glyph || glyph->Empty()) return kMissingGlyphWidth;
  glyph->DrawTransparent(dc, left, rect.top + (rect.bottom - rect.top - glyph->Height()) / 2);
  return glyph->Width();
}
