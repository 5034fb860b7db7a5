#include <cmath>
#include <vector>

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextEdit>

#include <qcustomplot.h>

#include "play/distributions.h"
#include "play/multi_play.h"
#include "play/play_driver.h"
#include "tests/ui/ui_fixture.h"
#include "ui/plays/play_results_view.h"
#include "ui/plays/qt_play_host.h"

namespace teravo::test {
namespace {

using PlayWindow = MainFormTest;

QString Title(const QMdiSubWindow* window) {
  return window->windowTitle();
}

void ProcessDeferred() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(PlayWindow, ANewWindowShowsItsDesignTitleOneLineAndNothingElse) {
  const auto record = std::make_shared<PlayRecord>(',');
  form_->Host().OpenPlayWindow(record);
  TfmPlayResults* window = form_->Host().WindowOf(*record);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(Title(window), QStringLiteral("Розыгрыш №"));
  form_->Host().ShowPlayWindow(*record, WindowState::Normal);
  ASSERT_TRUE(window->IsBuilt());
  PlayResultsView* view = window->View();
  EXPECT_EQ(view->BeginSettings()->toPlainText(), QStringLiteral("Начальные условия розыгрыша:"));
  for (int i = 0; i < kFieldCount; ++i)
    EXPECT_TRUE(view->FieldEdit(static_cast<Field>(i))->text().isEmpty());
  for (int i = 0; i < kChartCount; ++i)
    EXPECT_EQ(view->ChartOf(static_cast<Chart>(i)).PointCount(), 0);
}

// At 150 % the parameters wrap; the seed line under them must not hide below the strip.
TEST_F(PlayWindow, TheDescriptionGrowsToShowAllItsWrappedLines) {
  PlayResultsView view;
  view.resize(640, 900);
  view.show();
  const int before = view.BeginSettings()->height();
  PlayRecord record(',');
  std::string parameters;
  for (int i = 0; i < 12; ++i) parameters += "Кол-во программ-клиентов: 100, Шаг итерации: 0,001, ";
  record.BeginSettings = {"Начальные условия розыгрыша:", parameters,
                          "Начальное значение датчика: 12345"};
  view.Show(record);
  QCoreApplication::processEvents();
  EXPECT_GT(view.BeginSettings()->height(), before);
  EXPECT_EQ(view.BeginSettings()->verticalScrollBar()->maximum(), 0);
}

TEST_F(PlayWindow, F3TwiceLeavesTwoMaximisedWindowsNumberedOneAndTwo) {
  AcceptSmallPlays();
  Press(Qt::Key_F3);
  Press(Qt::Key_F3);
  EXPECT_TRUE(messages_.empty());
  const auto windows = PlayWindows();
  ASSERT_EQ(windows.size(), 2u);
  EXPECT_TRUE(Title(windows[0]).startsWith(QStringLiteral("№1 розыгрыш  ")));
  EXPECT_TRUE(Title(windows[1]).startsWith(QStringLiteral("№2 розыгрыш  ")));
  EXPECT_TRUE(windows[1]->isMaximized());

  PlayResultsView* view = windows[1]->View();
  ASSERT_NE(view, nullptr);
  const QStringList lines = view->BeginSettings()->toPlainText().split(QLatin1Char('\n'));
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines[0], QStringLiteral("Начальные условия розыгрыша:"));
  const PlayRecord& record = *windows[1]->Record();
  // The seed the play started from, so it can be replayed.
  EXPECT_EQ(lines[2].toStdString(), std::string(kSeedLine) + std::to_string(record.Seed));
  for (int i = 0; i < kFieldCount; ++i) {
    const auto field = static_cast<Field>(i);
    EXPECT_EQ(view->FieldEdit(field)->text().toStdString(), record.Text(field)) << i;
    EXPECT_FALSE(view->FieldEdit(field)->text().isEmpty()) << i;
  }
  EXPECT_EQ(view->FieldEdit(Field::edCurTime)->text().toStdString(), Real("0,2"));
  EXPECT_EQ(view->ChartOf(Chart::chNums).PointCount(), 201);
  EXPECT_EQ(view->ChartOf(Chart::chAvTer).PointCount(), 201);
  EXPECT_EQ(view->ChartOf(Chart::chErrorsGist).PointCount(), 100);
}

TEST_F(PlayWindow, FieldsAreReadOnlyBoldAndCarryTheirHints) {
  AcceptSmallPlays();
  Press(Qt::Key_F3);
  PlayResultsView* view = PlayWindows().at(0)->View();
  ASSERT_NE(view, nullptr);
  QLineEdit* newClient = view->FieldEdit(Field::edNewClientErrorAdd);
  QLineEdit* newServer = view->FieldEdit(Field::edNewServerErrorAdd);
  EXPECT_TRUE(newClient->isReadOnly());
  EXPECT_TRUE(newClient->font().bold());
  EXPECT_EQ(newClient->font().pointSize(), 10);
  EXPECT_EQ(newClient->toolTip(),
            QStringLiteral("Количество ошибок внесенных программистами при исправлении клиентов"));
  EXPECT_TRUE(newServer->toolTip().isEmpty());
  EXPECT_EQ(newServer->statusTip(), QStringLiteral("Количество ошибок внесенных программистами "
                                                   "ошибок при исправлении сервера"));
  // Both hints reach the status line, as every other hint does.
  for (QLineEdit* field : {newClient, newServer}) {
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(field, &enter);
    EXPECT_EQ(form_->statusBar()->currentMessage(), field->statusTip());
    EXPECT_FALSE(field->statusTip().isEmpty());
  }
}

TEST_F(PlayWindow, AFigureCanBeSelectedAndCopiedWhole) {
  AcceptSmallPlays();
  Press(Qt::Key_F3);
  QLineEdit* field = PlayWindows().at(0)->View()->FieldEdit(Field::edKg);
  ASSERT_FALSE(field->text().isEmpty());
  QTest::mouseClick(field, Qt::LeftButton);
  EXPECT_TRUE(field->hasFocus());
  field->selectAll();
  QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), field->text());
}

TEST_F(PlayWindow, ClosingAPlayWindowDestroysItAndLeavesTheOthers) {
  AcceptSmallPlays();
  Press(Qt::Key_F3);
  Press(Qt::Key_F3);
  auto windows = PlayWindows();
  ASSERT_EQ(windows.size(), 2u);
  QPointer<TfmPlayResults> first = windows[0];
  first->close();
  EXPECT_EQ(first->Record(), nullptr);
  ProcessDeferred();
  EXPECT_TRUE(first.isNull());
  ASSERT_EQ(PlayWindows().size(), 1u);
  EXPECT_TRUE(Title(PlayWindows()[0]).startsWith(QStringLiteral("№2 ")));
}

class SeriesTest : public MainFormTest {
 protected:
  // A later series with the same accepted settings numbers its plays on.
  void RunSeries(bool accept = true) {
    if (accept) AcceptSmallPlays("3");
    const std::size_t before = DistributionWindows().size();
    Press(Qt::Key_F4);
    ASSERT_TRUE(messages_.empty()) << messages_[0].text.toStdString();
    const auto distributions = DistributionWindows();
    ASSERT_EQ(distributions.size(), before + 1);
    dist_ = distributions.back();
  }
  void Recompute(const std::string& moment) {
    dist_->CurTimeEdit()->setText(QString::fromStdString(Real(moment)));
    dist_->RecallButton()->click();
  }
  TAllPlayResults* dist_ = nullptr;
};

TEST_F(SeriesTest, F4LeavesMinimisedPlaysTheAveragesAndTheActiveDistributions) {
  RunSeries();
  const auto windows = PlayWindows();
  ASSERT_EQ(windows.size(), 4u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(Title(windows[i]).startsWith(QStringLiteral("№%1 розыгрыш  ").arg(i + 1)));
    EXPECT_TRUE(windows[i]->isMinimized()) << i;
    // Minimised plays of a series stay light until someone looks at them.
    EXPECT_FALSE(windows[i]->IsBuilt()) << i;
  }
  TfmPlayResults* averages = windows[3];
  EXPECT_EQ(Title(averages), QStringLiteral("Средние значения за все розыгрышы"));
  EXPECT_FALSE(averages->isMinimized());
  ProcessDeferred();
  ASSERT_TRUE(averages->IsBuilt());
  EXPECT_TRUE(averages->View()->BeginSettings()->toPlainText().endsWith(
      QStringLiteral("; Число розыгрышей:3")));

  EXPECT_EQ(Title(dist_), QStringLiteral("Распределения по результатам 3 розыгрышей"));
  EXPECT_EQ(form_->MdiArea().activeSubWindow(), dist_);
  EXPECT_EQ(dist_->CurTimeEdit()->text().toStdString(), Real("0,1"));
  EXPECT_EQ(dist_->WorkClients().PointCount(), 20);
  EXPECT_EQ(dist_->ErrorsInClients().PointCount(), 20);

  // Every chart names both its axes; a count never ticks at a fraction.
  std::vector<const ChartView*> charts = {&dist_->WorkClients(), &dist_->ErrorsInClients()};
  for (Chart chart : ChartsInWindowOrder()) charts.push_back(&averages->View()->ChartOf(chart));
  for (const ChartView* chart : charts) {
    SCOPED_TRACE(chart->Title().toStdString());
    EXPECT_FALSE(chart->Plot()->xAxis->label().isEmpty());
    EXPECT_FALSE(chart->Plot()->yAxis->label().isEmpty());
    chart->Plot()->replot();
    for (QCPAxis* axis : {chart->Plot()->xAxis, chart->Plot()->yAxis}) {
      if (!axis->ticker().dynamicCast<QCPAxisTickerFixed>()) continue;
      for (double tick : axis->tickVector()) EXPECT_EQ(tick, std::round(tick));
    }
  }
}

TEST_F(SeriesTest, RestoringAMinimisedPlayBuildsAndFillsIt) {
  RunSeries();
  TfmPlayResults* play = PlayWindows().at(0);
  play->showNormal();
  ProcessDeferred();
  ASSERT_TRUE(play->IsBuilt());
  EXPECT_EQ(play->View()->ChartOf(Chart::chNums).PointCount(), 201);
  EXPECT_EQ(play->View()->FieldEdit(Field::edCurTime)->text().toStdString(), Real("0,2"));
}

TEST_F(SeriesTest, RecomputeAtAnotherMomentAndRefusalsLeaveTheHistograms) {
  RunSeries();
  // The described caption names no moment; the charts say which one they show.
  const QString at01 =
      QStringLiteral("в момент %1 (сутки)").arg(QString::fromStdString(Real("0,1")));
  EXPECT_EQ(dist_->WorkClients().Subtitle(), at01);
  Recompute("0,2");
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(dist_->WorkClients().PointCount(), 20);
  const QString at02 =
      QStringLiteral("в момент %1 (сутки)").arg(QString::fromStdString(Real("0,2")));
  EXPECT_EQ(dist_->WorkClients().Subtitle(), at02);
  EXPECT_EQ(dist_->ErrorsInClients().Subtitle(), at02);

  Recompute("5");
  EXPECT_EQ(dist_->WorkClients().Subtitle(), at02) << "a refused moment was never shown";
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_FALSE(messages_[0].error);
  EXPECT_EQ(messages_[0].text.toStdString(),
            "Текущее время для вывода распределений не должно превышать время розыгрыша " +
                Real("0,2") + " суток.");
  EXPECT_EQ(dist_->WorkClients().PointCount(), 20);
}

TEST_F(SeriesTest, ANonNumberMomentReachesTheDefaultHandler) {
  RunSeries();
  Recompute("abc");
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_TRUE(messages_[0].error);
  EXPECT_EQ(messages_[0].text, QStringLiteral("'abc' is not a valid floating point value."));
  EXPECT_EQ(dist_->WorkClients().PointCount(), 20);
  EXPECT_EQ(PlayWindows().size(), 4u);
}

TEST_F(SeriesTest, ClosingAPlayOfTheSeriesDropsItFromTheRecompute) {
  RunSeries();
  PlayWindows().at(1)->close();
  EXPECT_EQ(dist_->Record()->OpenPlayWindows().size(), 2u);
  ProcessDeferred();
  Recompute("0,1");
  for (const Message& message : messages_)
    EXPECT_FALSE(message.error) << message.text.toStdString();
  EXPECT_EQ(PlayWindows().size(), 3u);
}

TEST_F(SeriesTest, DeleteClosesThePlaysAndKeepsTheAveragesAndItself) {
  RunSeries();
  // The window's menu offers what the button does, under a name that says what goes.
  EXPECT_EQ(dist_->ClosePlaysAction()->text(), QStringLiteral("Закрыть розыгрыши серии"));
  EXPECT_TRUE(dist_->DeleteButton()->toolTip().contains(QStringLiteral("окна розыгрышей")));
  dist_->ClosePlaysAction()->trigger();
  EXPECT_TRUE(dist_->Record()->OpenPlayWindows().empty());
  ProcessDeferred();
  const auto windows = PlayWindows();
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(Title(windows[0]),
            QStringLiteral("Средние значения за все розыгрышы (розыгрышей: 3, их окна закрыты)"));
  ASSERT_EQ(DistributionWindows().size(), 1u);
  Recompute("0,1");
  for (const Message& message : messages_)
    EXPECT_FALSE(message.error) << message.text.toStdString();
  // Empty charts that say why, not an axis around nothing.
  for (const ChartView* chart : {&dist_->WorkClients(), &dist_->ErrorsInClients()}) {
    EXPECT_TRUE(chart->ShowsEmptyNote());
    EXPECT_EQ(chart->Plot()->yAxis->range().lower, 0);
    EXPECT_EQ(chart->Plot()->xAxis->range().lower, 0);
  }
}

TEST_F(SeriesTest, EachSeriesClosesItsOwnPlaysFromTheAveragesOrTheDistributions) {
  RunSeries();
  TAllPlayResults* first = dist_;
  RunSeries(false);
  TAllPlayResults* second = dist_;
  const auto averages = [this] {
    std::vector<TfmPlayResults*> found;
    for (TfmPlayResults* window : PlayWindows())
      if (window->Record()->Kind == RecordKind::Averages) found.push_back(window);
    return found;
  };
  ASSERT_EQ(averages().size(), 2u);
  TfmPlayResults* firstAverages = averages()[0];
  TfmPlayResults* secondAverages = averages()[1];
  const QString closed = QStringLiteral(" (розыгрышей: 3, их окна закрыты)");

  struct Case {
    QAction* action;
    TAllPlayResults* series;
    TfmPlayResults* averages;
    std::size_t playWindowsLeft;
  };
  for (const Case& c : {Case{firstAverages->ClosePlaysAction(), first, firstAverages, 5},
                        Case{second->ClosePlaysAction(), second, secondAverages, 2}}) {
    SCOPED_TRACE(c.action->parent()->objectName().toStdString());
    EXPECT_EQ(c.action->text(), QStringLiteral("Закрыть розыгрыши серии"));
    EXPECT_FALSE(c.averages->windowTitle().endsWith(closed));
    c.action->trigger();
    ProcessDeferred();
    EXPECT_TRUE(c.series->Record()->OpenPlayWindows().empty());
    EXPECT_EQ(PlayWindows().size(), c.playWindowsLeft);
    EXPECT_TRUE(c.averages->windowTitle().endsWith(closed))
        << c.averages->windowTitle().toStdString();
  }
  for (const Message& message : messages_) ADD_FAILURE() << message.text.toStdString();
}

TEST_F(SeriesTest, TheWindowListTellsTwoSeriesApartByTheirPlaysAndStart) {
  RunSeries();
  RunSeries(false);
  emit form_->WindowMenu().aboutToShow();
  QStringList series;
  for (const QAction* item : form_->WindowMenu().actions())
    if (item->text().contains(QStringLiteral("Средние значения"))) series << item->text();
  ASSERT_EQ(series.size(), 2);
  EXPECT_TRUE(series[0].contains(QStringLiteral(" — розыгрыши №1–3, начаты ")))
      << series[0].toStdString();
  EXPECT_TRUE(series[1].contains(QStringLiteral(" — розыгрыши №4–6, начаты ")))
      << series[1].toStdString();
  // The distributions of a series are listed as its averages are.
  EXPECT_TRUE(form_->WindowMenu().actions().last()->text().endsWith(
      series[1].mid(series[1].indexOf(QStringLiteral(" — ")))));
}

TEST_F(SeriesTest, TheDistributionsCloseBoxOnlyMinimisesIt) {
  RunSeries();
  dist_->close();
  ProcessDeferred();
  ASSERT_EQ(DistributionWindows().size(), 1u);
  EXPECT_TRUE(dist_->isMinimized());
}

TEST_F(SeriesTest, ASecondSeriesNumbersOnAndOpensItsOwnWindows) {
  RunSeries();
  Press(Qt::Key_F4);
  EXPECT_EQ(DistributionWindows().size(), 2u);
  EXPECT_EQ(PlayWindows().size(), 8u);
  EXPECT_TRUE(Title(PlayWindows()[4]).startsWith(QStringLiteral("№4 ")));
}

}  // namespace
}  // namespace teravo::test
