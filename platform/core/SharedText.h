#pragma once
// An immutable 8-bit text shared by reference count. A log has millions of line records but
// only a few dozen distinct keys and parameter names, so the records share one copy of each
// instead of holding their own. Eight bytes in a record; empty text costs no allocation.
// Counts are not atomic: records live on the window thread only.
#include <string_view>

#include "System.h"

class SharedText {
public:
  SharedText() = default;
  SharedText(const AnsiString& text) : block_(text.empty() ? nullptr : new Block{1, text}) {}
  SharedText(const char* text) : SharedText(text ? AnsiString(text) : AnsiString()) {}
  SharedText(const SharedText& other) : block_(other.block_) { Retain(); }
  SharedText(SharedText&& other) noexcept : block_(other.block_) { other.block_ = nullptr; }
  ~SharedText() { Release(); }

  SharedText& operator=(const SharedText& other)
  {
    if (block_ != other.block_) {
      Release();
      block_ = other.block_;
      Retain();
    }
    return *this;
  }

  SharedText& operator=(SharedText&& other) noexcept
  {
    if (this != &other) {
      Release();
      block_ = other.block_;
      other.block_ = nullptr;
    }
    return *this;
  }

  const AnsiString& Str() const { return block_ ? block_->Text : Empty(); }
  operator const AnsiString&() const { return Str(); }
  bool IsEmpty() const { return block_ == nullptr; }
  int Length() const { return static_cast<int>(Str().size()); }

  // Drops this holder's reference; the text itself goes with the last one.
  void Release()
  {
    if (block_ && --block_->Refs == 0)
      delete block_;
    block_ = nullptr;
  }

  friend bool operator==(const SharedText& a, const SharedText& b)
  {
    return a.block_ == b.block_ || a.Str() == b.Str();
  }
  friend bool operator==(const SharedText& a, const AnsiString& b) { return a.Str() == b; }
  friend bool operator==(const SharedText& a, std::string_view b) { return a.Str() == b; }
  friend bool operator==(const SharedText& a, const char* b) { return a.Str() == b; }

private:
  struct Block {
    int Refs;
    AnsiString Text;
  };

  void Retain()
  {
    if (block_)
      ++block_->Refs;
  }

  static const AnsiString& Empty()
  {
    static const AnsiString EmptyText;
    return EmptyText;
  }

  Block* block_ = nullptr;
};
