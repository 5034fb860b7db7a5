#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>

#include "ui/common/background_run.h"
#include "ui/common/progress_line.h"

namespace teravo::test {
namespace {

using namespace std::chrono_literals;

// Until stopped, or ten seconds, so that a broken stop fails a test rather than hanging it;
// `between` is called while it waits.
bool WaitForStop(const std::stop_token& stop, const std::function<void()>& between = {}) {
  const auto until = std::chrono::steady_clock::now() + 10s;
  while (!stop.stop_requested() && std::chrono::steady_clock::now() < until) {
    if (between) between();
    std::this_thread::sleep_for(1ms);
  }
  return stop.stop_requested();
}

// Until `flag` is set, without looking at the window thread's events.
void WaitFor(const std::atomic<bool>& flag) {
  while (!flag) std::this_thread::sleep_for(1ms);
}

enum class Where { Worker, Here };

struct Place {
  Where where;
  const char* what;
};
constexpr Place kPlaces[] = {{Where::Worker, "worker thread"}, {Where::Here, "window thread"}};

// A shown main window with three commands, the second disabled, and a run for them.
class BackgroundRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"a", "b", "c"}) {
      auto* command = new QAction(QString::fromLatin1(name), &window_);
      window_.addAction(command);
      commands_.push_back(command);
    }
    commands_[1]->setEnabled(false);
    run_ = std::make_unique<BackgroundRun>(window_, commands_, QStringLiteral("Остановить"));
    QObject::connect(run_.get(), &BackgroundRun::Ended, [this] { ++ended_; });
    window_.resize(600, 400);
    window_.show();
    QApplication::setActiveWindow(&window_);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
  }

  // "101" when the first and the last command are enabled.
  std::string Commands() const {
    std::string states;
    for (const QAction* command : commands_) states += command->isEnabled() ? '1' : '0';
    return states;
  }

  void WaitForEnd() {
    ASSERT_TRUE(QTest::qWaitFor([this] { return !run_->Running(); }, 20000));
  }

  // Runs a job that lasts until it is stopped, `during` called in the window thread while it
  // goes; true when the job saw its stop.
  bool RunUntilStopped(Where where, const std::function<void()>& during) {
    if (where == Where::Here) {
      const CommandOutcome outcome = run_->RunHere([&](std::stop_token stop) {
        during();
        if (!WaitForStop(stop, [this] { run_->LookAtEvents(); }))
          return CommandOutcome::Failed("not stopped");
        return CommandOutcome::Ran();
      });
      return outcome.ran();
    }
    bool stopped = false;
    EXPECT_TRUE(
        run_->StartInBackground([](const BackgroundJob& job) { return WaitForStop(job.Stop()); },
                                [&](bool result) { stopped = result; })
            .ran());
    during();
    WaitForEnd();
    return stopped;
  }

  QMainWindow window_;
  QList<QAction*> commands_;
  std::unique_ptr<BackgroundRun> run_;
  int ended_ = 0;
};

TEST_F(BackgroundRunTest, AJobsResultAndProgressArriveInTheWindowThread) {
  const std::thread::id windowThread = std::this_thread::get_id();
  std::thread::id jobThread;
  std::thread::id shownOn;
  std::thread::id finishedOn;
  int shown = 0;
  int result = 0;
  ASSERT_TRUE(run_->StartInBackground(
                      [&](const BackgroundJob& job) {
                        jobThread = std::this_thread::get_id();
                        job.Report([&] {
                          shownOn = std::this_thread::get_id();
                          shown = 7;
                        });
                        return 42;
                      },
                      [&](int ran) {
                        finishedOn = std::this_thread::get_id();
                        result = ran;
                      })
                  .ran());
  EXPECT_TRUE(run_->Progress().isVisible()) << "at once, with what the caller set in it";
  WaitForEnd();
  EXPECT_NE(jobThread, windowThread);
  EXPECT_EQ(shownOn, windowThread);
  EXPECT_EQ(finishedOn, windowThread);
  EXPECT_EQ(shown, 7);
  EXPECT_EQ(result, 42);
  EXPECT_EQ(ended_, 1);
  EXPECT_FALSE(run_->Progress().isVisible());
}

// Reports the window thread has had no turn to show are replaced by the latest.
TEST_F(BackgroundRunTest, AFastJobShowsOnlyItsLatestProgress) {
  std::atomic<bool> reported{false};
  std::vector<int> shown;
  run_->StartInBackground(
      [&](const BackgroundJob& job) {
        for (int i = 1; i <= 1000; ++i) job.Report([&shown, i] { shown.push_back(i); });
        reported = true;
        return 0;
      },
      [](int) {});
  WaitFor(reported);
  WaitForEnd();
  EXPECT_EQ(shown, std::vector<int>{1000});
}

TEST_F(BackgroundRunTest, EscAndTheStopButtonStopAJobEitherWay) {
  const std::pair<const char*, std::function<void()>> ways[] = {
      {"stop button", [this] { run_->Progress().StopButton()->click(); }},
      {"Esc", [this] { QTest::keyClick(&window_, Qt::Key_Escape); }},
  };
  for (const Place& place : kPlaces) {
    for (const auto& [way, stop] : ways) {
      const std::string what = std::string(place.what) + ", " + way;
      EXPECT_TRUE(RunUntilStopped(place.where, stop)) << what;
      EXPECT_FALSE(run_->Running()) << what;
    }
  }
  EXPECT_EQ(ended_, 4);
}

// A command disabled before the run stays disabled after it.
TEST_F(BackgroundRunTest, CommandsAreDisabledWhileAJobRunsAndComeBackAsTheyWere) {
  for (const Place& place : kPlaces) {
    std::string during;
    bool stopEnabled = false;
    RunUntilStopped(place.where, [&] {
      during = Commands();
      stopEnabled = run_->StopAction().isEnabled() && run_->Progress().StopButton()->isEnabled();
      run_->Stop();
    });
    EXPECT_EQ(during, "000") << place.what;
    EXPECT_TRUE(stopEnabled) << place.what;
    EXPECT_EQ(Commands(), "101") << place.what;
    EXPECT_FALSE(run_->StopAction().isEnabled()) << place.what;
  }
}

TEST_F(BackgroundRunTest, ASecondStartIsRefusedWhileAJobRuns) {
  const CommandOutcome busy = CommandOutcome::Refused(std::string(kPlaysBusy));
  for (const Place& place : kPlaces) {
    bool secondRan = false;
    RunUntilStopped(place.where, [&] {
      EXPECT_EQ(run_->CanStart(), busy) << place.what;
      EXPECT_EQ(run_->StartInBackground([&](const BackgroundJob&) { return secondRan = true; },
                                        [&](bool) {}),
                busy)
          << place.what;
      EXPECT_EQ(run_->RunHere([&](std::stop_token) {
        secondRan = true;
        return CommandOutcome::Ran();
      }),
                busy)
          << place.what;
      run_->Stop();
    });
    QTest::qWait(20);
    EXPECT_FALSE(secondRan) << place.what;
    EXPECT_EQ(run_->CanStart(), CommandOutcome::Ran()) << place.what;
  }
}

TEST_F(BackgroundRunTest, DestroyingTheRunDuringAJobWaitsForItsWorker) {
  std::atomic<bool> jobEnded{false};
  std::atomic<bool> sawAbandoned{false};
  bool finished = false;
  run_->StartInBackground(
      [&](const BackgroundJob& job) {
        job.Report([] { ADD_FAILURE() << "progress of a dropped run shown"; });
        WaitForStop(job.Stop());
        sawAbandoned = job.Abandoned();
        jobEnded = true;
        return 0;
      },
      [&](int) { finished = true; });
  run_.reset();
  EXPECT_TRUE(jobEnded);
  EXPECT_TRUE(sawAbandoned);
  QTest::qWait(50);
  EXPECT_FALSE(finished);
}

// A run ended early drops what its worker still sends, also when the next run has started.
TEST_F(BackgroundRunTest, ALateResultOfADroppedRunIsIgnored) {
  for (const bool replaced : {false, true}) {
    const char* what = replaced ? "replaced" : "ended";
    std::vector<std::string> seen;
    std::atomic<bool> reported{false};
    run_->StartInBackground(
        [&](const BackgroundJob& job) {
          job.Report([&] { seen.push_back("first shown"); });
          reported = true;
          WaitForStop(job.Stop());
          return std::string("first");
        },
        [&](std::string result) { seen.push_back(result); });
    // Its report is queued before the end, and its result after it.
    WaitFor(reported);
    run_->End();
    EXPECT_FALSE(run_->Running()) << what;
    EXPECT_EQ(Commands(), "101") << what;
    if (replaced) {
      run_->StartInBackground(
          [&](const BackgroundJob& job) {
            job.Report([&] { seen.push_back("second shown"); });
            return std::string("second");
          },
          [&](std::string result) { seen.push_back(result); });
      WaitForEnd();
    }
    QTest::qWait(50);
    const std::vector<std::string> expected =
        replaced ? std::vector<std::string>{"second shown", "second"} : std::vector<std::string>{};
    EXPECT_EQ(seen, expected) << what;
  }
}

// The result of a series is windows that open over several turns: until then the run goes on
// and cannot be stopped.
TEST_F(BackgroundRunTest, AResultThatEndsTheRunLaterKeepsItUntilEnd) {
  bool finished = false;
  run_->StartInBackground([](const BackgroundJob&) { return 0; }, [&](int) { finished = true; },
                          BackgroundRun::Ending::OnEnd);
  ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, 20000));
  EXPECT_TRUE(run_->Running());
  EXPECT_EQ(Commands(), "000");
  EXPECT_FALSE(run_->StopAction().isEnabled());
  EXPECT_FALSE(run_->Progress().StopButton()->isEnabled());
  EXPECT_EQ(ended_, 0);
  run_->End();
  EXPECT_FALSE(run_->Running());
  EXPECT_EQ(Commands(), "101");
  EXPECT_EQ(ended_, 1);
}

// A worker's run is dropped with the window; a job here is stopped and the window closes
// once it has returned.
TEST_F(BackgroundRunTest, ClosingTheWindowEndsTheRun) {
  bool finished = false;
  run_->StartInBackground([](const BackgroundJob& job) { return WaitForStop(job.Stop()); },
                          [&](bool) { finished = true; });
  window_.close();
  EXPECT_FALSE(window_.isVisible());
  EXPECT_FALSE(run_->Running());
  QTest::qWait(50);
  EXPECT_FALSE(finished);

  window_.show();
  bool visibleAfterClose = false;
  EXPECT_TRUE(RunUntilStopped(Where::Here, [&] {
    window_.close();
    visibleAfterClose = window_.isVisible();
  }));
  EXPECT_TRUE(visibleAfterClose) << "the job was still on the stack";
  EXPECT_TRUE(QTest::qWaitFor([&] { return !window_.isVisible(); }, 5000));
}

// Only Esc and the stop button reach the window while a job runs in its thread.
TEST_F(BackgroundRunTest, OtherInputWaitsWhileAJobRunsHere) {
  auto* other = new QAction(QStringLiteral("other"), &window_);
  other->setShortcut(QKeySequence(Qt::Key_F5));
  window_.addAction(other);
  int triggered = 0;
  QObject::connect(other, &QAction::triggered, [&] { ++triggered; });
  RunUntilStopped(Where::Here, [&] {
    QTest::keyClick(&window_, Qt::Key_F5);
    QTest::keyClick(&window_, Qt::Key_Escape);
  });
  EXPECT_EQ(triggered, 0);
  QTest::keyClick(&window_, Qt::Key_F5);
  EXPECT_EQ(triggered, 1);
}

// At the pace so far: 2 of 10 plays in 30 s leave 8 plays, 120 s.
TEST(ProgressLineTimeLeft, IsTheRestAtThePaceSoFar) {
  const struct {
    qint64 elapsedMs;
    int done, total;
    const char* text;
  } cases[] = {
      {30000, 2, 10, "осталось ≈ 2 мин 0 с"},
      {1500, 1, 10, "осталось ≈ 14 с"},  // 13,5 s shown whole, upwards
      {3600000, 1, 3, "осталось ≈ 2 ч 0 мин"},
      {1000, 0, 10, ""},  // no pace before the first play
      {1000, 10, 10, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TimeLeftText(c.elapsedMs, c.done, c.total), QString::fromUtf8(c.text))
        << c.elapsedMs << " " << c.done << " " << c.total;
  ProgressLine line;
  line.ShowSeries(10);
  EXPECT_FALSE(line.TimeLeft()->isHidden());
  line.SetPlaysDone(1);
  EXPECT_TRUE(line.TimeLeft()->text().startsWith(QString::fromUtf8("осталось ≈ ")));
  line.ShowPlay();
  EXPECT_TRUE(line.TimeLeft()->isHidden());
}

}  // namespace
}  // namespace teravo::test
