#include "TabOrder.h"

#include <QApplication>
#include <algorithm>
#include <vector>

namespace {

// Two controls stand in one row when each one's middle lies within the other's height, so a
// combo box and the taller buttons beside it are one row, a tall list beside several rows not.
bool OneRow(const QRect& a, const QRect& b)
{
  const int middleA = a.center().y(), middleB = b.center().y();
  return middleA >= b.top() && middleA <= b.bottom() && middleB >= a.top() && middleB <= a.bottom();
}

// The shown children of parent in screen order.
std::vector<QWidget*> ChildrenOnScreen(const QWidget* parent)
{
  std::vector<QWidget*> children;
  for (QObject* object : parent->children())
    if (auto* child = qobject_cast<QWidget*>(object); child && !child->isWindow() && child->isVisible())
      children.push_back(child);
  std::stable_sort(children.begin(), children.end(),
                   [](const QWidget* a, const QWidget* b) { return a->y() < b->y(); });
  std::vector<QWidget*> ordered;
  std::vector<bool> taken(children.size(), false);
  for (size_t first = 0; first < children.size(); ++first) {
    if (taken[first])
      continue;
    const size_t rowStart = ordered.size();
    for (size_t i = first; i < children.size(); ++i)
      if (!taken[i] && OneRow(children[first]->geometry(), children[i]->geometry()))
        taken[i] = true, ordered.push_back(children[i]);
    std::stable_sort(ordered.begin() + static_cast<std::ptrdiff_t>(rowStart), ordered.end(),
                     [](const QWidget* a, const QWidget* b) { return a->x() < b->x(); });
  }
  return ordered;
}

void CollectTabStops(const QWidget* parent, std::vector<QWidget*>& stops)
{
  for (QWidget* child : ChildrenOnScreen(parent)) {
    // A widget that hands its focus on to a proxy is reached through the proxy.
    if (child->isEnabled() && (child->focusPolicy() & Qt::TabFocus) && !child->focusProxy())
      stops.push_back(child);
    CollectTabStops(child, stops);
  }
}

}  // namespace

bool FocusNextInScreenOrder(QWidget* window, bool next)
{
  std::vector<QWidget*> stops;
  CollectTabStops(window, stops);
  if (stops.empty())
    return false;
  const auto count = static_cast<std::ptrdiff_t>(stops.size());
  const auto at = std::find(stops.begin(), stops.end(), QApplication::focusWidget()) - stops.begin();
  std::ptrdiff_t target;
  if (at == count)
    target = next ? 0 : count - 1;
  else
    target = (at + (next ? 1 : count - 1)) % count;
  stops[static_cast<size_t>(target)]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  return true;
}
