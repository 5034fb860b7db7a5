#include "ui/play_results_window.h"

#include <QCloseEvent>
#include <QTimer>

#include "ui/locale_text.h"
#include "ui/play_results_view.h"
#include "ui/scrolling_pane.h"

namespace teravo {

TfmPlayResults::TfmPlayResults(std::shared_ptr<PlayRecord> record, QWidget* parent)
    : QMdiSubWindow(parent), record_(std::move(record)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(ToQString(record_->Title));
  // A play runs without giving control back, so these only take effect once it has ended:
  // a window left normal, or one the user restores, gets its charts then.
  QTimer::singleShot(0, this, &TfmPlayResults::BuildIfShown);
  connect(this, &QMdiSubWindow::windowStateChanged, this,
          [this] { QTimer::singleShot(0, this, &TfmPlayResults::BuildIfShown); });
}

void TfmPlayResults::ApplyState(WindowState state) {
  if (record_) setWindowTitle(ToQString(record_->Title));
  switch (state) {
    case WindowState::Maximised:
      showMaximized();
      break;
    case WindowState::Minimised:
      showMinimized();
      break;
    case WindowState::Normal:
      showNormal();
      break;
  }
  if (state != WindowState::Minimised) Build();
}

void TfmPlayResults::PaintNow() {
  if (!record_) return;
  setWindowTitle(ToQString(record_->Title));
  if (!Shown()) return;
  Build();
  view_->Show(*record_);
  repaint();
}

void TfmPlayResults::BuildIfShown() {
  if (Shown()) Build();
}

void TfmPlayResults::Build() {
  if (view_ || !record_) return;
  view_ = new PlayResultsView;
  auto* scroll = new ScrollingPane(view_);
  setWidget(scroll);
  // Left to itself, QMdiSubWindow shows a new widget through a queued call, and that late
  // showing activates this window again, after a series has activated its distributions.
  scroll->show();
  view_->Show(*record_);
}

void TfmPlayResults::closeEvent(QCloseEvent* event) {
  QMdiSubWindow::closeEvent(event);
  // The series' list must see a closed window gone at once, not when Qt deletes it later.
  if (event->isAccepted()) record_.reset();
}

}  // namespace teravo
