#include "ui/common/scrolling_pane.h"

namespace teravo {

ScrollingPane::ScrollingPane(QWidget* content, QWidget* parent) : QScrollArea(parent) {
  setFrameShape(QFrame::NoFrame);
  setWidgetResizable(true);
  // The tab order belongs to the content.
  setFocusPolicy(Qt::NoFocus);
  setWidget(content);
}

QSize ScrollingPane::sizeHint() const {
  const int frame = 2 * frameWidth();
  const QSize content = widget() ? widget()->sizeHint() : QSize();
  return content + QSize(frame, frame);
}

}  // namespace teravo
