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

AnsiString ClipboardFileName()
{
  QClipboard* clipboard = Clipboard();
  if (!clipboard)
    return AnsiString();
  if (const QMimeData* data = clipboard->mimeData(); data && data->hasUrls())
    for (const QUrl& url : data->urls())
      if (url.isLocalFile())
        return QStringToFileName(url.toLocalFile());
  const QString text = clipboard->text();
  const QString trimmed = text.trimmed();
  if (trimmed.startsWith(QLatin1String("file://"), Qt::CaseInsensitive)) {
    const QUrl url(trimmed);
    if (url.isLocalFile())
      return QStringToFileName(url.toLocalFile());
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
