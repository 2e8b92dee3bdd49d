#pragma once
// The text of a memo: one buffer holding the text as the program counts it, every line break
// as the two characters CR LF whatever the file used, and the start of every line in it. The
// program's position arithmetic (line length + 2 per line) then holds for any log, and a load
// costs a read of the file and one pass over its bytes.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "System.h"

class MemoStore {
public:
  // Reads the whole file, then splits it: CR LF, LF CR, a lone CR and a lone LF are one break
  // each, a final break adds no line, NUL is an ordinary byte. Throws EFOpenError and keeps the
  // old text when the file cannot be opened.
  void LoadFromFile(const AnsiString& fileName);
  // Split as on load.
  void SetText(std::string_view text);

  // The stored lines. Indexes are checked by the caller; a view stays valid until the next
  // change.
  int64_t Count() const { return static_cast<int64_t>(starts_.size()) - 1; }
  std::string_view Line(int64_t index) const;
  // A line inserted into an empty text is followed by a break; otherwise whether the text ends
  // with a break stays as it was.
  void Put(int64_t index, std::string_view s);
  void Insert(int64_t index, std::string_view s);
  void Delete(int64_t index);
  void Clear();

  // Lines joined by CR LF, ending with CR LF when the loaded text ended with a break.
  const AnsiString& Text() const { return text_; }
  int64_t TextLength() const { return static_cast<int64_t>(text_.size()); }
  // The bytes of Text() between two positions, each clamped to the text.
  AnsiString Range(int64_t from, int64_t to) const;

  // The lines a caret can be on: the stored lines and, after a final break or in an empty text,
  // one more empty line at the end of the text.
  int64_t ViewLineCount() const;
  int64_t LineStart(int64_t viewLine) const { return starts_[static_cast<size_t>(viewLine)]; }
  int64_t LineLength(int64_t viewLine) const;
  std::string_view ViewLine(int64_t viewLine) const;
  // The view line holding a position (clamped to the text); a position inside a CR LF pair
  // belongs to the line before it.
  int64_t LineOf(int64_t position) const;
  // Position of a column of a view line, the column clamped to the line's length.
  int64_t PositionOf(int64_t viewLine, int64_t column) const;

  // Longest line in bytes, for the width of the view.
  int64_t MaxLineLength() const { return maxLength_; }

private:
  void Adopt(AnsiString bytes);
  void Shift(size_t from, int64_t delta);
  void Remeasure();

  AnsiString text_;
  // starts_[i] is where line i begins in text_; one more entry after the last line, where a
  // line after it would begin (past the end of text_ when the text ends without a break).
  std::vector<int64_t> starts_{0};
  int64_t maxLength_ = 0;
};
