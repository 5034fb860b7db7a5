#include "ui/common/background_run.h"

#include <atomic>
#include <mutex>
#include <string>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>

#include "ui/common/locale_text.h"
#include "ui/common/progress_line.h"

namespace teravo {

namespace {

// A job here looks at its events this often: Esc answers at once and the window repaints
// smoothly, while the job loses next to nothing.
constexpr qint64 kEventsEveryMs = 30;
// A shorter job is over before the user could want to stop it.
constexpr qint64 kShowHereAfterMs = 1000;

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

// Shared by the worker and the reports it has queued, which may outlive the run.
struct BackgroundJob::Channel {
  std::atomic<bool> abandoned{false};
  std::mutex mutex;
  std::function<void()> latest;
  bool queued = false;
};

BackgroundJob::BackgroundJob(BackgroundRun& run, std::uint64_t id, std::stop_token stop,
                             std::shared_ptr<Channel> channel)
    : run_(run), id_(id), stop_(std::move(stop)), channel_(std::move(channel)) {}

bool BackgroundJob::Abandoned() const {
  return channel_->abandoned;
}

void BackgroundJob::Report(std::function<void()> show) const {
  {
    const std::lock_guard lock(channel_->mutex);
    channel_->latest = std::move(show);
    if (std::exchange(channel_->queued, true)) return;
  }
  QMetaObject::invokeMethod(
      &run_, [run = &run_, id = id_, channel = channel_] { run->ShowProgress(id, *channel); },
      Qt::QueuedConnection);
}

BackgroundRun::BackgroundRun(QMainWindow& window, QList<QAction*> commands, const QString& stopText)
    : window_(window),
      commands_(std::move(commands)),
      progress_(new ProgressLine(&window)),
      stop_(new QAction(stopText, &window)) {
  progress_->StopButton()->setToolTip(stopText + ToQString(" (Esc)"));
  window_.statusBar()->addPermanentWidget(progress_);
  progress_->hide();
  // Every run's stop has Esc; only the one of the run going is enabled.
  stop_->setShortcut(QKeySequence(Qt::Key_Escape));
  stop_->setEnabled(false);
  // Like F2-F4, wherever the focus is in the main window.
  window_.addAction(stop_);
  connect(stop_, &QAction::triggered, this, &BackgroundRun::Stop);
  connect(progress_, &ProgressLine::StopRequested, this, &BackgroundRun::Stop);
  window_.installEventFilter(this);
}

BackgroundRun::~BackgroundRun() {
  DropWorker();
}

CommandOutcome BackgroundRun::CanStart() const {
  if (Running()) return CommandOutcome::Refused(std::string(kPlaysBusy));
  return CommandOutcome::Ran();
}

CommandOutcome BackgroundRun::Launch(Work work, Ending ending) {
  if (CommandOutcome can = CanStart(); !can.ran()) return can;
  const std::uint64_t id = ++run_;
  ending_ = ending;
  channel_ = std::make_shared<BackgroundJob::Channel>();
  Begin(Kind::Worker);
  progress_->show();
  worker_ =
      std::jthread([this, id, channel = channel_, work = std::move(work)](std::stop_token stop) {
        const Delivery delivery = work(BackgroundJob(*this, id, std::move(stop), channel));
        QMetaObject::invokeMethod(
            this, [this, id, delivery] { Deliver(id, delivery); }, Qt::QueuedConnection);
      });
  return CommandOutcome::Ran();
}

void BackgroundRun::ShowProgress(std::uint64_t id, BackgroundJob::Channel& channel) {
  std::function<void()> show;
  {
    const std::lock_guard lock(channel.mutex);
    show = std::exchange(channel.latest, nullptr);
    channel.queued = false;
  }
  if (id == run_ && kind_ == Kind::Worker && show) show();
}

void BackgroundRun::Deliver(std::uint64_t id, const Delivery& delivery) {
  if (id != run_ || kind_ != Kind::Worker) return;
  worker_.join();
  kind_ = Kind::Finishing;
  stop_->setEnabled(false);
  progress_->StopButton()->setEnabled(false);
  if (ending_ == Ending::WithResult) Restore();
  delivery();
}

CommandOutcome BackgroundRun::RunHere(const std::function<CommandOutcome(std::stop_token)>& job) {
  if (CommandOutcome can = CanStart(); !can.ran()) return can;
  hereStop_ = std::stop_source();
  Begin(Kind::Here);
  qApp->installEventFilter(this);
  hereClock_.start();
  sinceEvents_.start();
  const CommandOutcome outcome = Guarded([&] { return job(hereStop_.get_token()); });
  qApp->removeEventFilter(this);
  Restore();
  if (std::exchange(closeAfterRun_, false))
    QMetaObject::invokeMethod(&window_, &QWidget::close, Qt::QueuedConnection);
  return outcome;
}

void BackgroundRun::LookAtEvents() {
  if (kind_ != Kind::Here || sinceEvents_.elapsed() < kEventsEveryMs) return;
  if (progress_->isHidden() && hereClock_.elapsed() >= kShowHereAfterMs) {
    progress_->ShowPlay();
    progress_->show();
  }
  QCoreApplication::processEvents();
  sinceEvents_.start();
}

void BackgroundRun::Stop() {
  if (kind_ == Kind::Worker) worker_.request_stop();
  if (kind_ == Kind::Here) hereStop_.request_stop();
}

void BackgroundRun::End() {
  if (kind_ == Kind::Here) {
    Stop();
    return;
  }
  DropWorker();
  Restore();
}

void BackgroundRun::Begin(Kind kind) {
  kind_ = kind;
  wereEnabled_.clear();
  for (QAction* command : commands_) {
    wereEnabled_.push_back(command->isEnabled());
    command->setEnabled(false);
  }
  stop_->setEnabled(true);
  progress_->StopButton()->setEnabled(true);
}

void BackgroundRun::Restore() {
  if (kind_ == Kind::None) return;
  kind_ = Kind::None;
  for (qsizetype i = 0; i < wereEnabled_.size(); ++i) commands_[i]->setEnabled(wereEnabled_[i]);
  stop_->setEnabled(false);
  progress_->hide();
  emit Ended();
}

void BackgroundRun::DropWorker() {
  if (!worker_.joinable()) return;
  channel_->abandoned = true;
  worker_.request_stop();
  worker_.join();
}

bool BackgroundRun::OnClose(QEvent* event) {
  if (kind_ == Kind::Here) {
    // The job is further down this very stack: it must unwind before the window goes.
    event->ignore();
    closeAfterRun_ = true;
    Stop();
    return true;
  }
  End();
  return false;
}

bool BackgroundRun::BlocksInput(QObject* watched, QEvent* event) {
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

bool BackgroundRun::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &window_ && event->type() == QEvent::Close && OnClose(event)) return true;
  if (kind_ == Kind::Here && BlocksInput(watched, event)) return true;
  return QObject::eventFilter(watched, event);
}

}  // namespace teravo
