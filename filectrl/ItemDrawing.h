#pragma once
// How the drive, directory and file lists draw an item: the background, a glyph centred in the
// item's height, then the text after it, in the colours of a selected or a plain item.
#include <windows.h>

#include "ui/Graphics.h"

// The default width of the directory and file lists.
const int kListWidth = 145;
// The glyph's distance from the item's left edge (before any indent of the directory list).
const int kGlyphLeft = 2;
// The space between a glyph and its text.
const int kGlyphTextGap = 4;
// The room left for a glyph that is missing, so that texts stay in line.
const int kMissingGlyphWidth = 16;
// An item with a glyph is one pixel taller than the glyph.
const int kItemTallerThanGlyph = 1;

// The height of the items: the font's line height, and at least `minimum` (room for a glyph).
int ItemHeightFor(HFONT font, int minimum);

// Fills the item with the background colour and sets the text colour of its state.
void BeginItem(HDC dc, const RECT& rect, bool selected);
// Draws the glyph at `left`, centred in the item's height; returns its width, or
// kMissingGlyphWidth when there is no picture.
int DrawItemGlyph(HDC dc, const RECT& rect, int left, const TBitmap* glyph);
