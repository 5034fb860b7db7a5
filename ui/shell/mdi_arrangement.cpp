#include "ui/shell/mdi_arrangement.h"

#include <algorithm>
#include <vector>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>

namespace teravo {

namespace {

// Shown, not minimised windows in the order they were opened.
std::vector<QMdiSubWindow*> ShownWindows(const QMdiArea& area) {
  std::vector<QMdiSubWindow*> shown;
  for (QMdiSubWindow* window : area.subWindowList(QMdiArea::CreationOrder))
    if (window->isVisible() && !window->isMinimized()) shown.push_back(window);
  return shown;
}

// Leaves the rest of the windows to the layout code: a maximised window ignores geometry.
void Normalise(QMdiSubWindow* window) {
  if (window->isMaximized()) window->showNormal();
}

}  // namespace

QRect FreeArea(const QMdiArea& area) {
  const QRect frame = area.viewport()->rect();
  int top = frame.bottom() + 1;
  for (QMdiSubWindow* window : area.subWindowList())
    if (window->isVisible() && window->isMinimized()) top = std::min(top, window->y());
  // So many minimised windows that they fill the frame: the upper half still belongs to the
  // shown windows, or nothing could be read at all.
  top = std::max(top, frame.top() + frame.height() / 2);
  QRect free = frame;
  free.setBottom(top - 1);
  return free;
}

void KeepClearOfMinimised(QMdiSubWindow& window) {
  if (!window.mdiArea() || !window.isVisible() || window.isMinimized() || window.isMaximized())
    return;
  const QRect free = FreeArea(*window.mdiArea());
  QRect place = window.geometry();
  place.setWidth(std::min(place.width(), free.width()));
  place.setHeight(std::min(place.height(), free.height()));
  if (place.right() > free.right()) place.moveRight(free.right());
  if (place.bottom() > free.bottom()) place.moveBottom(free.bottom());
  place.moveLeft(std::max(place.left(), free.left()));
  place.moveTop(std::max(place.top(), free.top()));
  if (place != window.geometry()) window.setGeometry(place);
}

void TileStacked(QMdiArea& area) {
  const std::vector<QMdiSubWindow*> shown = ShownWindows(area);
  if (shown.empty()) return;
  const QRect free = FreeArea(area);
  const int height = free.height() / static_cast<int>(shown.size());
  // Strips lower than this show a title and a scroll bar, nothing of a chart: then the
  // windows are cascaded, each as large as the offsets leave.
  if (height < kLeastTiledHeight) {
    Cascade(area);
    return;
  }
  int top = free.top();
  for (QMdiSubWindow* window : shown) {
    Normalise(window);
    window->setGeometry(free.left(), top, free.width(), height);
    top += height;
  }
}

void Cascade(QMdiArea& area) {
  std::vector<QMdiSubWindow*> shown = ShownWindows(area);
  if (shown.empty()) return;
  // The active window ends on top, at the last offset.
  if (const auto active = std::find(shown.begin(), shown.end(), area.activeSubWindow());
      active != shown.end())
    std::rotate(active, active + 1, shown.end());

  const QRect free = FreeArea(area);
  const int step = area.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, shown.front()) +
                   area.style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
  const int count = static_cast<int>(shown.size());
  // As large as the offsets leave, but never less than two thirds of the free area: past
  // that the offsets start again from the corner.
  const QSize size(std::max(free.width() - (count - 1) * step, free.width() * 2 / 3),
                   std::max(free.height() - (count - 1) * step, free.height() * 2 / 3));
  const int room = std::min(free.width() - size.width(), free.height() - size.height());
  const int places = std::max(1, room / std::max(1, step) + 1);
  for (int i = 0; i < count; ++i) {
    QMdiSubWindow* window = shown[static_cast<std::size_t>(i)];
    Normalise(window);
    const int offset = (i % places) * step;
    window->setGeometry(QRect(free.topLeft() + QPoint(offset, offset), size));
    window->raise();
  }
}

void ArrangeMinimised(QMdiArea& area) {
  const QSize frame = area.viewport()->size();
  int left = 0;
  int bottom = frame.height();
  for (QMdiSubWindow* window : area.subWindowList()) {
    if (!window->isVisible() || !window->isMinimized()) continue;
    const QSize icon = window->size();
    if (left > 0 && left + icon.width() > frame.width()) {
      left = 0;
      bottom -= icon.height();
    }
    window->move(left, bottom - icon.height());
    left += icon.width();
  }
  for (QMdiSubWindow* window : ShownWindows(area)) KeepClearOfMinimised(*window);
}

}  // namespace teravo
