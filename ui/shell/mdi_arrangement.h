#pragma once

#include <QRect>

class QMdiArea;
class QMdiSubWindow;

namespace teravo {

// The child windows of the main window share the frame with the row (or rows) of minimised
// windows that QMdiArea keeps along its bottom. A series leaves hundreds of those, and a
// window that covers them hides the plays from the user, so everything placed here keeps
// clear of them.

// The part of the frame above the minimised windows (the whole frame when there are none).
QRect FreeArea(const QMdiArea& area);

// Moves and, if it must, shrinks a shown, not maximised window into the free area.
void KeepClearOfMinimised(QMdiSubWindow& window);

// The least height a tiled window gets.
inline constexpr int kLeastTiledHeight = 200;

// The shown windows stacked one under another across the whole free area; cascaded instead
// when there are so many that each would be lower than kLeastTiledHeight.
void TileStacked(QMdiArea& area);
// The shown windows one behind another, each offset by a title bar, each as large as the
// free area allows.
void Cascade(QMdiArea& area);
// The minimised windows in rows along the bottom, and the shown ones clear of them.
void ArrangeMinimised(QMdiArea& area);

}  // namespace teravo
