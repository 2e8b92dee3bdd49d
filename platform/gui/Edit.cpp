#include "Edit.h"

#include <QLineEdit>

#include "TextBoundary.h"

TEdit::TEdit(TComponent* AOwner) : TWinControl(AOwner, new HostWidget<QLineEdit>(this))
{
  FontChanged();
  SetBounds(0, 0, 121, fontHeight_);
}

QLineEdit* TEdit::Line() const
{
  return static_cast<QLineEdit*>(Widget());
}

AnsiString TEdit::Text() const
{
  // Bytes that were set survive unchanged (a UTF-8 text is not re-encoded); only what the user
  // typed is encoded.
  const QString now = Line()->text();
  return now == shown_ ? bytes_ : FromQString(now, CodePage());
}

AnsiString TEdit::Utf8Text() const
{
  const QString now = Line()->text();
  return now == shown_ ? bytes_ : now.toStdString();
}

void TEdit::SetText(const AnsiString& text)
{
  Display(text);
}

void TEdit::TextChanged()
{
  // A new code page shows the set bytes anew, unless the user has replaced them.
  if (Line()->text() == shown_)
    Display(bytes_);
}

void TEdit::Display(const AnsiString& text)
{
  bytes_ = text;
  shown_ = ToQString(text, CodePage());
  Line()->setText(shown_);
}

bool TEdit::ReadOnly() const
{
  return Line()->isReadOnly();
}

void TEdit::SetReadOnly(bool readOnly)
{
  Line()->setReadOnly(readOnly);
}

void TEdit::FontChanged()
{
  TWinControl::FontChanged();
  fontHeight_ = Line()->sizeHint().height();
  SetHeight(fontHeight_);
}

void TEdit::ConstrainSize(int&, int& height) const
{
  height = fontHeight_;
}
