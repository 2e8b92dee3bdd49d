#include "Clipbrd.h"

#include <QClipboard>
#include <QGuiApplication>

#include "CodePage.h"
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
  return clipboard ? QStringToFileName(clipboard->text()) : AnsiString();
}
