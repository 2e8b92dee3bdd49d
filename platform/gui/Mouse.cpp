#include "Mouse.h"

#include <QApplication>
#include <QCursor>

TPoint TMouse::CursorPos() const
{
  const QPoint p = QCursor::pos();
  return TPoint{p.x(), p.y()};
}

void TMouse::SetCursorPos(const TPoint& pos)
{
  QCursor::setPos(pos.x, pos.y);
}

namespace {

TMouse theMouse;

}  // namespace

TMouse* const Mouse = &theMouse;

int WheelScrollLines()
{
  return QApplication::wheelScrollLines();
}
