#include <qcustomplot.h>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include "reliability/analysis_document.h"
#include "tests/ui/ui_fixture.h"
#include "ui/common/export_dialog.h"
#include "ui/common/locale_text.h"
#include "ui/data/data_file_actions.h"
#include "ui/data/data_import_dialog.h"
#include "ui/data/data_window.h"
#include "ui/shell/window_commands.h"

namespace teravo::test {
namespace {

const QString kSys1 = QStringLiteral(TERAVO_TEST_DATA_DIR "/SYS1.csv");

class DataWindowTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    Files().SetModalRunner([](QDialog& dialog) { dialog.show(); });
  }

  DataFileActions& Files() { return form_->DataFiles(); }

  // Opens the file in the import dialog with the unit chosen.
  DataImportDialog* Import(const QString& path, TimeUnit unit) {
    EXPECT_TRUE(Files().Open(path));
    DataImportDialog* dialog = Files().ImportDialog();
    if (!dialog) return nullptr;
    dialog->UnitBox()->setCurrentIndex(dialog->UnitBox()->findData(static_cast<int>(unit)));
    return dialog;
  }

  TDataAnalysisWindow* Analyse(DataImportDialog* dialog) {
    dialog->OkButton()->click();
    EXPECT_TRUE(QTest::qWaitFor([this] { return !Files().Running(); }, 60000));
    for (const Message& message : messages_) ADD_FAILURE() << message.text.toStdString();
    return Files().LastWindow();
  }
};

TEST_F(DataWindowTest, Sys1InSecondsShowsGoelOkumotosEstimate) {
  DataImportDialog* dialog = Import(kSys1, TimeUnit::Seconds);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->Preview()->rowCount(), 136);
  TDataAnalysisWindow* window = Analyse(dialog);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(window->windowTitle(), QString::fromUtf8("Данные об отказах: SYS1.csv"));

  const QString comma{QChar(LocaleDecimalSeparator())};
  const QTableWidget* models = window->ModelsTable();
  ASSERT_EQ(models->rowCount(), 4);
  EXPECT_EQ(models->item(0, 0)->text(), QString::fromUtf8("Гоэла–Окумото"));
  EXPECT_EQ(models->item(0, 1)->text(), QString::fromUtf8("сошлось"));
  EXPECT_TRUE(models->item(0, 2)->text().startsWith(QStringLiteral("a = 142") + comma + "9 ("))
      << models->item(0, 2)->text().toStdString();
  // The tool tip holds the full value.
  EXPECT_TRUE(models->item(0, 2)->toolTip().startsWith(QStringLiteral("a = 142") + comma + "88"))
      << models->item(0, 2)->toolTip().toStdString();

  EXPECT_EQ(window->DataTable()->rowCount(), 136);
  EXPECT_TRUE(window->TrendLine()->text().contains(QString::fromUtf8("надежность растет")));
  EXPECT_EQ(window->LaplacePlot()->xAxis->label(), QString::fromUtf8("Время, сутки"));
  EXPECT_EQ(window->IntensityPlot()->yAxis->label(),
            QString::fromUtf8("Интенсивность отказов, 1/сутки"));
  EXPECT_EQ(window->ForecastTable()->rowCount(), 4);
}

TEST_F(DataWindowTest, ABadRowIsMarkedInThePreviewAndRefusedOnAccept) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("bad.csv"));
  {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("FT\n1\n2\nthree\n4\n5\n6\n7\n");
  }
  DataImportDialog* dialog = Import(path, TimeUnit::Days);
  ASSERT_NE(dialog, nullptr);
  const QTableWidget* preview = dialog->Preview();
  ASSERT_EQ(preview->rowCount(), 7);
  const QTableWidgetItem* bad = preview->item(2, 1);
  ASSERT_NE(bad, nullptr);
  EXPECT_EQ(bad->text(), QStringLiteral("three"));
  EXPECT_FALSE(bad->toolTip().isEmpty());
  EXPECT_NE(bad->background().color(), preview->item(1, 1)->background().color());
  EXPECT_TRUE(preview->item(1, 1)->toolTip().isEmpty());

  dialog->OkButton()->click();
  ASSERT_EQ(messages_.size(), 1u);
  // The reader's refusal names the file's line 4, where "three" stands.
  EXPECT_TRUE(messages_[0].text.contains(QStringLiteral("4"))) << messages_[0].text.toStdString();
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_FALSE(Files().Running());
  EXPECT_EQ(Files().LastWindow(), nullptr);
  EXPECT_TRUE(form_->MdiArea().subWindowList().isEmpty());
}

TEST_F(DataWindowTest, ANonTableIsRefusedBeforeTheDialog) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("binary.csv"));
  {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("\0\1\2\3\0\0binary", 12));
  }
  EXPECT_FALSE(Files().Open(path));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(Files().ImportDialog(), nullptr);
}

TEST_F(DataWindowTest, TheCsvExportWritesTheAnalysisTables) {
  DataImportDialog* dialog = Import(kSys1, TimeUnit::Seconds);
  ASSERT_NE(dialog, nullptr);
  TDataAnalysisWindow* window = Analyse(dialog);
  ASSERT_NE(window, nullptr);
  form_->MdiArea().setActiveSubWindow(window);
  WindowCommands& commands = *WindowCommands::Of(*form_);
  EXPECT_TRUE(commands.SaveAsAction()->isEnabled());

  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("sys1.csv"));
  commands.SetExportAsker([&](ExportDialog& exportDialog) {
    exportDialog.FormatBox()->setCurrentIndex(0);  // CSV
    exportDialog.PathEdit()->setText(path);
    return true;
  });
  commands.SaveAsAction()->trigger();
  EXPECT_TRUE(messages_.empty());

  const DataAnalysisResult& result = window->Result();
  const CsvTables tables =
      AnalysisCsvTables(result.data, result.analysis, result.options, LocaleDecimalSeparator());
  ASSERT_EQ(tables.size(), 8u);
  for (const auto& [name, text] : tables) {
    QFile file(CsvTablePath(path, name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    EXPECT_EQ(file.readAll().toStdString(), text) << name;
  }
}

TEST_F(DataWindowTest, TheForecastIsAskedAgainFromItsInputs) {
  DataImportDialog* dialog = Import(kSys1, TimeUnit::Seconds);
  ASSERT_NE(dialog, nullptr);
  TDataAnalysisWindow* window = Analyse(dialog);
  ASSERT_NE(window, nullptr);
  const QString comma{QChar(LocaleDecimalSeparator())};
  window->RequestEdit(0)->setText(QStringLiteral("0") + comma + "5");
  EXPECT_TRUE(window->Predict());
  EXPECT_EQ(window->Result().options.prediction.horizon, 0.5);
  EXPECT_TRUE(window->ForecastTable()->horizontalHeaderItem(1)->text().contains(
      QStringLiteral("0") + comma + "5"));

  // A target reliability of 1 is never offered: it is refused and nothing changes.
  window->RequestEdit(4)->setText(QStringLiteral("1"));
  EXPECT_FALSE(window->Predict());
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(window->Result().options.prediction.target_reliability, 0.9);
}

}  // namespace
}  // namespace teravo::test
