#include "ui/plays/play_control.h"

#include <chrono>
#include <stop_token>
#include <utility>

#include <QAction>
#include <QMainWindow>
#include <QMdiArea>

#include "play/commands.h"
#include "play/series.h"
#include "ui/common/locale_text.h"
#include "ui/common/progress_line.h"
#include "ui/plays/qt_play_host.h"
#include "ui/plays/series_job.h"
#include "ui/plays/staged_host.h"

namespace teravo {

namespace {

// The windows of a series open in slices this long, well inside what a user notices.
constexpr std::chrono::milliseconds kOpeningSlice{20};
// Painting a frame full of minimised windows costs more than opening a few of them: while
// they open, the frame is painted this often.
constexpr qint64 kOpeningPaintMs = 500;

}  // namespace

PlayControl::PlayControl(QMainWindow& window, QMdiArea& area, QtPlayHost& host,
                         QList<QAction*> commands)
    : area_(area),
      host_(host),
      run_(window, std::move(commands), ToQString("Остановить розыгрыш")) {
  run_.StopAction().setObjectName(QStringLiteral("aStopPlay"));
  connect(&run_, &BackgroundRun::Ended, this, &PlayControl::DropSeries);
  connect(&run_, &BackgroundRun::Ended, this, &PlayControl::RunEnded);
  nextSlice_.setSingleShot(true);
  nextSlice_.setInterval(0);
  connect(&nextSlice_, &QTimer::timeout, this, &PlayControl::OpenInTurns);
}

PlayControl::~PlayControl() = default;

void PlayControl::StartSeries(TTeravo& model, const PlayContext& context, Report report) {
  if (const CommandOutcome can = run_.CanStart(); !can.ran()) {
    report(can);
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
    start.startedAt = context.Now();
    return CommandOutcome::Ran();
  });
  if (!began.ran()) {
    report(began);
    return;
  }
  report_ = std::move(report);
  run_.Progress().ShowSeries(model.FK);
  // The model and the host stay on this thread: only the finishing call uses them.
  run_.StartInBackground(
      [this, parameters = model.Parameters(), start, context](const BackgroundJob& job) {
        SeriesOptions options;
        options.progress = [this, &job](int playsDone, int /*playsTotal*/) {
          job.Report([this, playsDone] { run_.Progress().SetPlaysDone(playsDone); });
        };
        return PlaySeriesForWindows(parameters, start, context, std::move(options), job);
      },
      [this, &model](SeriesLeft&& left) { OpenSeriesWindows(model, std::move(left)); },
      BackgroundRun::Ending::OnEnd);
}

void PlayControl::OpenSeriesWindows(TTeravo& model, SeriesLeft&& left) {
  if (left.opened) {
    model.FPlayCount = left.playCount;
    model.FShowProgress = left.showProgress;
  }
  opening_ = std::move(left.windows);
  openingOutcome_ = std::move(left.outcome);
  run_.Progress().ShowOpening(static_cast<int>(opening_->Steps()));
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
    run_.Progress().SetStepsDone(static_cast<int>(opening_->Passed()));
    nextSlice_.start();
    return;
  }
  opening_.reset();
  frame.setUpdatesEnabled(true);
  const Report report = std::exchange(report_, nullptr);
  run_.End();
  report(openingOutcome_);
}

void PlayControl::DropSeries() {
  report_ = nullptr;
  if (!opening_) return;
  opening_.reset();
  nextSlice_.stop();
  area_.viewport()->setUpdatesEnabled(true);
}

CommandOutcome PlayControl::RunPlay(const PlayCommand& play) {
  return run_.RunHere([&](std::stop_token stop) {
    // The play's repaints are where it lets the window thread look at its events.
    host_.SetAfterRepaint([this] { run_.LookAtEvents(); });
    PlayOptions options;
    options.stop = std::move(stop);
    const CommandOutcome outcome = Guarded([&] { return play(options); });
    host_.SetAfterRepaint(nullptr);
    return outcome;
  });
}

}  // namespace teravo
