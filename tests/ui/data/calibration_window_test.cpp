#include <variant>

#include <qcustomplot.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>

#include "core/number_text.h"
#include "params/parameter_file.h"
#include "tests/ui/ui_fixture.h"
#include "ui/common/locale_text.h"
#include "ui/common/progress_line.h"
#include "ui/data/calibration_control.h"
#include "ui/data/calibration_dialog.h"
#include "ui/data/calibration_window.h"
#include "ui/data/data_window.h"
#include "ui/settings/parameter_file_actions.h"
#include "ui/shell/window_commands.h"

namespace teravo::test {
namespace {

class CalibrationWindowTest : public IsolatedSettingsTest {
 protected:
  void SetUp() override {
    IsolatedSettingsTest::SetUp();
    // Few clients keep each play short.
    AcceptSettings({{"edClientsNum", "3"}});
  }

  CalibrationControl& Calibrations() { return form_->Calibrations(); }

  static DataAnalysisResult Sys1() {
    DataAnalysisResult result;
    result.title = QStringLiteral("SYS1.csv");
    result.data =
        ReadFailureFile(TERAVO_TEST_DATA_DIR "/SYS1.csv", {std::nullopt, TimeUnit::Seconds});
    return result;
  }

  // Two edits, three plays an evaluation and a few evaluations: seconds, not minutes.
  static CalibrationSettings Tiny(int evaluations) {
    const std::string names[] = {"edErrorsNum0", "edMu"};
    CalibrationSettings settings;
    settings.edits = std::get<std::vector<FittedEdit>>(FittedEditsOf(names, {}, '.'));
    settings.plays = 3;
    settings.limits.maxEvaluations = evaluations;
    settings.forecastPlays = 5;
    settings.forecastPoints = 20;
    return settings;
  }

  void Wait() {
    ASSERT_TRUE(QTest::qWaitFor([this] { return !Calibrations().Running(); }, 120000));
  }

  TCalibrationWindow* Calibrate(int evaluations = 4) {
    EXPECT_TRUE(Calibrations().Start(Sys1(), Tiny(evaluations)));
    Wait();
    for (const Message& message : messages_) ADD_FAILURE() << message.text.toStdString();
    return Calibrations().LastWindow();
  }
};

TEST_F(CalibrationWindowTest, FitShowsEstimatesAndTheHoldoutBesideTheClassicModels) {
  TCalibrationWindow* window = Calibrate();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), QString::fromUtf8("Калибровка: SYS1.csv"));
  const QTableWidget* estimates = window->EstimatesTable();
  ASSERT_EQ(estimates->rowCount(), 2);
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < estimates->columnCount(); ++column) {
      ASSERT_NE(estimates->item(row, column), nullptr) << row << ", " << column;
      EXPECT_FALSE(estimates->item(row, column)->text().isEmpty()) << row << ", " << column;
    }
  }
  // The simulation and the four classic models, ranked by PSSE.
  const QTableWidget* psse = window->PsseTable();
  ASSERT_EQ(psse->rowCount(), 5);
  int simulation = 0;
  for (int row = 0; row < 5; ++row)
    if (psse->item(row, 0)->text() == QString::fromUtf8("Имитационная модель")) ++simulation;
  EXPECT_EQ(simulation, 1);
  EXPECT_EQ(psse->item(0, 2)->text(), QStringLiteral("1"));
  EXPECT_TRUE(window->GoodnessLine()->text().contains(QString::fromUtf8(kDistanceName),
                                                      Qt::CaseInsensitive));
  EXPECT_FALSE(window->Result().calibration.stopped);
  EXPECT_GT(window->FitPlot()->graphCount(), 2);

  // File → «Сохранить как…» offers the window, its tables and its charts.
  const ExportSource source = ExportSourceOf(*window);
  EXPECT_NE(source.whole, nullptr);
  EXPECT_EQ(source.charts.size(), 5u);
  ASSERT_TRUE(source.csvTables);
  const auto tables = source.csvTables();
  ASSERT_FALSE(tables.empty());
  EXPECT_EQ(tables.front().first, "estimates.csv");
}

TEST_F(CalibrationWindowTest, OpenInSettingsAcceptsTheFittedSet) {
  TCalibrationWindow* window = Calibrate();
  ASSERT_NE(window, nullptr);
  const TParameters fitted = window->Result().calibration.fit.fitted;
  ASSERT_NE(form_->Model().Parameters(), fitted);
  window->OpenInSettingsButton()->click();
  const TParameters& accepted = form_->Model().Parameters();
  EXPECT_EQ(accepted.FErrorsNum0, fitted.FErrorsNum0);
  EXPECT_DOUBLE_EQ(accepted.FMu, fitted.FMu);
  EXPECT_EQ(accepted.FM, fitted.FM);
  EXPECT_EQ(accepted.FClientsNum, 3);
  EXPECT_EQ(Dialog().Text("edErrorsNum0"), IntToStr(fitted.FErrorsNum0));
  EXPECT_TRUE(form_->statusBar()->currentMessage().contains(QString::fromUtf8("приняты")));
  EXPECT_TRUE(messages_.empty());
}

TEST_F(CalibrationWindowTest, SavedParametersHoldTheFittedSetAndJoinTheRecentFiles) {
  TCalibrationWindow* window = Calibrate();
  ASSERT_NE(window, nullptr);
  const TParameters fitted = window->Result().calibration.fit.fitted;
  QTemporaryDir directory;
  const QString path = directory.filePath(QStringLiteral("fitted"));
  form_->ParameterFiles().SetPathChooser([path](bool) { return path; });
  window->SaveParametersButton()->click();
  const QString written = path + QStringLiteral(".teravo.json");
  auto read = ReadParameterFile(written.toStdString());
  ASSERT_TRUE(std::holds_alternative<ParameterFile>(read));
  const ParameterFile& file = std::get<ParameterFile>(read);
  auto text = [&file](const std::string& name) {
    for (const auto& [edit, value] : file.texts)
      if (edit == name) return value;
    return std::string();
  };
  EXPECT_EQ(text("edErrorsNum0"), IntToStr(fitted.FErrorsNum0));
  EXPECT_EQ(text("edMu"), ShortestText(fitted.FMu));
  EXPECT_EQ(text("edClientsNum"), "3");
  EXPECT_TRUE(form_->ParameterFiles().Recent().List().contains(written));
  // Saving changes nothing accepted.
  EXPECT_NE(form_->Model().Parameters(), fitted);
}

TEST_F(CalibrationWindowTest, EscKeepsTheBestFitSoFarAndTheWindowSaysItStopped) {
  ASSERT_TRUE(Calibrations().Start(Sys1(), Tiny(100000)));
  // The first report comes after an evaluation has ended: there is a best fit to keep.
  ASSERT_TRUE(QTest::qWaitFor(
      [this] {
        return Calibrations().Progress().Bar()->format().contains(QString::fromUtf8("оценка"));
      },
      60000));
  Activate(form_.get());
  QTest::keyClick(form_.get(), Qt::Key_Escape);
  Wait();
  TCalibrationWindow* window = Calibrations().LastWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->Result().calibration.stopped);
  EXPECT_EQ(window->Result().calibration.fit.status, SearchStatus::Stopped);
  EXPECT_TRUE(window->GoodnessLine()->text().contains(QString::fromUtf8("остановлена")));
  EXPECT_EQ(window->EstimatesTable()->rowCount(), 2);
}

TEST_F(CalibrationWindowTest, DialogStartsFromTheDefaultEditsAndTheirTypicalSpans) {
  RecordingSink sink(messages_);
  CalibrationDialog dialog({true, 0.7, 0.5}, ',', sink, form_.get());
  const auto* errors = dialog.Row("edErrorsNum0");
  const auto* mu = dialog.Row("edMu");
  const auto* clients = dialog.Row("edClientsNum");
  ASSERT_TRUE(errors && mu && clients);
  EXPECT_TRUE(errors->chosen->isChecked());
  EXPECT_TRUE(mu->chosen->isChecked());
  EXPECT_FALSE(clients->chosen->isChecked());
  EXPECT_FALSE(clients->low->isEnabled());
  EXPECT_EQ(dialog.Row("edK"), nullptr);
  EXPECT_EQ(dialog.Row("edDT"), nullptr);
  const SettingsEdit* edit = FindSettingsEdit("edMu");
  EXPECT_EQ(mu->low->text().toStdString(), FloatToStr(edit->range.typicalLow, ','));
  EXPECT_EQ(mu->high->text().toStdString(), FloatToStr(edit->range.typicalHigh, ','));
  EXPECT_EQ(dialog.PlaysBox()->value(), 20);
  EXPECT_EQ(dialog.HorizonEdit()->text(), QStringLiteral("0,5"));

  mu->high->setText(QStringLiteral("0,4"));
  auto settings = dialog.Settings();
  ASSERT_TRUE(std::holds_alternative<CalibrationSettings>(settings));
  const CalibrationSettings& chosen = std::get<CalibrationSettings>(settings);
  ASSERT_EQ(chosen.edits.size(), 2u);
  EXPECT_EQ(chosen.edits[1].Name(), "edMu");
  EXPECT_DOUBLE_EQ(chosen.edits[1].high, 0.4);
  EXPECT_DOUBLE_EQ(*chosen.holdoutShare, 0.7);

  // Refused, table-driven: each wrong field keeps the dialog open with a reason.
  const struct {
    QLineEdit* field;
    const char* text;
  } wrong[] = {{mu->low, "x"}, {dialog.HoldoutEdit(), "1,5"}, {dialog.HorizonEdit(), "-1"}};
  for (const auto& [field, text] : wrong) {
    const QString before = field->text();
    field->setText(QString::fromUtf8(text));
    EXPECT_TRUE(std::holds_alternative<QString>(dialog.Settings())) << text;
    field->setText(before);
  }
  errors->chosen->setChecked(false);
  mu->chosen->setChecked(false);
  EXPECT_TRUE(std::holds_alternative<QString>(dialog.Settings()));
}

}  // namespace
}  // namespace teravo::test
