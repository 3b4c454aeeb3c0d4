#include "filectrl/DriveComboBox.h"

#include "filectrl/DirHelpers.h"
#include "filectrl/DirectoryListBox.h"
#include "filectrl/ItemDrawing.h"
#include "filectrl/Links.h"
#include "platform/Messages.h"
#include "platform/Text.h"

namespace {
const int kDriveLetters = 26;  // a: to z:, one bit each in GetLogicalDrives

bool SameDrive(char a, char b) { return UpperChar(a) == UpperChar(b); }
}  // namespace

TDriveComboBox::TDriveComboBox(TComponent* owner) : TComboBox(owner, csOwnerDrawFixed) {
  floppyGlyph_ = TBitmap::FromResource("FLOPPY");
  hardGlyph_ = TBitmap::FromResource("HARD");
  networkGlyph_ = TBitmap::FromResource("NETWORK");
  cdromGlyph_ = TBitmap::FromResource("CDROM");
  ramGlyph_ = TBitmap::FromResource("RAM");
  char current[MAX_PATH] = {};
  // The system normally reports the directory with an upper-case drive letter.
  if (GetCurrentDirectoryA(MAX_PATH, current) > 0) drive_ = current[0];
  SetItemHeight(ItemHeightNeeded());
}

TDriveComboBox::~TDriveComboBox() {
  // The window goes while the glyphs the items point at are still there.
  DestroyHandle();
}

int TDriveComboBox::ItemHeightNeeded() {
  // Unlike the two lists, no pixel is added to the glyph's height.
  return ItemHeightFor(font_.Handle(), floppyGlyph_.Height());
}

char TDriveComboBox::InTextCase(char c) const {
  if (textCase_ == tcUpperCase) return UpperChar(c);
  // A letter becomes its lower-case letter; anything else stays what it is, so that a text
  // beginning with a backslash or a digit does not turn into some other character.
  return IsCharAlphaA(c) ? LowerChar(c) : c;
}

void TDriveComboBox::RebuildDriveList() {
  Clear();
  const DWORD drives = GetLogicalDrives();
  for (int i = 0; i < kDriveLetters; ++i) {
    if (!(drives & (1u << i))) continue;
    char letter = static_cast<char>('a' + i);
    const std::string root = std::string(1, letter) + ":\\";
    const UINT kind = GetDriveTypeA(root.c_str());
    TBitmap* glyph = GlyphOfKind(kind);
    if (!glyph) continue;  // undetermined, or no root directory: not listed
    if (textCase_ == tcUpperCase) letter = UpperChar(letter);
    std::string text = std::string(1, letter) + ":";
    // A removable drive's label is not read, so no medium is touched.
    if (kind == DRIVE_REMOTE) text += " " + NetworkShareText(letter);
    else if (kind != DRIVE_REMOVABLE) text += " " + VolumeLabelText(letter);
    AddItem(text, glyph);
  }
}

TBitmap* TDriveComboBox::GlyphOfKind(UINT kind) {
  switch (kind) {
    case DRIVE_REMOVABLE: return &floppyGlyph_;
    case DRIVE_FIXED: return &hardGlyph_;
    case DRIVE_REMOTE: return &networkGlyph_;
    case DRIVE_CDROM: return &cdromGlyph_;
    case DRIVE_RAMDISK: return &ramGlyph_;
    default: return nullptr;
  }
}

void TDriveComboBox::SetDrive(char c) {
  if (HandleAllocated() && ItemIndex() >= 0 && SameDrive(c, drive_)) return;
  // Read again on every effective change, so that the labels of changed media are fresh. The
  // first reading makes the window, which applies the drive held until now on its own.
  RebuildDriveList();
  drive_ = InTextCase(c);
  int found = -1;
  const int count = HandleAllocated() ? Count() : 0;
  for (int i = 0; i < count && found < 0; ++i) {
    const std::string text = Strings(i);
    if (text.size() >= 2 && SameDrive(text[0], drive_) && text[1] == ':') found = i;
  }
  if (HandleAllocated()) SetItemIndex(found);
  if (dirList_) dirList_->SwitchDrive(drive_);
  NotifyChange();
}

void TDriveComboBox::NotifyChange() {
  if (OnChange) OnChange(*this);
}

void TDriveComboBox::SetTextCase(TTextCase textCase) {
  textCase_ = textCase;
  RebuildDriveList();
  SetDrive(drive_);
}

void TDriveComboBox::SetDirList(TDirectoryListBox* list) {
  LinkFollower(this, dirList_, list, &TDirectoryListBox::driveCombo_, &TDriveComboBox::SetDirList);
}

void TDriveComboBox::CreateWnd() {
  TComboBox::CreateWnd();
  RebuildDriveList();
  SetDrive(drive_);
}

void TDriveComboBox::Click() {
  TComboBox::Click();
  const int index = ItemIndex();
  if (index >= 0) {
    const std::string text = Strings(index);
    if (!text.empty()) SetDrive(text[0]);
  }
}

void TDriveComboBox::FontChanged() {
  TComboBox::FontChanged();  // which gives the items the height of the new font
  if (HandleAllocated()) {
    // The height of the closed box follows the items only when the window is made anew.
    DestroyHandle();
    CreateHandle();
  }
}

void TDriveComboBox::Notification(TComponent* component, TOperation operation) {
  TComboBox::Notification(component, operation);
  if (operation == TOperation::opRemove && component == dirList_) dirList_ = nullptr;
}

void TDriveComboBox::DrawItemAt(HDC dc, int index, const RECT& rect, bool selected) {
  BeginItem(dc, rect, selected);
  const int glyphLeft = rect.left + kGlyphLeft;
  const int glyphWidth = DrawItemGlyph(dc, rect, glyphLeft, static_cast<const TBitmap*>(Objects(index)));
  RECT textRect = rect;
  textRect.left = glyphLeft + glyphWidth + kGlyphTextGap;
  const std::string text = Strings(index);
  DrawTextA(dc, text.c_str(), -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}
