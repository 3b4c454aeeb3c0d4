#include "filectrl/DirectoryListBox.h"

#include <algorithm>
#include <vector>

#include "filectrl/DirHelpers.h"
#include "filectrl/DriveComboBox.h"
#include "filectrl/FileListBox.h"
#include "filectrl/ItemDrawing.h"
#include "filectrl/Links.h"
#include "platform/FileSystem.h"
#include "platform/Messages.h"
#include "platform/ScopeExit.h"
#include "platform/Text.h"

namespace {
const int kIndentStep = 4;

}  // namespace

TDirectoryListBox::TDirectoryListBox(TComponent* owner)
    : TCustomListBox(owner, TListDef{/*sorted*/ false, /*ownerDrawFixed*/ true}) {
  width_ = kListWidth;
  LoadGlyphs();
  directory_ = CurrentDirectoryPath();
  SetItemHeight(ItemHeightNeeded());
}

TDirectoryListBox::~TDirectoryListBox() {
  // The window goes while the glyphs the items point at are still there.
  DestroyHandle();
}

void TDirectoryListBox::LoadGlyphs() {
  closedGlyph_ = TFolderBitmap("CLOSEDFOLDER");
  openGlyph_ = TFolderBitmap("OPENFOLDER");
  currentGlyph_ = TFolderBitmap("CURRENTFOLDER");
}

int TDirectoryListBox::ItemHeightNeeded() {
  return ItemHeightFor(font_.Handle(), openGlyph_.Height() + kItemTallerThanGlyph);
}

void TDirectoryListBox::CreateWnd() {
  TCustomListBox::CreateWnd();
  ReadEntries();
}

void TDirectoryListBox::ReadEntries() {
  // The items live in the window, and making the window reads them; until then the list only
  // knows its directory (a hidden dialog's list can be placed before the dialog first shows).
  if (!HandleAllocated()) return;
  // Drawing is suspended while the list is rebuilt, and resumed however the rebuilding ends.
  BeginUpdate();
  ScopeExit update([this]() noexcept { EndUpdate(); });
  Clear();

  const std::string root = std::string(1, Drive()) + ":\\";
  DWORD flags = 0;
  if (GetVolumeInformationA(root.c_str(), nullptr, 0, nullptr, nullptr, &flags, nullptr, 0)) {
    casePreserving_ = (flags & (FS_CASE_IS_PRESERVED | FS_CASE_SENSITIVE)) != 0;
    caseSensitive_ = (flags & FS_CASE_SENSITIVE) != 0;
  } else {
    // Nothing known of the volume: show the names as the system gave them, and compare them
    // without regard to case as the system's own volumes do.
    casePreserving_ = true;
    caseSensitive_ = false;
  }

  std::string rest = directory_;
  if (!rest.empty() && rest.back() != '\\') {
    bool first = true;
    for (size_t sep = rest.find('\\'); sep != std::string::npos; sep = rest.find('\\')) {
      std::string ancestor = rest.substr(0, sep);
      rest.erase(0, sep + 1);
      if (first) ancestor += '\\';
      first = false;
      AddItem(ancestor, &openGlyph_);
    }
  }
  AddItem(rest, &currentGlyph_);
  currentIndex_ = Count() - 1;

  // Sorted by the locale's comparison without regard to case; a name equal to one already
  // there in that comparison is dropped.
  std::vector<std::string> names;
  auto less = [](const std::string& a, const std::string& b) {
    return CompareLocaleText(NORM_IGNORECASE, a, b) == CSTR_LESS_THAN;
  };
  ForEachListedEntry(JoinPath(directory_, "*.*"), TFileType{ftDirectory},
                     [&](const WIN32_FIND_DATAA& entry) {
                       const std::string name = entry.cFileName;
                       if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return;
                       if (name == "." || name == "..") return;
                       auto at = std::lower_bound(names.begin(), names.end(), name, less);
                       if (at != names.end() && CompareLocaleText(NORM_IGNORECASE, *at, name) == CSTR_EQUAL)
                         return;
                       names.insert(at, name);
                     });
  for (const std::string& name : names) AddItem(name, &closedGlyph_);
  SetItemIndex(currentIndex_);
}

std::string TDirectoryListBox::ItemPath(int index) {
  if (index < 0 || index >= Count()) return std::string();
  if (index == 0) return std::string(1, Drive()) + ":\\";
  if (index > currentIndex_) return JoinPath(directory_, Strings(index));
  if (index == currentIndex_) return directory_;
  // An ancestor at index i: the part of the directory before its (i + 1)-th backslash.
  size_t sep = std::string::npos;
  for (int i = 0; i <= index; ++i) {
    sep = directory_.find('\\', sep == std::string::npos ? 0 : sep + 1);
    if (sep == std::string::npos) return directory_;
  }
  return directory_.substr(0, sep);
}

std::string TDirectoryListBox::DisplayText(int index) {
  const std::string text = Strings(index);
  return !casePreserving_ && !caseSensitive_ ? LowerCase(text) : text;
}

bool TDirectoryListBox::SameDirectoryText(const std::string& a, const std::string& b) const {
  return CompareLocaleText(caseSensitive_ ? 0 : NORM_IGNORECASE, a, b) == CSTR_EQUAL;
}

void TDirectoryListBox::ChangeDirectory(const std::string& text) {
  if (text.empty() || SameDirectoryText(text, directory_)) return;
  const auto split = SplitEnteredPath(text);  // the file part is of no use here
  if (split.drive != Drive()) {
    switchingDrive_ = true;
    ScopeExit switched([this]() noexcept { switchingDrive_ = false; });
    if (driveCombo_) driveCombo_->SetDrive(split.drive);
    else SwitchDrive(split.drive);
  }
  EnterDirectory(split.directoryPart);
}

void TDirectoryListBox::EnterDirectory(const std::string& path) {
  // The path is taken on the list's drive. When the shown directory itself has gone away the
  // drive is named with the path instead, so the list can still leave it, and a drive that
  // cannot be entered at all (its medium is gone) is reported rather than passed over.
  if (SetCurrentDirectoryA(directory_.c_str())) ::EnterDirectory(path);
  else ::EnterDirectory(std::string(1, Drive()) + ":" + path);
  directory_ = CurrentDirectoryPath();
  ReadEntries();
  NotifyChange();
}

void TDirectoryListBox::SwitchDrive(char letter) {
  if (UpperChar(letter) == UpperChar(Drive())) return;
  ::EnterDirectory(std::string(1, letter) + ":");
  directory_ = CurrentDirectoryPath();
  if (switchingDrive_) return;  // the directory step that follows reads and tells
  ReadEntries();
  NotifyChange();
}

void TDirectoryListBox::SetDrive(char letter) {
  if (UpperChar(letter) == UpperChar(Drive())) return;
  ChangeDirectory(Format("%c:", letter));
}

void TDirectoryListBox::OpenSelected() { ChangeDirectory(ItemPath(ItemIndex())); }

void TDirectoryListBox::NotifyChange() {
  if (fileList_) fileList_->SetDirectory(directory_);
  RefreshLabel();
  if (OnChange) OnChange(*this);
}

void TDirectoryListBox::RefreshLabel() {
  if (!dirLabel_) return;
  const int width = dirLabel_->AutoSize() ? Width() : dirLabel_->Width();
  dirLabel_->SetCaption(FitPathToWidth(directory_, dirLabel_->Font().Handle(), width));
}

void TDirectoryListBox::SetFileList(TFileListBox* list) {
  LinkFollower(this, fileList_, list, &TFileListBox::dirList_, &TDirectoryListBox::SetFileList);
}

void TDirectoryListBox::SetDirLabel(TLabel* label) {
  if (dirLabel_ && dirLabel_ != label) RemoveFreeNotification(dirLabel_);
  dirLabel_ = label;
  if (!label) return;
  FreeNotification(label);
  RefreshLabel();
}

void TDirectoryListBox::DblClick() {
  TCustomListBox::DblClick();
  OpenSelected();
}

void TDirectoryListBox::KeyPress(char& key) {
  TCustomListBox::KeyPress(key);
  if (key == '\r') OpenSelected();
}

void TDirectoryListBox::Notification(TComponent* component, TOperation operation) {
  TCustomListBox::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == fileList_) fileList_ = nullptr;
  if (component == driveCombo_) driveCombo_ = nullptr;
  if (component == dirLabel_) dirLabel_ = nullptr;
}

void TDirectoryListBox::DrawItemAt(HDC dc, int index, const RECT& rect, bool selected) {
  BeginItem(dc, rect, selected);
  const auto* glyph = static_cast<const TBitmap*>(Objects(index));
  // The way down is indented a step an item; the subdirectories all stand one step below the
  // shown directory, however far down the list they come.
  int level = index;
  if (glyph && !glyph->Empty() && index > currentIndex_) level = PathDepth(directory_) + 1;
  const int glyphLeft = rect.left + level * kIndentStep + kGlyphLeft;
  const int glyphWidth = DrawItemGlyph(dc, rect, glyphLeft, glyph);
  const std::string text = DisplayText(index);
  TextOutA(dc, glyphLeft + glyphWidth + kGlyphTextGap, rect.top, text.data(),
           static_cast<int>(text.size()));
}
