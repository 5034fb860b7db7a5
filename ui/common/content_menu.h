#pragma once

#include <initializer_list>

class QAction;
class QContextMenuEvent;
class QMdiSubWindow;

namespace teravo {

// A child window's own menu: shows the visible `actions` when the right click lies in the
// window's content and returns true. On the title bar it returns false, so the window keeps
// its system menu (restore, move, close ...).
bool ShowContentMenu(QMdiSubWindow& window, const QContextMenuEvent& event,
                     std::initializer_list<QAction*> actions);

}  // namespace teravo
