#pragma once
// TMemo: a read-only text view for logs of any size. Positions are offsets into Text, in which
// every line break counts as the two characters CR LF, whatever the loaded file used; they are
// 64-bit, as a log may pass 2 GB.
#include <cstdint>
#include <memory>

#include "Controls.h"
#include "MemoLines.h"

class MemoView;

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo : public TWinControl {
public:
  explicit TMemo(TComponent* AOwner);
  ~TMemo() override;

  TMemoStrings* Lines() { return lines_.get(); }
  // The lines' own bytes, for readers that walk a long text line by line or search it without
  // copies: Store().Text() is the text Text() copies.
  const MemoStore& Store() const;

  // Lines joined by CR LF, ending with CR LF when the loaded file ended with a line break. A
  // copy of the whole text.
  AnsiString Text() const override;
  void SetText(const AnsiString& text) override;
  int64_t GetTextLen() const;

  // The selection runs from SelStart for SelLength characters. Setting SelStart leaves no
  // selection; setting SelLength selects from SelStart, the caret at the far end. Either
  // scrolls the caret into view.
  int64_t SelStart() const;
  void SetSelStart(int64_t start);
  int64_t SelLength() const;
  void SetSelLength(int64_t length);
  AnsiString SelText() const;

  // The view never edits; the flag is kept for the program to set.
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle scrollBars);
  // When false the selection stays visible while another control has the focus.
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool hide);

  // The caret's column (x) and line (y), from 0.
  TPoint CaretPos() const;
  // The line holding a position; -1: the line where the selection starts.
  int64_t LineFromChar(int64_t position) const;
  // The position where a line starts; -1: the caret's line. -1 for a line that does not exist.
  int64_t LineIndex(int64_t line) const;
  // Scrolls by whole lines, stopping at the top and at the last page.
  void LineScroll(int64_t lines);

protected:
  // The frame and the scroll bars lie outside the client area.
  QMargins NonClientMargins() const override;
  // The lines are shown in the memo's code page, or the display's once that changes.
  void TextChanged() override;

private:
  MemoView* View() const;

  std::unique_ptr<TMemoStrings> lines_;
  bool readOnly_ = false;
  TScrollStyle scrollBars_ = ssNone;
  bool hideSelection_ = true;
};
