#pragma once
// The file list: the entries of one directory that match a mask and an attribute filter, sorted
// by the list box itself, each with a glyph. Reading it moves the process's current directory to
// the listed directory and leaves it there; callers that use relative paths afterwards rely on it.
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>

#include "ui/Graphics.h"
#include "ui/ListControls.h"
#include "ui/StdCtrls.h"

class TDirectoryListBox;

// The order of the members is that of the attribute bits 1, 2, 4, 8, 16 and 32; ftNormal stands
// for plain files and has no bit.
enum TFileAttr { ftReadOnly, ftHidden, ftSystem, ftVolumeID, ftDirectory, ftArchive, ftNormal };

// The volume-label bit of the old file systems, which the system headers no longer name.
const unsigned kVolumeLabelAttribute = 1u << ftVolumeID;

// A set of TFileAttr.
class TFileType {
public:
  TFileType() = default;
  TFileType(std::initializer_list<TFileAttr> members) {
    for (TFileAttr m : members) Include(m);
  }
  bool Contains(TFileAttr a) const { return (members_ & (1u << a)) != 0; }
  TFileType& Include(TFileAttr a) { members_ |= 1u << a; return *this; }
  bool operator==(const TFileType& o) const { return members_ == o.members_; }
  bool operator!=(const TFileType& o) const { return members_ != o.members_; }
  // The file attribute bits of the members ftReadOnly to ftArchive: every member below ftNormal
  // is its own attribute bit.
  unsigned AttributeWord() const { return members_ & ((1u << ftNormal) - 1); }

private:
  unsigned members_ = 0;  // bit i: member i
};

// Calls `listed` for every entry matching `pattern` that a list of `type` shows: an entry with
// the hidden, system, volume-label or directory attribute is skipped unless the type holds that
// attribute; of the rest, those pass that the type takes as plain files (ftNormal) or that share
// an attribute bit with it. "." and ".." come through when the file system reports them.
void ForEachListedEntry(const std::string& pattern, TFileType type,
                        const std::function<void(const WIN32_FIND_DATAA&)>& listed);

class TFileListBox : public TCustomListBox {
public:
  explicit TFileListBox(TComponent* owner);
  ~TFileListBox() override;

  const std::string& Directory() const { return directory_; }
  // Moves the process's current directory to the new directory (a relative text is taken from
  // the list's own) and leaves it there; re-reads the entries. Throws EInOutError when the
  // directory cannot be entered, with the list as it was and its directory current.
  void SetDirectory(const std::string& text);
  const std::string& Mask() const { return mask_; }
  void SetMask(const std::string& mask);
  TFileType FileType() const { return fileType_; }
  void SetFileType(TFileType type);
  bool ShowGlyphs() const { return showGlyphs_; }
  void SetShowGlyphs(bool show);
  TEdit* FileEdit() const { return fileEdit_; }
  void SetFileEdit(TEdit* edit);
  // The directory list that drives this one; set only through that list's FileList.
  TDirectoryListBox* DirList() const { return dirList_; }

  std::string SelectedName();
  virtual std::string SelectedPath();
  void SelectName(const std::string& name);
  virtual void ReadEntries();
  // Typed text: a directory, a mask, a file name or a path with any of them.
  virtual void ApplyPath(const std::string& text);

  TNotifyEvent OnChange;

protected:
  virtual void LoadGlyphs();
  virtual void NotifyChange();
  void CreateWnd() override;
  void Click() override;
  int ItemHeightNeeded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void DrawItemAt(HDC dc, int index, const RECT& rect, bool selected) override;

private:
  friend class TDirectoryListBox;
  const TBitmap* GlyphFor(const WIN32_FIND_DATAA& entry) const;

  std::string directory_;
  std::string mask_ = "*.*";
  TFileType fileType_{ftNormal};
  TEdit* fileEdit_ = nullptr;             // not owned; cleared when the edit is destroyed
  TDirectoryListBox* dirList_ = nullptr;  // not owned; cleared when that list is destroyed
  TBitmap exeGlyph_, dirGlyph_, unknownGlyph_;  // owned; the items point at them
  int lastSelected_ = -1;
  bool showGlyphs_ = false;
};

