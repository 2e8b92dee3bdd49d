#include "TextBoundary.h"

#include <QFile>

#include "CodePage.h"
#include "Control.h"

namespace {

int displayCodePage = 1251;

int Resolve(int codePage)
{
  return codePage == 0 ? displayCodePage : codePage;
}

bool IsAscii(std::string_view text)
{
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80)
      return false;
  return true;
}

}  // namespace

void SetDisplayCodePage(int codePage)
{
  if (codePage == displayCodePage)
    return;
  displayCodePage = codePage;
  // Texts already on screen were decoded with the old one.
  RedecodeControlTexts();
}

int DisplayCodePage()
{
  return displayCodePage;
}

QString ToQString(std::string_view text, int codePage)
{
  const auto size = static_cast<qsizetype>(text.size());
  if (IsAscii(text))
    return QString::fromLatin1(text.data(), size);
  if (IsUtf8WithHighBytes(text))
    return QString::fromUtf8(text.data(), size);
  const std::u32string wide = AnsiToUtf32(text, Resolve(codePage));
  return QString::fromUcs4(wide.data(), static_cast<qsizetype>(wide.size()));
}

AnsiString FromQString(const QString& text, int codePage)
{
  // toUcs4 pairs the surrogates; a lone one becomes U+FFFD, which no code page holds.
  const QList<uint> ucs4 = text.toUcs4();
  const std::u32string wide(ucs4.begin(), ucs4.end());
  return Utf32ToAnsi(wide, Resolve(codePage), '?');
}

QString FileNameToQString(const AnsiString& name)
{
  return QFile::decodeName(QByteArray(name.data(), static_cast<qsizetype>(name.size())));
}

AnsiString QStringToFileName(const QString& name)
{
  const QByteArray bytes = QFile::encodeName(name);
  return AnsiString(bytes.constData(), static_cast<size_t>(bytes.size()));
}
