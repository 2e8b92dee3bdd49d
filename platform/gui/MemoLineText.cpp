#include "MemoLineText.h"

#include <algorithm>

#include "CodePage.h"
#include "TextBoundary.h"

namespace {

constexpr int TabStop = 8;

// Characters that draw nothing would shift every later glyph off its cell.
QChar ScreenForm(QChar ch)
{
  if (ch.category() == QChar::Other_Format)
    return ch == QChar(0x00AD) ? QLatin1Char('-') : QChar(QChar::ReplacementCharacter);
  if (ch.category() == QChar::Other_Control)
    return QChar(QChar::ReplacementCharacter);
  return ch;
}

}  // namespace

MemoLineText MemoLineText::Decode(std::string_view bytes, int codePage, bool forScreen)
{
  const QString decoded = ToQString(bytes, codePage);
  // ToQString decodes UTF-8 under this same test, and any other bytes one character each.
  const bool utf8 = IsUtf8WithHighBytes(bytes);
  MemoLineText line;
  line.indexOfByte.resize(bytes.size() + 1);
  line.text.reserve(decoded.size());
  const QChar* from = decoded.constData();
  const QChar* const end = from + decoded.size();
  size_t b = 0;
  for (; b < bytes.size() && from < end;) {
    const auto lead = static_cast<unsigned char>(bytes[b]);
    size_t sequence = 1;
    qsizetype units = 1;
    if (utf8 && lead >= 0x80) {
      sequence = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
      units = lead >= 0xF0 ? 2 : 1;  // a surrogate pair
    }
    const int at = static_cast<int>(line.text.size());
    sequence = std::min(sequence, bytes.size() - b);
    std::fill_n(line.indexOfByte.begin() + static_cast<std::ptrdiff_t>(b), sequence, at);
    if (!forScreen || units > 1)
      line.text.append(from, std::min<qsizetype>(units, end - from));
    else if (*from == QLatin1Char('\t'))
      line.text.append(QString(TabStop - at % TabStop, QLatin1Char(' ')));
    else
      line.text.append(ScreenForm(*from));
    from += units;
    b += sequence;
  }
  std::fill(line.indexOfByte.begin() + static_cast<std::ptrdiff_t>(std::min(b, bytes.size())),
            line.indexOfByte.end(), static_cast<int>(line.text.size()));
  return line;
}

int MemoLineText::CharStart(int byte) const
{
  byte = std::clamp(byte, 0, Length());
  while (byte > 0 && indexOfByte[static_cast<size_t>(byte)] == indexOfByte[static_cast<size_t>(byte) - 1])
    --byte;
  return byte;
}

int MemoLineText::PrevChar(int byte) const
{
  byte = CharStart(byte);
  return byte > 0 ? CharStart(byte - 1) : 0;
}

int MemoLineText::NextChar(int byte) const
{
  byte = CharStart(byte);
  const int length = Length();
  const int index = indexOfByte[static_cast<size_t>(byte)];
  while (byte < length && indexOfByte[static_cast<size_t>(byte)] == index)
    ++byte;
  return byte;
}

int MemoLineText::ByteNearCell(int cell) const
{
  const auto first = indexOfByte.begin();
  const auto after = std::lower_bound(first, indexOfByte.end(), cell);
  if (after == indexOfByte.end())
    return Length();
  const int next = static_cast<int>(after - first);
  if (*after == cell || next == 0)
    return next;
  const int prev = CharStart(next - 1);
  return cell - indexOfByte[static_cast<size_t>(prev)] <= *after - cell ? prev : next;
}
