#include "Clipbrd.h"

#include <QClipboard>
#include <QGuiApplication>

#include "CodePage.h"
#include "TextBoundary.h"

AnsiString ClipboardText()
{
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    return AnsiString();
  return FromQString(QGuiApplication::clipboard()->text(), GetACP());
}
