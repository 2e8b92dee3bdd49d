#pragma once
// The text of a memo: one buffer holding the text as the program counts it, every line break
// as the two characters CR LF whatever the file used, and the start of every line in it. The
// program's position arithmetic (line length + 2 per line) then holds for any log, and a load
// costs a read of the file and one pass over its bytes.
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "System.h"

// Where every line starts, in a few bytes a line instead of eight: a log has millions of short
// lines. Each block of lines keeps its first start whole and the others as small offsets from
// it; a block whose lines are too long for the offsets keeps all its starts whole. Starts never
// go down from one line to the next.
template <class Offset>
class MemoLineStarts {
public:
  static constexpr size_t BlockLines = 64;

  size_t Size() const { return offsets_.size(); }
  int64_t operator[](size_t i) const
  {
    const int64_t base = bases_[i / BlockLines];
    if (base >= 0)
      return base + static_cast<int64_t>(offsets_[i]);
    return wide_[static_cast<size_t>(~base)][i % BlockLines];
  }
  int64_t Back() const { return (*this)[Size() - 1]; }
  // Whether the block holding start i keeps its starts whole.
  bool IsWide(size_t i) const { return bases_[i / BlockLines] < 0; }

  void Reserve(size_t size)
  {
    offsets_.reserve(size);
    bases_.reserve(size / BlockLines + 1);
  }

  // Always inlined: a load pushes one start per line, and a call each costs it a few percent.
  [[gnu::always_inline]] void Push(int64_t start)
  {
    // Unsigned, a start before the base is too far as well.
    const auto offset = static_cast<uint64_t>(start) - static_cast<uint64_t>(base_);
    if (room_ > 0 && offset <= MaxOffset) {
      offsets_.push_back(static_cast<Offset>(offset));
      --room_;
      return;
    }
    PushSlowly(start);
  }

  // Keeps the first `size` starts.
  void Truncate(size_t size)
  {
    if (size >= Size())
      return;
    const size_t blocks = (size + BlockLines - 1) / BlockLines;
    // Wide blocks were made in block order: the first one dropped and all after it go.
    for (size_t b = blocks; b < bases_.size(); ++b) {
      if (bases_[b] < 0) {
        wide_.resize(static_cast<size_t>(~bases_[b]));
        break;
      }
    }
    bases_.resize(blocks);
    offsets_.resize(size);
    if (blocks > 0 && bases_.back() < 0)
      wide_[static_cast<size_t>(~bases_.back())].resize(size - (blocks - 1) * BlockLines);
    ResumeLastBlock();
  }

  void Clear()
  {
    bases_.clear();
    offsets_.clear();
    wide_.clear();
    room_ = 0;
  }

private:
  static constexpr int64_t MaxOffset = std::numeric_limits<Offset>::max();

  // A block's first start, or a start too far from its base. Kept out of line, so that Push
  // stays small enough to be inlined into the loops that fill the starts.
  [[gnu::noinline]] void PushSlowly(int64_t start)
  {
    const size_t i = offsets_.size();
    offsets_.push_back(0);
    try {
      if (i % BlockLines == 0) {
        bases_.push_back(start);
        base_ = start;
        room_ = BlockLines - 1;
      } else {
        if (bases_.back() >= 0)
          Widen(i - i % BlockLines, i);
        wide_[static_cast<size_t>(~bases_.back())].push_back(start);
      }
    } catch (...) {
      offsets_.pop_back();
      throw;
    }
  }

  // After a cut the last block may go on narrow, from its base, or wide.
  void ResumeLastBlock()
  {
    const size_t inBlock = Size() % BlockLines;
    room_ = 0;
    if (inBlock != 0 && bases_.back() >= 0) {
      base_ = bases_.back();
      room_ = BlockLines - inBlock;
    }
  }

  // The last block, whose starts so far run from `first` to `end`, keeps them whole from now on.
  void Widen(size_t first, size_t end)
  {
    std::vector<int64_t> whole;
    whole.reserve(BlockLines);
    for (size_t k = first; k < end; ++k)
      whole.push_back((*this)[k]);
    wide_.push_back(std::move(whole));
    bases_.back() = ~static_cast<int64_t>(wide_.size() - 1);
    room_ = 0;
  }

  std::vector<int64_t> bases_;   // each block's first start, or ~n for whole starts in wide_[n]
  std::vector<Offset> offsets_;  // start minus the block's first; unused in a wide block
  std::vector<std::vector<int64_t>> wide_;
  // Where the last block is narrow: its base and how many more offsets it takes; else no room.
  int64_t base_ = 0;
  size_t room_ = 0;
};

// Called now and then while a file loads, with the work done so far and the whole work (each a
// count of bytes passed over): true goes on, false breaks the load off. A long load lets the
// caller serve its window and look at a Break button this way.
using MemoLoadStep = std::function<bool(int64_t done, int64_t total)>;

class MemoStore {
public:
  MemoStore() { starts_.Push(0); }

  // Reads the whole file, then splits it: CR LF, LF CR, a lone CR and a lone LF are one break
  // each, a final break adds no line, NUL is an ordinary byte. Throws EFOpenError and keeps the
  // old text when the file cannot be opened. False, with the old text kept too, when the step
  // broke the load off.
  bool LoadFromFile(const AnsiString& fileName, const MemoLoadStep& step = {});
  // Split as on load.
  void SetText(std::string_view text);

  // The stored lines. Indexes are checked by the caller; a view stays valid until the next
  // change.
  int64_t Count() const { return static_cast<int64_t>(starts_.Size()) - 1; }
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
  class Steps;
  bool Adopt(AnsiString bytes, Steps& steps);
  // The index with the starts from `from` on, moved by delta, in the place of those from
  // `keep` on.
  MemoLineStarts<uint16_t> Restarted(size_t keep, size_t from, int64_t delta) const;
  void Remeasure();

  AnsiString text_;
  // starts_[i] is where line i begins in text_; one more entry after the last line, where a
  // line after it would begin (past the end of text_ when the text ends without a break).
  // Two bytes a line hold the starts of lines up to about 1 KB long.
  MemoLineStarts<uint16_t> starts_;
  int64_t maxLength_ = 0;
};
