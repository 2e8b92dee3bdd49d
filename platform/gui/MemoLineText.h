#pragma once
// One line of a memo decoded for the screen or the clipboard, with the map from its bytes to
// the decoded characters, so that byte positions (what the program counts) and characters
// (what the user sees and moves over) can be converted both ways.
#include <string_view>
#include <vector>

#include <QString>

struct MemoLineText {
  // Decodes by the display rule (TextBoundary's ToQString). For the screen, each tab becomes
  // blanks up to the next stop of 8 and each invisible control character a visible mark, so
  // that every QChar fills one cell of the fixed-pitch grid; for the clipboard both stay.
  static MemoLineText Decode(std::string_view bytes, int codePage, bool forScreen);

  QString text;
  // For each byte, the index in text of the character it belongs to (or of the first cell of
  // a tab); one more entry for the end of the line, equal to text.size().
  std::vector<int> indexOfByte;

  int Length() const { return static_cast<int>(indexOfByte.size()) - 1; }  // in bytes
  // The byte where the character holding `byte` starts, and the starts before and after it.
  int CharStart(int byte) const;
  int PrevChar(int byte) const;
  int NextChar(int byte) const;
  // The character start whose cell edge lies nearest to `cell` (screen text only).
  int ByteNearCell(int cell) const;
};
