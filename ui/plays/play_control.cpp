#include "ui/plays/play_control.h"

#include <chrono>
#include <string>
#include <utility>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMdiArea>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include "play/commands.h"
#include "play/series.h"
#include "ui/common/locale_text.h"
#include "ui/common/progress_line.h"
#include "ui/plays/qt_play_host.h"
#include "ui/plays/series_runner.h"
#include "ui/plays/staged_host.h"

namespace teravo {

namespace {

// A play looks at its events this often: Esc answers at once and the window repaints
// smoothly, while the play loses next to nothing.
constexpr qint64 kEventsEveryMs = 30;
// A shorter play is over before the user could want to stop it.
constexpr qint64 kShowPlayAfterMs = 1000;
// The windows of a series open in slices this long, well inside what a user notices.
constexpr std::chrono::milliseconds kOpeningSlice{20};
// Painting a frame full of minimised windows costs more than opening a few of them: while
// they open, the frame is painted this often.
constexpr qint64 kOpeningPaintMs = 500;

bool IsInput(QEvent::Type type) {
  switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
      return true;
    default:
      return false;
  }
}

bool IsKey(QEvent::Type type) {
  return type == QEvent::KeyPress || type == QEvent::KeyRelease || type == QEvent::ShortcutOverride;
}

}  // namespace

PlayControl::PlayControl(QMainWindow& window, QMdiArea& area, QtPlayHost& host,
                         QList<QAction*> commands)
    : window_(window),
      area_(area),
      host_(host),
      commands_(std::move(commands)),
      progress_(new ProgressLine(&window)),
      stop_(new QAction(ToQString("Остановить розыгрыш"), &window)),
      runner_(new SeriesRunner(this)) {
  window_.statusBar()->addPermanentWidget(progress_);
  progress_->hide();
  stop_->setObjectName(QStringLiteral("aStopPlay"));
  stop_->setShortcut(QKeySequence(Qt::Key_Escape));
  stop_->setEnabled(false);
  // Like F2-F4, wherever the focus is in the main window.
  window_.addAction(stop_);
  connect(stop_, &QAction::triggered, this, &PlayControl::Stop);
  connect(progress_, &ProgressLine::StopRequested, this, &PlayControl::Stop);
  window_.installEventFilter(this);
  nextSlice_.setSingleShot(true);
  nextSlice_.setInterval(0);
  connect(&nextSlice_, &QTimer::timeout, this, &PlayControl::OpenInTurns);
}

PlayControl::~PlayControl() {
  // The runner is a child, deleted after this body; its worker refers to nothing of ours,
  // but nothing should keep playing for a window that is going.
  runner_->Abandon();
}

void PlayControl::BeginRun(Kind kind) {
  kind_ = kind;
  wereEnabled_.clear();
  for (QAction* command : commands_) {
    wereEnabled_.push_back(command->isEnabled());
    command->setEnabled(false);
  }
  stop_->setEnabled(true);
}

void PlayControl::EndRun() {
  kind_ = Kind::None;
  for (qsizetype i = 0; i < wereEnabled_.size(); ++i) commands_[i]->setEnabled(wereEnabled_[i]);
  stop_->setEnabled(false);
  progress_->hide();
}

void PlayControl::Stop() {
  if (kind_ == Kind::Series) runner_->Stop();
  if (kind_ == Kind::Play) playStop_.request_stop();
}

void PlayControl::StartSeries(TTeravo& model, const PlayContext& context, Report report) {
  if (Running()) {
    report(CommandOutcome::Refused(std::string(kPlaysBusy)));
    return;
  }
  const CommandOutcome check = CheckBeforeRun(model, model.FK, true, 0);
  if (!check.ran()) {
    report(check);
    return;
  }
  SeriesStart start;
  const CommandOutcome began = Guarded([&] {
    start = BeginSeries(model, model.FK);
    return CommandOutcome::Ran();
  });
  if (!began.ran()) {
    report(began);
    return;
  }
  BeginRun(Kind::Series);
  report_ = std::move(report);
  progress_->ShowSeries(model.FK);
  progress_->show();
  // The model and the host stay on this thread: only the finishing call, queued back here,
  // uses them.
  runner_->Start(
      model.Parameters(), start, context, 0,
      [this](int playsDone, int /*playsTotal*/) { progress_->SetPlaysDone(playsDone); },
      [this, &model](SeriesLeft&& left) { OpenSeriesWindows(model, std::move(left)); });
}

void PlayControl::OpenSeriesWindows(TTeravo& model, SeriesLeft&& left) {
  if (left.opened) {
    model.FPlayCount = left.playCount;
    model.FShowProgress = left.showProgress;
  }
  opening_ = std::move(left.windows);
  openingOutcome_ = std::move(left.outcome);
  stop_->setEnabled(false);
  progress_->ShowOpening(static_cast<int>(opening_->Steps()));
  area_.viewport()->setUpdatesEnabled(false);
  sincePainted_.start();
  OpenInTurns();
}

void PlayControl::OpenInTurns() {
  if (!opening_) return;
  QWidget& frame = *area_.viewport();
  if (sincePainted_.elapsed() >= kOpeningPaintMs) {
    // A turn of its own: the paint alone takes about as long as a slice.
    frame.setUpdatesEnabled(true);
    frame.repaint();
    frame.setUpdatesEnabled(false);
    sincePainted_.start();
    nextSlice_.start();
    return;
  }
  bool done = true;
  const CommandOutcome slice = Guarded([&] {
    done = opening_->PassOn(host_, kOpeningSlice);
    return CommandOutcome::Ran();
  });
  if (!slice.ran() && openingOutcome_.ran()) openingOutcome_ = slice;
  if (slice.ran() && !done) {
    progress_->SetStepsDone(static_cast<int>(opening_->Passed()));
    nextSlice_.start();
    return;
  }
  opening_.reset();
  frame.setUpdatesEnabled(true);
  EndRun();
  const Report report = std::move(report_);
  report(openingOutcome_);
  emit RunEnded();
}

CommandOutcome PlayControl::RunPlay(const PlayCommand& play) {
  if (Running()) return CommandOutcome::Refused(std::string(kPlaysBusy));
  playStop_ = std::stop_source();
  BeginRun(Kind::Play);
  qApp->installEventFilter(this);
  playClock_.start();
  sinceEvents_.start();
  host_.SetAfterRepaint([this] { LookAtEvents(); });
  PlayOptions options;
  options.stop = playStop_.get_token();
  const CommandOutcome outcome = Guarded([&] { return play(options); });
  host_.SetAfterRepaint(nullptr);
  qApp->removeEventFilter(this);
  EndRun();
  if (closeAfterPlay_) {
    closeAfterPlay_ = false;
    QMetaObject::invokeMethod(&window_, &QWidget::close, Qt::QueuedConnection);
  }
  emit RunEnded();
  return outcome;
}

void PlayControl::LookAtEvents() {
  if (sinceEvents_.elapsed() < kEventsEveryMs) return;
  if (progress_->isHidden() && playClock_.elapsed() >= kShowPlayAfterMs) {
    progress_->ShowPlay();
    progress_->show();
  }
  QCoreApplication::processEvents();
  sinceEvents_.start();
}

bool PlayControl::OnClose(QEvent* event) {
  if (kind_ == Kind::Play) {
    // The play is further down this very stack: it must unwind before the window goes.
    event->ignore();
    closeAfterPlay_ = true;
    Stop();
    return true;
  }
  if (kind_ == Kind::Series) {
    runner_->Abandon();
    opening_.reset();
    nextSlice_.stop();
    area_.viewport()->setUpdatesEnabled(true);
    EndRun();
    emit RunEnded();
  }
  return false;
}

bool PlayControl::BlocksInput(QObject* watched, QEvent* event) {
  // The window system's windows pass input on to the widgets; it is stopped there.
  if (!watched->isWidgetType() || !IsInput(event->type())) return false;
  if (IsKey(event->type()) && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    // Taken here rather than by the shortcut, so that no focused widget can keep it.
    if (event->type() == QEvent::KeyPress) Stop();
    event->accept();
    return true;
  }
  if (watched == progress_->StopButton()) return false;
  // An overridden shortcut does not fire, and the key press that follows is dropped.
  event->accept();
  return true;
}

bool PlayControl::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &window_ && event->type() == QEvent::Close && OnClose(event)) return true;
  if (kind_ == Kind::Play && BlocksInput(watched, event)) return true;
  return QObject::eventFilter(watched, event);
}

}  // namespace teravo
