#pragma once
// The drive list: a drop-down of the machine's drives, each with a glyph for its kind and its
// volume label or network share. Drive is the selected letter; every effective change re-reads
// the drives, switches a linked directory list and fires OnChange once.
#include <string>

#include "ui/Graphics.h"
#include "ui/ListControls.h"

class TDirectoryListBox;

enum TTextCase { tcLowerCase, tcUpperCase };

class TDriveComboBox : public TComboBox {
public:
  explicit TDriveComboBox(TComponent* owner);
  ~TDriveComboBox() override;

  char Drive() const { return drive_; }
  // Nothing happens when an item is selected and c is the present drive in either case.
  // Otherwise the drives are read again, Drive takes c in the TextCase case, the item of that
  // drive is selected (none when there is none), DirList is switched and OnChange fires.
  void SetDrive(char c);
  TTextCase TextCase() const { return textCase_; }
  // Re-reads the drives and re-applies Drive in the new case, also when the case is unchanged.
  void SetTextCase(TTextCase textCase);
  TDirectoryListBox* DirList() const { return dirList_; }
  void SetDirList(TDirectoryListBox* list);

  virtual void RebuildDriveList();

  TNotifyEvent OnChange;

protected:
  virtual void NotifyChange();
  void CreateWnd() override;
  void Click() override;
  void FontChanged() override;
  int ItemHeightNeeded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void DrawItemAt(HDC dc, int index, const RECT& rect, bool selected) override;

private:
  friend class TDirectoryListBox;
  char InTextCase(char c) const;
  // The glyph of a drive kind of GetDriveTypeA; nullptr for a kind that is not listed.
  TBitmap* GlyphOfKind(UINT kind);

  TDirectoryListBox* dirList_ = nullptr;  // not owned; cleared when that list is destroyed
  char drive_ = 0;
  TTextCase textCase_ = tcLowerCase;
  TBitmap floppyGlyph_, hardGlyph_, networkGlyph_, cdromGlyph_, ramGlyph_;  // owned
};
