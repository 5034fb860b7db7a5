#include <qcustomplot.h>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>

#include "core/number_text.h"
#include "play/commands.h"
#include "tests/ui/ui_fixture.h"
#include "ui/common/export_dialog.h"
#include "ui/common/locale_text.h"
#include "ui/common/progress_line.h"
#include "ui/common/table_copy.h"
#include "ui/data/number_cells.h"
#include "ui/shell/window_commands.h"
#include "ui/sweep/sweep_control.h"
#include "ui/sweep/sweep_window.h"

namespace teravo::test {
namespace {

class SweepTest : public MainFormTest {
 protected:
  SweepControl& Sweeps() { return form_->Sweeps(); }

  TSweepResults* Run(std::vector<std::string> values, Field figure = Field::edKg) {
    const SweepRequest request{FindSettingsEdit("edProgrammersNum"), std::move(values), false,
                               figure};
    EXPECT_TRUE(Sweeps().Start(form_->Model(), request, Dialog().DecimalSeparator(), 2));
    Wait();
    return Sweeps().LastWindow();
  }
  void Wait() {
    ASSERT_TRUE(QTest::qWaitFor([this] { return !Sweeps().Running(); }, 60000));
  }

  double Number(const QString& text) {
    return static_cast<double>(*ParseReal(text.toStdString(), Dialog().DecimalSeparator()));
  }
};

// The desktop sweep plots what the runner prints for the same parameters and seed.
TEST_F(SweepTest, ThreePointsPlotTheRunnersMeansAndIntervals) {
  const QString sim = QCoreApplication::applicationDirPath() + "/../tools/teravo-sim";
  if (!QFile::exists(sim)) GTEST_SKIP() << "no runner at " << sim.toStdString();
  AcceptSmallPlays("3");
  TSweepResults* window = Run({"3", "1", "2"});
  ASSERT_NE(window, nullptr);

  QProcess runner;
  runner.start(sim, {"--sweep", "edProgrammersNum=1;2;3", "--set", "edM=200", "--set", "edK=3",
                     "--seed", QString::number(window->Result().table.seed), "--decimal-separator",
                     QString(QChar(Dialog().DecimalSeparator()))});
  ASSERT_TRUE(runner.waitForFinished(60000));
  const QJsonArray points =
      QJsonDocument::fromJson(runner.readAllStandardOutput())["sweep"]["points"].toArray();
  ASSERT_EQ(points.size(), 3);

  for (const char* field : {"edKg", "edWorkClientNum", "edAverTer"}) {
    const auto at = std::find_if(SweepFigures().begin(), SweepFigures().end(),
                                 [&](Field f) { return FieldName(f) == field; });
    window->ShowFigure(*at);
    ASSERT_EQ(window->Means()->dataCount(), 3);
    for (int i = 0; i < 3; ++i) {  // plotted by value, 1 2 3 as the runner ran them
      const QJsonObject point = points[i].toObject();
      EXPECT_EQ(window->Means()->data()->at(i)->key, i + 1);
      // The runner prints the mean as the averages window shows it; the chart has it unrounded.
      const double mean = window->Means()->data()->at(i)->value;
      EXPECT_EQ(MeanText(*at, mean, Dialog().DecimalSeparator()),
                point["fields"][field].toString().toStdString())
          << field << " at " << i + 1;
      // The bar is the exact half-width, cut where the figure cannot go; the document shows
      // it to 15 digits.
      const double halfWidth = Number(point["spread"][field]["halfWidth"].toString());
      const QCPErrorBarsData bar = window->Intervals()->data()->at(i);
      EXPECT_NEAR(std::max(bar.errorPlus, bar.errorMinus), halfWidth, 1e-14 * halfWidth)
          << field << " at " << i + 1;
    }
  }
  // The table holds every figure at every point, in the order asked.
  EXPECT_EQ(window->Table()->rowCount(), 3);
  EXPECT_EQ(window->Table()->item(0, 0)->text(), "3");
  EXPECT_EQ(window->Plot()->xAxis->label(), QString::fromUtf8("Кол-во программистов"));
  EXPECT_TRUE(window->PointTip(0).contains(QString::fromUtf8("±")));
  EXPECT_GT(window->Export().csv().size(), 100u);
}

// A point of 20 plays: 9 with no client error and 11 with one, availability near 1, nearly
// every client working.
SweepResult SyntheticSweep() {
  SweepPoint point;
  point.index = 1;
  point.value = "4";
  point.plays = 20;
  auto set = [&](Field field, long double shown, long double exact, long double halfWidth) {
    const auto at = static_cast<std::size_t>(field);
    point.means[at] = shown;
    point.exactMeans[at] = exact;
    point.spreads[at] = PlayRecord::Spread{halfWidth * 2, halfWidth};
  };
  for (Field field : SweepFigures()) set(field, 3, 3, 1);
  set(Field::edClientErrNums, 1, 0.45L, 0.5L);
  set(Field::edKg, 0.98L, 0.98L, 0.05L);
  set(Field::edWorkClientNum, 10, 9.6L, 0.6L);
  SweepResult result;
  result.table = SweepTable{"edProgrammersNum", {"4"}, 99, ',', {point}};
  result.edit = FindSettingsEdit("edProgrammersNum");
  result.clients = {10};
  return result;
}

TEST_F(SweepTest, ExactMeansArePlottedAndIntervalsStayWithinTheFiguresRange) {
  RecordingSink sink(messages_);
  TSweepResults window(SyntheticSweep(), sink);
  const struct {
    Field field;
    double mean, below, above;
    bool clipped;
  } cases[] = {
      {Field::edClientErrNums, 0.45, 0.45, 0.5, true},  // no fewer than 0 errors
      {Field::edKg, 0.98, 0.05, 0.02, true},            // availability at most 1
      {Field::edWorkClientNum, 9.6, 0.6, 0.4, true},    // at most the 10 clients
      {Field::edAverTer, 3, 1, 1, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(FieldName(c.field));
    window.ShowFigure(c.field);
    ASSERT_EQ(window.Means()->dataCount(), 1);
    EXPECT_EQ(window.Means()->data()->at(0)->value, c.mean);
    EXPECT_NEAR(window.Intervals()->data()->at(0).errorMinus, c.below, 1e-15);
    EXPECT_NEAR(window.Intervals()->data()->at(0).errorPlus, c.above, 1e-15);
    EXPECT_EQ(window.PointTip(0).contains(QStringLiteral("обрезан")), c.clipped);
    const int column =
        2 + static_cast<int>(std::find(SweepFigures().begin(), SweepFigures().end(), c.field) -
                             SweepFigures().begin());
    const QTableWidgetItem* cell = window.Table()->item(0, column);
    EXPECT_EQ(cell->text(), ShortNumber(c.mean, ','));
    EXPECT_EQ(cell->toolTip().contains(QStringLiteral("обрезан")), c.clipped);
  }
  // The chart tells its mean from its intervals; the programmers count in whole numbers.
  EXPECT_TRUE(window.Plot()->legend->visible());
  EXPECT_EQ(window.Plot()->legend->itemCount(), 2);
  EXPECT_TRUE(window.Plot()->xAxis->ticker().dynamicCast<QCPAxisTickerFixed>());
  // Ctrl+C copies the selected cells, numbers in full, as a spreadsheet pastes them.
  const int kg =
      2 + static_cast<int>(std::find(SweepFigures().begin(), SweepFigures().end(), Field::edKg) -
                           SweepFigures().begin());
  window.Table()->setRangeSelected(QTableWidgetSelectionRange(0, 0, 0, 1), true);
  window.Table()->setRangeSelected(QTableWidgetSelectionRange(0, kg, 0, kg), true);
  QStringList expected(kg + 1);
  expected[0] = QStringLiteral("4");
  expected[1] = QStringLiteral("20");
  expected[kg] = QStringLiteral("0,98");
  EXPECT_EQ(SelectedCellsText(*window.Table()), expected.join(QLatin1Char('\t')) + "\n");
  const QList<QAction*> actions = window.Table()->actions();
  EXPECT_TRUE(std::any_of(actions.begin(), actions.end(), [](const QAction* action) {
    return action->shortcut() == QKeySequence(QKeySequence::Copy);
  }));
  // Its CSV has the exact means under names for people and identifiers for scripts.
  const std::string csv = window.Export().csv();
  EXPECT_NE(csv.find(";0,45;"), std::string::npos) << csv;
  EXPECT_NE(csv.find("\r\nТочка;Кол-во программистов;Розыгрышей;Клиенты: число рабочих;"),
            std::string::npos)
      << csv;
  EXPECT_NE(csv.find("\r\nТочка;edProgrammersNum;Розыгрышей;edWorkClientNum;"), std::string::npos);
}

// The File menu saves the active sweep window as it saves the others.
TEST_F(SweepTest, TheFileMenuSavesASweepWindow) {
  AcceptSmallPlays("2");
  TSweepResults* window = Run({"1", "2"});
  ASSERT_NE(window, nullptr);
  form_->MdiArea().setActiveSubWindow(window);
  WindowCommands& commands = *WindowCommands::Of(*form_);
  EXPECT_TRUE(commands.SaveAsAction()->isEnabled());
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("sweep.csv"));
  commands.SetExportAsker([&](ExportDialog& dialog) {
    dialog.FormatBox()->setCurrentIndex(0);  // CSV
    dialog.PathEdit()->setText(path);
    return true;
  });
  commands.SaveAsAction()->trigger();
  EXPECT_TRUE(messages_.empty());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll().toStdString(), window->Export().csv());
}

// A sweep that may take days asks first; answered No, nothing starts.
TEST_F(SweepTest, ALongSweepAsksBeforeItStarts) {
  AcceptSettings({{"edProgrammersNum", "2147483647"}, {"edMu", "0,000001"}});
  const SweepRequest request{FindSettingsEdit("edK"), {"1", "2"}, false, Field::edKg};
  EXPECT_FALSE(Sweeps().Start(form_->Model(), request, Dialog().DecimalSeparator(), 2));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_TRUE(messages_[0].text.startsWith(QStringLiteral("Исследование может занять около")));
  EXPECT_FALSE(Sweeps().Running());
  EXPECT_EQ(Sweeps().LastWindow(), nullptr);
}

TEST_F(SweepTest, RefusedValueIsSkippedWithTheFieldsMessage) {
  AcceptSmallPlays("2");
  TSweepResults* window = Run({"1", "0", "2"});
  ASSERT_NE(window, nullptr);
  const QString message = ToQString(FindSettingsEdit("edProgrammersNum")->message);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_TRUE(messages_[0].text.contains(message));
  EXPECT_EQ(window->Means()->dataCount(), 2);
  EXPECT_TRUE(window->Table()->item(1, 1)->text().contains(message));
}

TEST_F(SweepTest, NothingStartsFromUnusableParameters) {
  // Never accepted: the menu command refuses before the dialog.
  bool asked = false;
  Sweeps().SetAsker([&](SweepDialog&) { return asked = true; });
  form_->aSweepExecute();
  EXPECT_FALSE(asked);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text.toStdString(), kParametersNotSet);
}

TEST_F(SweepTest, EscStopsAndKeepsTheFinishedPoints) {
  AcceptSettings({{"edM", "100000"}, {"edK", "4"}});
  const SweepRequest request{FindSettingsEdit("edProgrammersNum"),
                             {"1", "2", "3", "4", "5", "6", "7", "8"},
                             false,
                             Field::edKg};
  QAction* f4 = form_->findChild<QAction*>("aPlayPlay");
  ASSERT_TRUE(Sweeps().Start(form_->Model(), request, Dialog().DecimalSeparator(), 1));
  EXPECT_FALSE(f4->isEnabled());
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return Sweeps().Progress().Bar()->format().contains(QString::fromUtf8("точка 2")); },
      60000));
  Press(Qt::Key_Escape);
  Wait();
  EXPECT_TRUE(f4->isEnabled());
  TSweepResults* window = Sweeps().LastWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->Result().stopped);
  EXPECT_GE(window->Means()->dataCount(), 1);
  EXPECT_LT(window->Means()->dataCount(), 8);
}

TEST(SweepWindowTest, LogSpacedValuesGetALogAxisWithUnitsAndExport) {
  std::vector<Message> log;
  RecordingSink sink(log);
  SweepResult result;
  result.edit = FindSettingsEdit("edMu");
  result.logSpaced = true;
  result.table = SweepTable{"edMu", {"0,1", "1"}, 7, ',', {}};
  for (const char* value : {"1", "0,1"}) {
    SweepPoint point;
    point.index = value[0] == '1' ? 2 : 1;
    point.value = value;
    point.plays = 2;
    point.means[static_cast<std::size_t>(Field::edKg)] =
        point.exactMeans[static_cast<std::size_t>(Field::edKg)] = value[0] == '1' ? 0.6L : 0.2L;
    point.spreads[static_cast<std::size_t>(Field::edKg)] = PlayRecord::Spread{0.1L, 0.05L};
    result.table.points.push_back(point);
  }
  TSweepResults window(std::move(result), sink);
  EXPECT_EQ(window.Plot()->xAxis->scaleType(), QCPAxis::stLogarithmic);
  EXPECT_TRUE(window.Plot()->xAxis->label().endsWith(QString::fromUtf8("(1/сутки)")));
  ASSERT_EQ(window.Means()->dataCount(), 2);
  EXPECT_EQ(window.Means()->data()->at(0)->value, 0.2);  // sorted by value, bars with them
  EXPECT_EQ(window.Intervals()->data()->at(1).errorMinus, 0.05);

  QTemporaryDir folder;
  for (const auto& [format, name] :
       {std::pair{ExportFormat::Png, "s.png"}, std::pair{ExportFormat::Pdf, "s.pdf"},
        std::pair{ExportFormat::Csv, "s.csv"}}) {
    const QString path = folder.filePath(name);
    EXPECT_EQ(
        WriteExport(window.Export(), {format, format == ExportFormat::Csv ? -1 : 0, path, false}),
        QString());
    EXPECT_GT(QFileInfo(path).size(), 50) << name;
  }
}

// The dialog keeps its fields in the program's settings: a file of the suite here.
using SweepDialogTest = IsolatedSettingsTest;

TEST_F(SweepDialogTest, RangeAndListReadWithTheUsersSeparator) {
  std::vector<Message> log;
  RecordingSink sink(log);
  TParameters byProbability;
  byProbability.FByProbability = true;
  SweepDialog dialog(byProbability, ',', sink);
  dialog.EditBox()->setCurrentIndex(dialog.EditBox()->findData("edA"));
  dialog.RangeButton()->setChecked(true);
  dialog.FromEdit()->setText("0,0001");
  dialog.ToEdit()->setText("0,01");
  dialog.CountBox()->setValue(3);
  dialog.LogBox()->setChecked(true);
  auto request = std::get<SweepRequest>(dialog.Request());
  EXPECT_EQ(request.values, (std::vector<std::string>{"0,0001", "0,001", "0,01"}));
  EXPECT_TRUE(request.logSpaced);

  dialog.ListButton()->setChecked(true);
  dialog.ListEdit()->setText("0,1; ;0,2");
  dialog.accept();
  EXPECT_EQ(log.size(), 1u);  // an empty value is refused, the dialog stays
  // Only the edits read in the accepted new-error mode are offered.
  EXPECT_GE(dialog.EditBox()->findData("edP_newErr"), 0);
  EXPECT_LT(dialog.EditBox()->findData("edY_newErr"), 0);
}

TEST_F(SweepDialogTest, TellsThePlaysPerPointTheirTotalAndTheTime) {
  AcceptSmallPlays("3");
  std::vector<Message> log;
  RecordingSink sink(log);
  SweepDialog dialog(form_->Model().Parameters(), Dialog().DecimalSeparator(), sink);
  struct Case {
    const char* edit;
    const char* list;  // empty: the range 1 ... 4 in 4 points
    const char* needs;
  };
  for (const Case& c : {
           Case{"edProgrammersNum", "1; 2; 3", "Розыгрышей на точку: 3, всего: 9 (точек: 3)."},
           Case{"edProgrammersNum", "", "Розыгрышей на точку: 3, всего: 12 (точек: 4)."},
           // Sweeping the plays themselves: each point plays its own number.
           Case{"edK", "2; 5", "Розыгрышей на точку: от 2 до 5, всего: 7 (точек: 2)."},
       }) {
    SCOPED_TRACE(std::string(c.edit) + " " + c.list);
    dialog.EditBox()->setCurrentIndex(dialog.EditBox()->findData(c.edit));
    const bool byList = *c.list != 0;
    (byList ? dialog.ListButton() : dialog.RangeButton())->setChecked(true);
    dialog.ListEdit()->setText(c.list);
    dialog.FromEdit()->setText("1");
    dialog.ToEdit()->setText("4");
    dialog.CountBox()->setValue(4);
    const QString needs = dialog.NeedsLabel()->text();
    EXPECT_TRUE(needs.startsWith(ToQString(c.needs))) << needs.toStdString();
    EXPECT_TRUE(needs.contains(ToQString(" Время: около "))) << needs.toStdString();
  }
  dialog.ListEdit()->setText("1; ;2");
  EXPECT_EQ(dialog.NeedsLabel()->text(), ToQString("Розыгрышей на точку: 3"));
}

TEST_F(SweepDialogTest, OpensWithTheFieldsItWasLastStartedWith) {
  AcceptSmallPlays("3");
  std::vector<Message> log;
  RecordingSink sink(log);
  const TParameters& accepted = form_->Model().Parameters();
  const char separator = Dialog().DecimalSeparator();
  {
    SweepDialog first(accepted, separator, sink);
    first.EditBox()->setCurrentIndex(first.EditBox()->findData("edClientsNum"));
    first.RangeButton()->setChecked(true);
    first.FromEdit()->setText("10");
    first.ToEdit()->setText("1000");
    first.CountBox()->setValue(3);
    first.LogBox()->setChecked(true);
    first.FigureBox()->setCurrentIndex(1);
    first.accept();
  }
  {
    // A refused start is not remembered.
    SweepDialog refused(accepted, separator, sink);
    refused.ListButton()->setChecked(true);
    refused.ListEdit()->setText("");
    refused.accept();
    ASSERT_EQ(log.size(), 1u);
  }
  SweepDialog again(accepted, separator, sink);
  EXPECT_EQ(again.EditBox()->currentData().toString(), QStringLiteral("edClientsNum"));
  EXPECT_TRUE(again.RangeButton()->isChecked());
  EXPECT_EQ(again.FromEdit()->text(), QStringLiteral("10"));
  EXPECT_EQ(again.ToEdit()->text(), QStringLiteral("1000"));
  EXPECT_EQ(again.CountBox()->value(), 3);
  EXPECT_TRUE(again.LogBox()->isChecked());
  EXPECT_EQ(again.FigureBox()->currentIndex(), 1);
  EXPECT_EQ(std::get<SweepRequest>(again.Request()).values.size(), 3u);
}

}  // namespace
}  // namespace teravo::test
