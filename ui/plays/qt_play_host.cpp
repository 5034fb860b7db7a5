#include "ui/plays/qt_play_host.h"

#include <algorithm>

#include <QMdiArea>

#include "ui/plays/distributions_window.h"
#include "ui/plays/play_results_window.h"
#include "ui/shell/mdi_arrangement.h"

namespace teravo {

namespace {

// A new child window takes most of the frame, as the window system's default would.
QSize NewChildSize(const QMdiArea& area) {
  const QSize frame = area.viewport()->size();
  return {std::max(400, frame.width() * 3 / 4), std::max(300, frame.height() * 3 / 4)};
}

}  // namespace

QtPlayHost::QtPlayHost(QMdiArea& area, MessageSink& messages) : area_(area), messages_(messages) {}

void QtPlayHost::OpenPlayWindow(std::shared_ptr<PlayRecord> record) {
  auto* window = new TfmPlayResults(std::move(record));
  area_.addSubWindow(window);
  window->resize(NewChildSize(area_));
  window->show();
}

void QtPlayHost::ShowPlayWindow(PlayRecord& record, WindowState state) {
  TfmPlayResults* window = WindowOf(record);
  if (!window) return;
  window->ApplyState(state);
  // The averages of a series open after its plays: they must not hide them.
  if (state == WindowState::Normal) KeepClearOfMinimised(*window);
}

void QtPlayHost::Repaint(PlayRecord& record) {
  if (TfmPlayResults* window = WindowOf(record)) window->PaintNow();
  if (afterRepaint_) afterRepaint_();
}

void QtPlayHost::ClosePlayWindow(PlayRecord& record) {
  if (TfmPlayResults* window = WindowOf(record)) window->close();
}

void QtPlayHost::OpenDistributionsWindow(std::shared_ptr<DistributionsRecord> record) {
  auto* window = new TAllPlayResults(std::move(record), *this, messages_);
  area_.addSubWindow(window);
  // In the free corner opposite the averages, which open at the top left: both stay
  // readable, and the minimised plays below them stay in sight.
  const QRect free = FreeArea(area_);
  QRect place(QPoint(), window->sizeHint().boundedTo(free.size()));
  place.moveBottomRight(free.bottomRight());
  window->setGeometry(place);
  window->show();
  area_.setActiveSubWindow(window);
}

void QtPlayHost::Repaint(DistributionsRecord& record) {
  if (TAllPlayResults* window = WindowOf(record)) window->PaintNow();
}

TfmPlayResults* QtPlayHost::WindowOf(const PlayRecord& record) const {
  for (QMdiSubWindow* child : area_.subWindowList()) {
    auto* window = qobject_cast<TfmPlayResults*>(child);
    if (window && window->Record() == &record) return window;
  }
  return nullptr;
}

TAllPlayResults* QtPlayHost::WindowOf(const DistributionsRecord& record) const {
  for (QMdiSubWindow* child : area_.subWindowList()) {
    auto* window = qobject_cast<TAllPlayResults*>(child);
    if (window && window->Record() == &record) return window;
  }
  return nullptr;
}

}  // namespace teravo
