#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QAction>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "play/multi_play.h"
#include "play/play_driver.h"
#include "tests/ui/ui_fixture.h"
#include "ui/common/locale_text.h"
#include "ui/common/progress_line.h"
#include "ui/plays/staged_host.h"

namespace teravo::test {
namespace {

// F4 in the background, F3 in the foreground, and the ways to stop either.
class PlayControlTest : public MainFormTest {
 protected:
  void StartSeries(const std::string& steps, const std::string& plays) {
    AcceptSettings({{"edM", steps}, {"edK", plays}});
    QTest::keyClick(form_.get(), Qt::Key_F4);
  }

  ProgressLine& Line() const { return form_->Plays().Progress(); }

  // F2, F3, F4 as "111" when enabled.
  std::string Commands() const {
    std::string states;
    for (const char* name : {"aSettings", "aPlayIteration", "aPlayPlay"})
      states += form_->findChild<QAction*>(QString::fromLatin1(name))->isEnabled() ? '1' : '0';
    return states;
  }

  void ExpectRunning(const char* what) const {
    EXPECT_TRUE(form_->Plays().Running()) << what;
    EXPECT_EQ(Commands(), "000") << what;
    EXPECT_TRUE(Line().isVisible()) << what;
  }

  void ExpectIdle(const char* what) const {
    EXPECT_FALSE(form_->Plays().Running()) << what;
    EXPECT_EQ(Commands(), "111") << what;
    EXPECT_FALSE(Line().isVisible()) << what;
  }

  // The plays of a series, in order, are "№1 ..." to "№k ..." and then the averages.
  void ExpectSeriesOf(int plays, const QString& averagesTitle, const char* what) {
    const auto windows = PlayWindows();
    ASSERT_EQ(windows.size(), static_cast<std::size_t>(plays) + 1) << what;
    for (int i = 0; i < plays; ++i) {
      EXPECT_TRUE(windows[i]->windowTitle().startsWith(QStringLiteral("№%1 ").arg(i + 1)))
          << what << " " << i;
      EXPECT_TRUE(windows[i]->isMinimized()) << what << " " << i;
    }
    EXPECT_EQ(windows.back()->windowTitle(), averagesTitle) << what;
    EXPECT_FALSE(windows.back()->isMinimized()) << what;
    ASSERT_EQ(DistributionWindows().size(), 1u) << what;
    EXPECT_EQ(DistributionWindows()[0]->windowTitle(),
              QStringLiteral("Распределения по результатам %1 розыгрышей").arg(plays))
        << what;
    EXPECT_EQ(form_->MdiArea().activeSubWindow(), DistributionWindows()[0]) << what;
  }
};

TEST_F(PlayControlTest, AWholeSeriesShowsItsProgressThenOpensAsBefore) {
  for (const int plays : {1, 3}) {
    Open(std::make_unique<RecordingSink>(messages_));
    const std::string what = std::to_string(plays) + " plays";
    StartSeries("200", std::to_string(plays));
    ExpectRunning(what.c_str());
    EXPECT_EQ(Line().Bar()->maximum(), plays);
    EXPECT_EQ(Line().Bar()->text(), QStringLiteral("Розыгрыш 0 из %1").arg(plays));
    EXPECT_TRUE(form_->MdiArea().subWindowList().isEmpty()) << "windows open only at the end";
    // A play asked for by other means (a window's replay) waits its turn as well.
    const CommandOutcome meanwhile = form_->Plays().RunPlay([](const PlayOptions&) {
      ADD_FAILURE() << "played during a series";
      return CommandOutcome::Ran();
    });
    EXPECT_EQ(meanwhile, CommandOutcome::Refused(std::string(kPlaysBusy)));
    QStringList shown;
    QObject::connect(Line().Bar(), &QProgressBar::valueChanged, form_.get(),
                     [&] { shown << Line().Bar()->text(); });
    WaitForPlays();
    EXPECT_TRUE(messages_.empty());
    ExpectIdle(what.c_str());
    EXPECT_TRUE(shown.contains(QStringLiteral("Розыгрыш %1 из %1").arg(plays)))
        << shown.join(QStringLiteral("; ")).toStdString();
    ExpectSeriesOf(plays, ToQString(kAveragesTitle), what.c_str());
  }
}

// Stopped once its first play is in: the plays finished in order open as a series of their
// own, and the averages say after how many it stopped.
TEST_F(PlayControlTest, AStoppedSeriesKeepsItsFinishedPlays) {
  const std::pair<const char*, std::function<void(TMainForm&)>> ways[] = {
      {"stop button", [](TMainForm& form) { form.Plays().Progress().StopButton()->click(); }},
      {"Esc", [](TMainForm& form) { QTest::keyClick(&form, Qt::Key_Escape); }},
  };
  for (const auto& [what, stop] : ways) {
    Open(std::make_unique<RecordingSink>(messages_));
    StartSeries("30000", "300");
    ExpectRunning(what);
    QObject::connect(Line().Bar(), &QProgressBar::valueChanged, form_.get(),
                     [&, stop = stop](int done) {
                       if (done > 0 && form_->Plays().Running()) stop(*form_);
                     });
    WaitForPlays();
    EXPECT_TRUE(messages_.empty()) << what;
    ExpectIdle(what);
    const auto windows = PlayWindows();
    ASSERT_FALSE(windows.empty()) << what;
    const int kept = static_cast<int>(windows.size()) - 1;
    EXPECT_GT(kept, 0) << what;
    EXPECT_LT(kept, 300) << what;
    ExpectSeriesOf(kept,
                   ToQString(kAveragesTitle) +
                       QStringLiteral(" (остановлен после %1 из 300 розыгрышей)").arg(kept),
                   what);
  }
}

TEST_F(PlayControlTest, EscBeforeTheFirstPlayEndsOpensNothingAndSaysSo) {
  StartSeries("100000", "50");
  QTest::keyClick(form_.get(), Qt::Key_Escape);
  WaitForPlays();
  ExpectIdle("after Esc");
  EXPECT_TRUE(form_->MdiArea().subWindowList().isEmpty());
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_FALSE(messages_[0].error);
  EXPECT_EQ(messages_[0].text, ToQString(kSeriesStoppedEmpty));
  // The next series numbers on from where the stopped one left.
  AcceptSmallPlays("1");
  Press(Qt::Key_F4);
  ASSERT_EQ(PlayWindows().size(), 2u);
  EXPECT_TRUE(PlayWindows()[0]->windowTitle().startsWith(QStringLiteral("№1 ")));
}

TEST_F(PlayControlTest, ClosingOrDeletingTheMainWindowDropsARunningSeries) {
  StartSeries("30000", "300");
  form_->close();
  EXPECT_FALSE(form_->isVisible());
  ExpectIdle("after closing");
  // Nothing the worker had left arrives later.
  QTest::qWait(50);
  EXPECT_TRUE(form_->MdiArea().subWindowList().isEmpty());
  EXPECT_TRUE(messages_.empty());

  Open(std::make_unique<RecordingSink>(messages_));
  StartSeries("30000", "300");
  ASSERT_TRUE(form_->Plays().Running());
  form_.reset();
  QTest::qWait(50);
  EXPECT_TRUE(messages_.empty());
}

// A single play in the window thread: Esc stops it and other input waits. The play must
// last long enough for its repaints to look at the events (every 30 ms).
class SinglePlay : public PlayControlTest {
 protected:
  // Runs F3 on a long play with `during` called from inside it.
  void PlayWith(std::function<void()> during) {
    AcceptSettings({{"edM", "3000000"}});
    QTimer::singleShot(0, form_.get(), std::move(during));
    QTest::keyClick(form_.get(), Qt::Key_F3);
  }
};

TEST_F(SinglePlay, EscStopsItAndItsWindowSaysSo) {
  std::string during;
  PlayWith([&] {
    during = Commands();
    // Input other than Esc waits: no menu opens in the middle of the play.
    QTest::keyClick(form_.get(), Qt::Key_W, Qt::AltModifier);
    QTest::keyClick(form_.get(), Qt::Key_Escape);
  });
  EXPECT_EQ(during, "000");
  ExpectIdle("after the play");
  EXPECT_FALSE(form_->WindowMenu().isVisible());
  EXPECT_TRUE(messages_.empty());
  ASSERT_EQ(PlayWindows().size(), 1u);
  TfmPlayResults* window = PlayWindows()[0];
  EXPECT_TRUE(window->Record()->Stopped);
  EXPECT_TRUE(window->windowTitle().endsWith(ToQString(kStoppedMark)));
  EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("№1 ")));
}

TEST_F(SinglePlay, EscStopsAReplayToo) {
  PlayWith([&] { QTest::keyClick(form_.get(), Qt::Key_Escape); });
  ASSERT_EQ(PlayWindows().size(), 1u);
  QTimer::singleShot(0, form_.get(), [&] { QTest::keyClick(form_.get(), Qt::Key_Escape); });
  PlayWindows()[0]->ReplayAction()->trigger();
  EXPECT_TRUE(messages_.empty());
  ASSERT_EQ(PlayWindows().size(), 2u);
  EXPECT_TRUE(PlayWindows()[1]->Record()->Stopped);
  EXPECT_TRUE(PlayWindows()[1]->windowTitle().startsWith(QStringLiteral("№2 ")));
  ExpectIdle("after the replay");
}

TEST_F(SinglePlay, ClosingTheMainWindowStopsThePlayFirst) {
  PlayWith([&] { form_->close(); });
  EXPECT_TRUE(form_->isVisible()) << "the play was still on the stack";
  ASSERT_EQ(PlayWindows().size(), 1u);
  EXPECT_TRUE(PlayWindows()[0]->Record()->Stopped);
  ASSERT_TRUE(QTest::qWaitFor([this] { return !form_->isVisible(); }, 5000));
}

// Writes down what reaches it.
class LogHost : public PlayHost {
 public:
  void OpenPlayWindow(std::shared_ptr<PlayRecord> record) override { Note("open", *record); }
  void ShowPlayWindow(PlayRecord& record, WindowState) override { Note("show", record); }
  void Repaint(PlayRecord& record) override { Note("paint", record); }
  void ClosePlayWindow(PlayRecord& record) override { Note("close", record); }
  void OpenDistributionsWindow(std::shared_ptr<DistributionsRecord> record) override {
    log.push_back("open " + record->Caption);
  }
  void Repaint(DistributionsRecord& record) override { log.push_back("paint " + record.Caption); }
  std::vector<std::string> log;

 private:
  void Note(const char* what, const PlayRecord& record) {
    log.push_back(what + (" " + record.Title));
  }
};

// A slice ends only before a window opens, so that no window is left shown and unpainted
// between two turns; the staged host alone keeps the records alive.
TEST(StagedHost, PassesEverythingOnInOrderAWindowAtATime) {
  StagedHost staged;
  {
    auto a = std::make_shared<PlayRecord>(',');
    auto b = std::make_shared<PlayRecord>(',');
    auto d = std::make_shared<DistributionsRecord>(',');
    a->Title = "a";
    b->Title = "b";
    d->Caption = "d";
    staged.OpenPlayWindow(a);
    staged.ShowPlayWindow(*a, WindowState::Minimised);
    staged.Repaint(*a);
    staged.OpenPlayWindow(b);
    staged.ShowPlayWindow(*b, WindowState::Normal);
    staged.OpenDistributionsWindow(d);
    staged.Repaint(*b);
    staged.Repaint(*d);
  }
  const std::vector<std::vector<std::string>> slices = {
      {"open a", "show a", "paint a"},
      {"open b", "show b"},
      {"open d", "paint b", "paint d"},
  };
  LogHost host;
  for (std::size_t i = 0; i < slices.size(); ++i) {
    host.log.clear();
    EXPECT_EQ(staged.PassOn(host, std::chrono::steady_clock::duration::zero()),
              i + 1 == slices.size());
    EXPECT_EQ(host.log, slices[i]) << i;
  }
  EXPECT_EQ(staged.Passed(), staged.Steps());
}

}  // namespace
}  // namespace teravo::test
