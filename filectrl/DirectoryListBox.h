#pragma once
// The directory list: the drive's root, every directory on the way down, the shown directory and
// its subdirectories, indented. Opening an item (double-click or Enter) enters the directory it
// stands for. Every change moves the process's current directory there and leaves it there; a
// linked file list, label and drive selector follow.
#include <string>

#include "ui/Graphics.h"
#include "ui/ListControls.h"
#include "ui/StdCtrls.h"

class TDriveComboBox;
class TFileListBox;

// The folder glyphs: 16 x 16 when made, then the resource picture (16 x 15).
class TFolderBitmap : public TBitmap {
public:
  TFolderBitmap() = default;
  explicit TFolderBitmap(const char* resourceName) : TBitmap(TBitmap::FromResource(resourceName)) {}
};

class TDirectoryListBox : public TCustomListBox {
public:
  explicit TDirectoryListBox(TComponent* owner);
  ~TDirectoryListBox() override;

  // The full path as the system reports it (C:\WINDOWS\SYSTEM; C:\ for a root).
  const std::string& Directory() const { return directory_; }
  // Any text that SplitEnteredPath accepts; a trailing file name is dropped. Throws EInOutError
  // when a directory of the text cannot be entered, with nothing changed.
  void SetDirectory(const std::string& text) { ChangeDirectory(text); }
  char Drive() const { return directory_.empty() ? '\0' : directory_[0]; }
  // Enters that drive's current directory when the letter differs from Drive in either case.
  void SetDrive(char letter);
  // Used by the linked drive selector.
  void SwitchDrive(char letter);

  // The full path item `index` stands for; empty for an index outside the items.
  std::string ItemPath(int index);
  void OpenSelected();
  // The text item `index` is drawn with: in lower case on a volume that neither keeps nor tells
  // letter case apart, else as stored.
  std::string DisplayText(int index);
  bool CasePreserving() const { return casePreserving_; }
  bool CaseSensitive() const { return caseSensitive_; }

  TFileListBox* FileList() const { return fileList_; }
  void SetFileList(TFileListBox* list);
  TLabel* DirLabel() const { return dirLabel_; }
  void SetDirLabel(TLabel* label);
  // The selector that names this list as its DirList, or nullptr.
  TDriveComboBox* DriveCombo() const { return driveCombo_; }

  virtual void ChangeDirectory(const std::string& text);
  virtual void ReadEntries();

  TNotifyEvent OnChange;

protected:
  virtual void NotifyChange();
  virtual void LoadGlyphs();
  void EnterDirectory(const std::string& path);
  void CreateWnd() override;
  void DblClick() override;
  void KeyPress(char& key) override;
  int ItemHeightNeeded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void DrawItemAt(HDC dc, int index, const RECT& rect, bool selected) override;

private:
  friend class TDriveComboBox;
  void RefreshLabel();
  bool SameDirectoryText(const std::string& a, const std::string& b) const;

  TFileListBox* fileList_ = nullptr;      // not owned; cleared when that list is destroyed
  TDriveComboBox* driveCombo_ = nullptr;  // not owned; filled and cleared by its DirList
  TLabel* dirLabel_ = nullptr;            // not owned; cleared when the label is destroyed
  bool switchingDrive_ = false;
  // Until a volume has been read, and for one whose information cannot be read: names are shown
  // as stored and compared without regard to case.
  bool casePreserving_ = true;
  bool caseSensitive_ = false;
  TFolderBitmap closedGlyph_, openGlyph_, currentGlyph_;  // owned; the items point at them
  std::string directory_;
  int currentIndex_ = -1;
};
