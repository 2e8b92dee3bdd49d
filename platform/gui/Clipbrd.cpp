#include "Clipbrd.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

#include "CodePage.h"
#include "Control.h"
#include "Guard.h"
#include "TextBoundary.h"

namespace {

// Null without a GUI application (no clipboard to read).
QClipboard* Clipboard()
{
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    return nullptr;
  return QGuiApplication::clipboard();
}

}  // namespace

AnsiString ClipboardText()
{
  QClipboard* clipboard = Clipboard();
  return clipboard ? FromQString(clipboard->text(), GetACP()) : AnsiString();
}

namespace {

// A URL's path as the file system's bytes: its percent-encoded bytes decoded as they are, so a
// name that is not UTF-8 ("%E9.qel") names the same file it names on the command line.
AnsiString LocalUrlFileName(const QUrl& url)
{
  const QString host = url.host();
  if (!host.isEmpty() && host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) != 0)
    return QStringToFileName(url.toLocalFile());
  const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
  return AnsiString(bytes.constData(), static_cast<size_t>(bytes.size()));
}

}  // namespace

AnsiString ClipboardFileName()
{
  QClipboard* clipboard = Clipboard();
  if (!clipboard)
    return AnsiString();
  if (const QMimeData* data = clipboard->mimeData(); data && data->hasUrls())
    for (const QUrl& url : data->urls())
      if (url.isLocalFile())
        return LocalUrlFileName(url);
  const QString text = clipboard->text();
  const QString trimmed = text.trimmed();
  if (trimmed.startsWith(QLatin1String("file://"), Qt::CaseInsensitive)) {
    const QUrl url(trimmed);
    if (url.isLocalFile())
      return LocalUrlFileName(url);
  }
  return QStringToFileName(text);
}

void WatchClipboard(TControl* receiver, std::function<void()> onChange)
{
  QClipboard* clipboard = Clipboard();
  if (!clipboard || !receiver || !receiver->Widget())
    return;
  QObject::connect(clipboard, &QClipboard::dataChanged, receiver->Widget(),
                   [onChange = std::move(onChange)] { Guarded(nullptr, onChange); });
}
