#include "ui/shell/status_hint_router.h"

#include <QStatusBar>
#include <QStatusTipEvent>

namespace teravo {

StatusHintRouter::StatusHintRouter(QStatusBar* statusLine, QObject* parent)
    : QObject(parent), statusLine_(statusLine) {}

bool StatusHintRouter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::StatusTip && statusLine_)
    statusLine_->showMessage(static_cast<QStatusTipEvent*>(event)->tip());
  return QObject::eventFilter(watched, event);
}

}  // namespace teravo
