#include "filectrl/FileListBox.h"

#include <vector>

#include "filectrl/DirHelpers.h"
#include "filectrl/DirectoryListBox.h"
#include "filectrl/ItemDrawing.h"
#include "ui/Application.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/Messages.h"
#include "platform/ScopeExit.h"
#include "platform/Text.h"

namespace {
const unsigned kSkippedUnlessAsked =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | kVolumeLabelAttribute | FILE_ATTRIBUTE_DIRECTORY;
const int kHourGlassPosition = 100;

// A text that names its directory whatever the current directory is: X:\... or \\server\share.
bool IsAbsolutePath(const std::string& text) {
  return (text.size() >= 3 && text[1] == ':' && text[2] == '\\') ||
         (text.size() >= 2 && text[0] == '\\' && text[1] == '\\');
}
}  // namespace

void ForEachListedEntry(const std::string& pattern, TFileType type,
                        const std::function<void(const WIN32_FIND_DATAA&)>& listed) {
  const unsigned word = type.AttributeWord();
  WIN32_FIND_DATAA entry;
  FindHandle find(FindFirstFileA(pattern.c_str(), &entry));
  if (!find.Valid()) return;  // nothing matches: no entries, and no error
  do {
    const unsigned attributes = entry.dwFileAttributes;
    if (attributes & kSkippedUnlessAsked & ~word) continue;
    if (type.Contains(ftNormal) || (attributes & word)) listed(entry);
  } while (FindNextFileA(find.Get(), &entry));
}

TFileListBox::TFileListBox(TComponent* owner)
    : TCustomListBox(owner, TListDef{/*sorted*/ true, /*ownerDrawFixed*/ true}) {
  width_ = kListWidth;
  directory_ = CurrentDirectoryPath();
  LoadGlyphs();
  SetItemHeight(ItemHeightNeeded());
}

TFileListBox::~TFileListBox() {
  // The window goes while the items' glyphs and this object are still whole.
  DestroyHandle();
}

void TFileListBox::LoadGlyphs() {
  exeGlyph_ = TBitmap::FromResource("EXECUTABLE");
  dirGlyph_ = TBitmap::FromResource("CLOSEDFOLDER");
  unknownGlyph_ = TBitmap::FromResource("UNKNOWNFILE");
}

int TFileListBox::ItemHeightNeeded() {
  const int glyphHeight = showGlyphs_ ? exeGlyph_.Height() + kItemTallerThanGlyph : 0;
  return ItemHeightFor(font_.Handle(), glyphHeight);
}

void TFileListBox::CreateWnd() {
  TCustomListBox::CreateWnd();
  ReadEntries();
}

const TBitmap* TFileListBox::GlyphFor(const WIN32_FIND_DATAA& entry) const {
  if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return showGlyphs_ ? &dirGlyph_ : nullptr;
  const std::string ext = LowerCase(ExtensionPart(entry.cFileName));
  if (ext == ".exe" || ext == ".com" || ext == ".bat" || ext == ".pif") return &exeGlyph_;
  return &unknownGlyph_;
}

void TFileListBox::ReadEntries() {
  // A list without a window has nothing to fill; making the window reads the entries.
  if (!HandleAllocated()) return;
  EnterDirectory(directory_);
  Clear();
  {
    // The screen's cursor comes back when the reading ends, however it ends.
    const TCursor cursor = Screen ? Screen->Cursor() : crDefault;
    ScopeExit restoreCursor([cursor]() noexcept {
      if (Screen) Screen->SetCursor(cursor);
    });
    size_t start = 0;
    for (;;) {
      const size_t end = mask_.find(';', start);
      const std::string part = mask_.substr(start, end == std::string::npos ? end : end - start);
      ForEachListedEntry(part, fileType_, [this](const WIN32_FIND_DATAA& entry) {
        const bool isDir = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const std::string text = isDir ? Format("[%s]", entry.cFileName) : entry.cFileName;
        const int at = AddItem(text, const_cast<TBitmap*>(GlyphFor(entry)));
        if (at == kHourGlassPosition && Screen) Screen->SetCursor(crHourGlass);
      });
      if (end == std::string::npos) break;
      start = end + 1;
    }
  }
  NotifyChange();
}

void TFileListBox::NotifyChange() {
  lastSelected_ = HandleAllocated() ? ItemIndex() : -1;
  if (fileEdit_) {
    const std::string name = SelectedName();
    fileEdit_->SetText(name.empty() ? mask_ : name);
    fileEdit_->SelectAll();
  }
  if (OnChange) OnChange(*this);
}

void TFileListBox::Click() {
  TCustomListBox::Click();
  if (ItemIndex() != lastSelected_) NotifyChange();
}

std::string TFileListBox::SelectedName() {
  // Without a window there are no items, so nothing is selected; asking does not make one.
  if (!HandleAllocated()) return std::string();
  const int index = ItemIndex();
  if (index < 0 || Count() == 0 || index >= Count() || !Selected(index)) return std::string();
  return Strings(index);
}

std::string TFileListBox::SelectedPath() {
  const std::string name = SelectedName();
  return name.empty() ? std::string() : JoinPath(directory_, name);
}

void TFileListBox::SelectName(const std::string& name) {
  if (SameTextIgnoringCase(name, SelectedName())) return;
  const int count = Count();
  int found = -1;
  // From the second item to the end, then the first.
  for (int k = 1; k <= count && found < 0; ++k) {
    const int i = k % count;
    if (SameTextIgnoringCase(Strings(i), name)) found = i;
  }
  SetItemIndex(found);
  NotifyChange();
}

void TFileListBox::SetDirectory(const std::string& text) {
  if (SameTextIgnoringCase(text, directory_)) return;
  // A relative text is taken from the list's own directory. An absolute one does not need it,
  // so a list whose directory has gone away can still be moved somewhere else. When the new
  // text cannot be entered, the list's own directory stays current, as after any reading.
  if (!SetCurrentDirectoryA(directory_.c_str()) && !IsAbsolutePath(text)) RaiseLastInOutError();
  EnterDirectory(text);
  directory_ = CurrentDirectoryPath();
  ReadEntries();
}

void TFileListBox::SetMask(const std::string& mask) {
  if (mask == mask_) return;
  mask_ = mask;
  ReadEntries();
}

void TFileListBox::SetFileType(TFileType type) {
  if (type == fileType_) return;
  fileType_ = type;
  ReadEntries();
}

void TFileListBox::SetShowGlyphs(bool show) {
  if (show == showGlyphs_) return;
  showGlyphs_ = show;
  if (show && itemHeight_ < exeGlyph_.Height() + kItemTallerThanGlyph) SetItemHeight(ItemHeightNeeded());
  Invalidate();
}

void TFileListBox::SetFileEdit(TEdit* edit) {
  if (fileEdit_ && fileEdit_ != edit) RemoveFreeNotification(fileEdit_);
  fileEdit_ = edit;
  if (!edit) return;
  FreeNotification(edit);
  const std::string name = SelectedName();
  edit->SetText(name.empty() ? mask_ : name);
}

void TFileListBox::ApplyPath(const std::string& text) {
  if (text.empty() || SameTextIgnoringCase(text, SelectedPath())) return;
  const auto split = SplitEnteredPath(text);
  if (dirList_) {
    dirList_->SetDirectory(text);
  } else {
    SetDirectory(Format("%c:%s", split.drive, split.directoryPart.c_str()));
  }
  const std::string& file = split.filePart;
  if (file.find_first_of("*?") != std::string::npos) {
    SetMask(file);
    return;
  }
  if (file.empty()) return;
  SelectName(file);
  // Looked for in the list's directory: the current directory is that one only when the list
  // has just moved, and a list that was already there leaves it wherever it was.
  if (!IsExistingFile(JoinPath(directory_, file)))
    throw EInvalidOperation(FmtLoadStr(SInvalidFileName, text.c_str()));
  if (SelectedName().empty()) {
    // The mask hides the file: show it by its own name.
    SetMask(file);
    SelectName(file);
  }
}

void TFileListBox::Notification(TComponent* component, TOperation operation) {
  TCustomListBox::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == fileEdit_) fileEdit_ = nullptr;
  if (component == dirList_) dirList_ = nullptr;
}

void TFileListBox::DrawItemAt(HDC dc, int index, const RECT& rect, bool selected) {
  BeginItem(dc, rect, selected);
  int textLeft = rect.left + kGlyphLeft;
  const auto* glyph = static_cast<const TBitmap*>(Objects(index));
  // Without glyphs, or without a picture for this one, the text takes the glyph's place.
  if (showGlyphs_ && glyph && !glyph->Empty())
    textLeft += DrawItemGlyph(dc, rect, textLeft, glyph) + kGlyphTextGap;
  const std::string text = Strings(index);
  TextOutA(dc, textLeft, rect.top, text.data(), static_cast<int>(text.size()));
}
