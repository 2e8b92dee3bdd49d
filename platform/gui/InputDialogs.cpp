#include "InputDialogs.h"

#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>

#include "Application.h"
#include "TextBoundary.h"

bool InputQuery(const AnsiString& ACaption, const AnsiString& APrompt, AnsiString& Value, int codePage)
{
  if (Application->CloseAsked())
    return false;
  QInputDialog dialog;
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(ToQString(ACaption));
  dialog.setLabelText(ToQString(APrompt));
  // The prompt is a QLabel, which would guess markup.
  for (QLabel* label : dialog.findChildren<QLabel*>())
    label->setTextFormat(Qt::PlainText);
  dialog.setTextValue(ToQString(Value, codePage));

  ModalLoopScope modal;
  if (dialog.exec() != QDialog::Accepted)
    return false;
  Value = FromQString(dialog.textValue(), codePage);
  return true;
}

void ShowMessage(const AnsiString& Msg)
{
  if (Application->CloseAsked())
    return;
  QMessageBox box(QMessageBox::NoIcon, ToQString(Application->Title()), ToQString(Msg), QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);
  ModalLoopScope modal;
  box.exec();
}
