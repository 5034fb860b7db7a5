#include "ui/common/content_menu.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMdiSubWindow>
#include <QMenu>

namespace teravo {

bool ShowContentMenu(QMdiSubWindow& window, const QContextMenuEvent& event,
                     std::initializer_list<QAction*> actions) {
  if (window.widget() == nullptr || !window.widget()->geometry().contains(event.pos())) {
    return false;
  }
  QMenu menu(&window);
  for (QAction* action : actions) {
    if (action->isVisible()) menu.addAction(action);
  }
  menu.exec(event.globalPos());
  return true;
}

}  // namespace teravo
