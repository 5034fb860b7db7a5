#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stop_token>
#include <string_view>
#include <thread>
#include <type_traits>
#include <utility>

#include <QElapsedTimer>
#include <QList>
#include <QObject>

#include "play/command_outcome.h"

class QAction;
class QMainWindow;
class QString;

namespace teravo {

inline constexpr std::string_view kPlaysBusy =
    "Дождитесь окончания розыгрыша или остановите его (Esc).";

class BackgroundRun;
class ProgressLine;

// What a job on the worker thread knows of its run.
class BackgroundJob {
 public:
  // Esc, the stop button or the end of the run.
  const std::stop_token& Stop() const { return stop_; }
  // The run was dropped: work that only its result would need may be skipped.
  bool Abandoned() const;
  // `show` runs in the window thread unless a later report replaces it first, so that a fast
  // job cannot flood the window thread; it should carry the values it shows.
  void Report(std::function<void()> show) const;

 private:
  friend class BackgroundRun;
  struct Channel;
  BackgroundJob(BackgroundRun& run, std::uint64_t id, std::stop_token stop,
                std::shared_ptr<Channel> channel);

  BackgroundRun& run_;
  std::uint64_t id_;
  std::stop_token stop_;
  std::shared_ptr<Channel> channel_;
};

// One long job at a time for a main window, with its progress and a stop button in the status
// line. While it runs, the given commands are disabled (and those enabled before come back
// after it), Esc and the stop button stop it, and a second start is refused with kPlaysBusy.
// A job runs either on a worker thread, the window thread staying free, or here in the window
// thread (a play with live charts), which then looks at its events now and then.
class BackgroundRun : public QObject {
  Q_OBJECT
 public:
  // When a worker's run ends: as its result arrives, before it is handed on; or only on End(),
  // for a result that takes more turns of the event loop to show (and cannot be stopped).
  enum class Ending { WithResult, OnEnd };

  // `stopText` names the stop; the stop button's tip adds its key.
  BackgroundRun(QMainWindow& window, QList<QAction*> commands, const QString& stopText);
  // A running job is stopped and waited for; its result is dropped. Touches no widget: the
  // window may be partly gone.
  ~BackgroundRun() override;

  // One more command to disable while a job runs.
  void AddCommand(QAction* command) { commands_.push_back(command); }

  // Ran when nothing runs, else refused with kPlaysBusy: for a command that must not take its
  // first steps (seeds, questions) while it would be refused.
  CommandOutcome CanStart() const;

  // Runs `job(const BackgroundJob&)` on a worker thread and hands its result to
  // `finished(Result&&)` in the window thread, unless the run is ended first. The status line
  // shows at once what the caller set in it. The job reports its own errors in its result.
  template <class Job, class Finished>
  CommandOutcome StartInBackground(Job job, Finished finished, Ending ending = Ending::WithResult);

  // Runs `job(stop)` here in the window thread and returns what it returns (a failure when it
  // throws). Input other than Esc and the stop button waits; the job is to call LookAtEvents()
  // often. Closing the window stops the job first and closes it once the job has returned.
  CommandOutcome RunHere(const std::function<CommandOutcome(std::stop_token)>& job);
  // From inside RunHere's job: now and then, what waits in the event queue; after a second
  // the status line shows that something runs.
  void LookAtEvents();

  bool Running() const { return kind_ != Kind::None; }
  // Esc and the stop button: the job ends early, and its result still follows.
  void Stop();
  // Ends the run: a worker still running is stopped and waited for, and its result dropped.
  // A job here in the window thread ends when it returns: it is only stopped.
  void End();

  ProgressLine& Progress() const { return *progress_; }
  QAction& StopAction() const { return *stop_; }

 signals:
  // The run ended, was stopped or dropped, and the commands are back.
  void Ended();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class BackgroundJob;
  enum class Kind { None, Here, Worker, Finishing };
  // Hands a worker's result on, in the window thread.
  using Delivery = std::function<void()>;
  using Work = std::function<Delivery(const BackgroundJob&)>;

  CommandOutcome Launch(Work work, Ending ending);
  void ShowProgress(std::uint64_t id, BackgroundJob::Channel& channel);
  void Deliver(std::uint64_t id, const Delivery& delivery);
  void Begin(Kind kind);
  void Restore();
  void DropWorker();
  // Closing the window: a worker's run is dropped at once, a job here first stopped.
  bool OnClose(QEvent* event);
  bool BlocksInput(QObject* watched, QEvent* event);

  QMainWindow& window_;
  QList<QAction*> commands_;
  QList<bool> wereEnabled_;
  ProgressLine* progress_;
  QAction* stop_;
  Kind kind_ = Kind::None;
  Ending ending_ = Ending::WithResult;
  std::uint64_t run_ = 0;  // a late result or report of a dropped run is known by it
  std::stop_source hereStop_;
  QElapsedTimer hereClock_;
  QElapsedTimer sinceEvents_;
  bool closeAfterRun_ = false;
  std::shared_ptr<BackgroundJob::Channel> channel_;
  // Last, so that it is joined before the members it uses are gone.
  std::jthread worker_;
};

template <class Job, class Finished>
CommandOutcome BackgroundRun::StartInBackground(Job job, Finished finished, Ending ending) {
  using Result = std::invoke_result_t<Job&, const BackgroundJob&>;
  return Launch(
      [job = std::move(job), finished = std::move(finished)](const BackgroundJob& worker) mutable {
        // Shared, since a Delivery is copied.
        auto result = std::make_shared<Result>(job(worker));
        return Delivery([finished, result] { finished(std::move(*result)); });
      },
      ending);
}

}  // namespace teravo
