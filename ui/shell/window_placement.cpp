#include "ui/shell/window_placement.h"

#include <algorithm>

#include <QScreen>
#include <QWidget>

namespace teravo {

namespace {

QRect Available(const QWidget& widget) {
  const QScreen* screen = widget.screen();
  return screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
}

// The width and height the window system adds around a window's geometry(). Before its
// first showing a window has no frame yet: it will get one like `like`'s.
QSize FrameExtra(const QWidget& window, const QWidget& like) {
  const QWidget& framed = window.isVisible() ? window : like;
  return framed.frameGeometry().size() - framed.geometry().size();
}

// Moves `place` (a frame) as little as needed to lie within `screen`.
QRect KeptOn(QRect place, const QRect& screen) {
  place.moveRight(std::min(place.right(), screen.right()));
  place.moveBottom(std::min(place.bottom(), screen.bottom()));
  place.moveLeft(std::max(place.left(), screen.left()));
  place.moveTop(std::max(place.top(), screen.top()));
  return place;
}

}  // namespace

void PlaceCentred(QWidget& window, const QWidget& over) {
  const QRect screen = Available(over);
  const QSize extra = FrameExtra(window, over);
  QSize size = window.testAttribute(Qt::WA_Resized) ? window.size() : window.sizeHint();
  size = size.expandedTo(window.minimumSizeHint()).boundedTo(screen.size() - extra);
  window.resize(size);
  QRect frame(QPoint(), size + extra);
  frame.moveCenter(over.frameGeometry().center());
  window.move(KeptOn(frame, screen).topLeft());
}

void PlaceOnScreen(QWidget& window, int minimumWidth) {
  const QRect screen = Available(window);
  const QSize size(std::min(screen.width(), std::max(screen.width() * 3 / 4, minimumWidth)),
                   screen.height() * 3 / 4);
  QRect place(QPoint(), size);
  place.moveCenter(screen.center());
  window.setGeometry(place);
}

}  // namespace teravo
