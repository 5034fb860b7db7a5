#include "ui/plays/play_results_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMdiArea>
#include <QTimer>

#include "ui/common/content_menu.h"
#include "ui/common/locale_text.h"
#include "ui/common/scrolling_pane.h"
#include "ui/plays/distributions_window.h"
#include "ui/plays/play_results_view.h"
#include "ui/plays/spread_table.h"
#include "ui/shell/window_commands.h"

namespace teravo {

TfmPlayResults::TfmPlayResults(std::shared_ptr<PlayRecord> record, QWidget* parent)
    : QMdiSubWindow(parent), record_(std::move(record)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(ToQString(record_->Title));
  CreateActions();
  // A play runs without giving control back, so these only take effect once it has ended:
  // a window left normal, or one the user restores, gets its charts then.
  QTimer::singleShot(0, this, &TfmPlayResults::BuildIfShown);
  connect(this, &QMdiSubWindow::windowStateChanged, this,
          [this] { QTimer::singleShot(0, this, &TfmPlayResults::BuildIfShown); });
}

void TfmPlayResults::CreateActions() {
  aSaveAs_ = new QAction(ToQString("Сохранить как…"), this);
  aSaveAs_->setObjectName(QStringLiteral("aSaveAs"));
  aReplay_ = new QAction(ToQString("Повторить розыгрыш"), this);
  aReplay_->setObjectName(QStringLiteral("aReplay"));
  aSpread_ = new QAction(ToQString("Разброс по розыгрышам…"), this);
  aSpread_->setObjectName(QStringLiteral("aSpread"));
  aBand_ = new QAction(ToQString("Показать полосу 5–95 %"), this);
  aBand_->setObjectName(QStringLiteral("aBand"));
  aBand_->setCheckable(true);
  aClosePlays_ = new QAction(ToQString("Закрыть розыгрыши серии"), this);
  aClosePlays_->setObjectName(QStringLiteral("aCloseSeriesPlays"));
  // What the main window does for its result windows: export and replay need its model,
  // its host and its messages, which a window does not have.
  connect(aSaveAs_, &QAction::triggered, this, [this] {
    if (WindowCommands* commands = WindowCommands::Of(*this)) commands->SaveAs(*this);
  });
  connect(aReplay_, &QAction::triggered, this, [this] {
    WindowCommands* commands = WindowCommands::Of(*this);
    if (commands && record_) commands->Replay(*record_);
  });
  connect(aSpread_, &QAction::triggered, this, &TfmPlayResults::ShowSpread);
  connect(aClosePlays_, &QAction::triggered, this, [this] {
    if (TAllPlayResults* distributions = SeriesDistributions())
      distributions->ClosePlaysAction()->trigger();
  });
  // Turns the band over from what shows, whatever state the check mark was left in.
  connect(aBand_, &QAction::triggered, this, [this] {
    bandsChosen_ = !BandsShown();
    aBand_->setChecked(*bandsChosen_);
    if (view_ && record_) {
      view_->SetBandsVisible(*bandsChosen_);
      view_->Show(*record_);
    }
  });
}

void TfmPlayResults::UpdateActions() {
  const bool averages = record_ && (record_->Kind == RecordKind::Averages);
  aSaveAs_->setEnabled(record_ != nullptr);
  aReplay_->setVisible(record_ && !averages);
  aSpread_->setVisible(averages);
  aBand_->setVisible(averages);
  aBand_->setChecked(BandsShown());
  TAllPlayResults* distributions = averages ? SeriesDistributions() : nullptr;
  aClosePlays_->setVisible(averages);
  aClosePlays_->setEnabled(distributions != nullptr);
  if (distributions) aClosePlays_->setStatusTip(distributions->ClosePlaysAction()->statusTip());
}

TAllPlayResults* TfmPlayResults::SeriesDistributions() const {
  if (!record_ || !mdiArea()) return nullptr;
  for (QMdiSubWindow* child : mdiArea()->subWindowList()) {
    auto* window = qobject_cast<TAllPlayResults*>(child);
    if (window && window->Record() && window->Record()->Averages.lock() == record_) return window;
  }
  return nullptr;
}

bool TfmPlayResults::BandsShown() const {
  if (!record_ || !(record_->Kind == RecordKind::Averages)) return false;
  return bandsChosen_.value_or(BandsByDefault(*record_));
}

void TfmPlayResults::contextMenuEvent(QContextMenuEvent* event) {
  if (record_) {
    UpdateActions();
    if (ShowContentMenu(*this, *event, {aSaveAs_, aReplay_, aSpread_, aBand_, aClosePlays_}))
      return;
  }
  QMdiSubWindow::contextMenuEvent(event);
}

void TfmPlayResults::ShowSpread() {
  if (!record_ || !(record_->Kind == RecordKind::Averages)) return;
  auto* table = new SpreadTable(*record_, windowTitle(), this);
  table->show();
}

PlayResultsView* TfmPlayResults::BuiltView() {
  Build();
  return view_;
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
  view_->SetBandsVisible(BandsShown());
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
  view_->SetBandsVisible(BandsShown());
  view_->Show(*record_);
}

void TfmPlayResults::closeEvent(QCloseEvent* event) {
  QMdiSubWindow::closeEvent(event);
  // The series' list must see a closed window gone at once, not when Qt deletes it later.
  if (event->isAccepted()) record_.reset();
}

}  // namespace teravo
