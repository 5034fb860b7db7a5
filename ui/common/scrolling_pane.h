#pragma once

#include <QScrollArea>

namespace teravo {

// Holds a window's content: the content fills the window when there is room and scrolls
// when the window is smaller than it (tiled, or on a small screen), so no button is lost.
// Unlike QScrollArea it asks for the whole size of its content.
class ScrollingPane : public QScrollArea {
 public:
  explicit ScrollingPane(QWidget* content, QWidget* parent = nullptr);
  QSize sizeHint() const override;
};

}  // namespace teravo
