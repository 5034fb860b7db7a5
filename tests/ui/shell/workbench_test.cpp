// Parameter files, export, replay and the spread of a series, through the main window.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <variant>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QVBoxLayout>

#include "core/number_text.h"
#include "params/parameter_file.h"
#include "play/play_driver.h"
#include "tests/ui/ui_fixture.h"
#include "ui/common/export_dialog.h"
#include "ui/data/number_cells.h"
#include "ui/plays/play_results_view.h"
#include "ui/plays/spread_table.h"
#include "ui/settings/parameter_file_actions.h"
#include "ui/shell/window_commands.h"

namespace teravo::test {
namespace {

std::string Contents(const QString& path) {
  std::ifstream in(QFile::encodeName(path).toStdString(), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Write(const QString& path, const std::string& text) {
  std::ofstream(QFile::encodeName(path).toStdString(), std::ios::binary) << text;
}

class Workbench : public IsolatedSettingsTest {
 protected:
  QString Path(const QString& name) const { return dir_.filePath(name); }
  ParameterFileActions& Files() { return form_->ParameterFiles(); }
  WindowCommands& Commands() { return form_->ResultWindowCommands(); }

  TfmPlayResults* Averages() {
    for (TfmPlayResults* window : PlayWindows())
      if (window->Record()->Kind == RecordKind::Averages) return window;
    return nullptr;
  }
  // A series of `plays` small plays; its averages window.
  TfmPlayResults* Series(const std::string& plays) {
    AcceptSmallPlays(plays);
    Press(Qt::Key_F4);
    return Averages();
  }

  QTemporaryDir dir_;
};

// The dialog's texts and mode, to see whether anything changed.
std::pair<decltype(ParameterFile::texts), bool> Snapshot(const TfmSettings& dialog) {
  const ParameterFile file = ParameterFileOf(dialog);
  return {file.texts, file.byProbability};
}

TEST_F(Workbench, OpeningAFileAcceptsItsTextsAsF2WouldAndTheTitleNamesIt) {
  const QLabel& note = form_->NotAcceptedNote();
  // Six programmers accepted, then a file with four (or with no clients) opened.
  auto acceptSix = [&] {
    Dialog().SetProbabilityChecked(true);
    AcceptSettings({{"edClientsNum", "20"}, {"edProgrammersNum", "6"}, {"edM", "200"}});
  };
  const struct {
    const char* name;
    const char* clients;
    const char* programmers;
    bool accepted;
    int programmersRun;  // a refusal at the clients reads no further
  } cases[] = {
      {"four-programmers", "20", "4", true, 4},
      {"no-clients", "0", "5", false, 6},
  };
  for (const auto& item : cases) {
    SCOPED_TRACE(item.name);
    acceptSix();
    EXPECT_TRUE(note.isHidden());
    Dialog().SetText("edClientsNum", item.clients);
    Dialog().SetText("edProgrammersNum", item.programmers);
    Dialog().SetProbabilityChecked(false);
    const QString fileName = QString::fromLatin1(item.name) + QStringLiteral(".teravo.json");
    ASSERT_TRUE(Files().Save(Path(fileName)));
    // What F2 in the dialog says of these texts, and what it leaves in the model.
    messages_.clear();
    Dialog().show();
    Activate(&Dialog());
    QTest::keyClick(&Dialog(), Qt::Key_F2);
    const std::vector<Message> byF2 = messages_;
    const TParameters afterF2 = form_->Model().Parameters();
    acceptSix();

    messages_.clear();
    ASSERT_TRUE(Files().Open(Path(fileName)));
    ASSERT_EQ(messages_.size(), byF2.size());
    for (std::size_t i = 0; i < byF2.size(); ++i) EXPECT_EQ(messages_[i].text, byF2[i].text);
    EXPECT_TRUE(form_->Model().Parameters() == afterF2);
    EXPECT_EQ(form_->Model().FProgrammersNum, item.programmersRun);
    EXPECT_FALSE(Dialog().isVisible());
    EXPECT_EQ(note.isHidden(), item.accepted);
    // The file's name heads the title; a mark while the dialog holds texts not accepted.
    const QString caption = form_->windowTitle();
    EXPECT_TRUE(caption.startsWith(
        fileName + (item.accepted ? QStringLiteral(" — ") : QStringLiteral("* — "))))
        << caption.toStdString();
  }

  // The refusal stays in the status line, whatever hints pass over it, until F2 accepts.
  const QLabel* statusNote =
      form_->statusBar()->findChild<QLabel*>(QStringLiteral("lbNotAccepted"));
  ASSERT_EQ(statusNote, &note);
  form_->statusBar()->showMessage(QStringLiteral("hint"));
  EXPECT_FALSE(note.isHidden());
  EXPECT_EQ(note.text(), QStringLiteral("Параметры не приняты"));
  AcceptSettings({{"edClientsNum", "20"}});
  EXPECT_TRUE(note.isHidden());
  EXPECT_TRUE(form_->windowTitle().startsWith(QStringLiteral("no-clients.teravo.json — ")));
  Dialog().SetText("edM", "201");
  EXPECT_TRUE(form_->windowTitle().startsWith(QStringLiteral("no-clients.teravo.json* — ")));
  EXPECT_EQ(Files().Recent().List().value(0), Path(QStringLiteral("no-clients.teravo.json")));
}

TEST_F(Workbench, SavingWritesWhatTheDialogHoldsAndReadsBackTheSame) {
  Dialog().SetText("edK", "17");
  Dialog().SetText("edMu", Real("0,75"));
  const QString path = Path(QStringLiteral("saved.teravo.json"));
  ASSERT_TRUE(Files().Save(path));
  const auto read = ReadParameterFile(QFile::encodeName(path).toStdString());
  ASSERT_TRUE(std::holds_alternative<ParameterFile>(read)) << std::get<std::string>(read);
  const ParameterFile& file = std::get<ParameterFile>(read);
  EXPECT_EQ(std::make_pair(file.texts, file.byProbability), Snapshot(Dialog()));
  // Stored with a dot whatever the user's separator.
  EXPECT_NE(Contents(path).find("\"0.75\""), std::string::npos);
  EXPECT_EQ(Files().Recent().List().value(0), path);
}

TEST_F(Workbench, AHostileFileIsRefusedWithItsMessageAndLeavesTheDialogAsItWas) {
  const std::string good = ParameterFileText(ParameterFileOf(Dialog()));
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  const struct {
    const char* name;
    std::string text;
  } cases[] = {
      {"not-json", "{ \"format\": "},
      {"version", replaced("\"version\": 1", "\"version\": 2")},
      {"unknown", replaced("\"edK\"", "\"edKK\"")},
      {"missing",
       [&] {
         std::string text = good;
         const std::size_t from = text.find("\"edClientsNum\"");
         return text.erase(from, text.find('\n', from) + 1 - from);
       }()},
      {"type", replaced("\"edM\": \"", "\"edM\": 5, \"x\": \"")},
      {"huge", good + std::string(kMaxParameterFileBytes, ' ')},
  };
  Dialog().SetText("edM", "777");
  const auto before = Snapshot(Dialog());
  for (const auto& item : cases) {
    SCOPED_TRACE(item.name);
    const QString path = Path(QString::fromLatin1(item.name) + QStringLiteral(".teravo.json"));
    // Once a good file in the list; a file that no longer opens leaves it.
    ASSERT_TRUE(Files().Save(path));
    Dialog().hide();
    Write(path, item.text);
    messages_.clear();
    EXPECT_FALSE(Files().Open(path));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_FALSE(messages_[0].error);
    EXPECT_TRUE(messages_[0].text.contains(path)) << messages_[0].text.toStdString();
    EXPECT_EQ(Snapshot(Dialog()), before);
    EXPECT_FALSE(Dialog().isVisible());
    EXPECT_FALSE(Files().Recent().List().contains(path));
  }
}

TEST_F(Workbench, TheFileMenuKeepsFiveRecentFilesAndDropsOneThatNoLongerOpens) {
  for (int i = 1; i <= 6; ++i)
    ASSERT_TRUE(Files().Save(Path(QStringLiteral("f%1.teravo.json").arg(i))));
  const QList<QAction*>& items = Files().RecentActions();
  ASSERT_EQ(items.size(), RecentFiles::kMaxFiles);
  EXPECT_EQ(items[0]->text(), QStringLiteral("&1 f6.teravo.json"));
  EXPECT_EQ(items[4]->text(), QStringLiteral("&5 f2.teravo.json"));

  // The new commands head the menu; the old ones follow in their order.
  auto* fileMenu = form_->menuBar()->findChild<QMenu*>(QStringLiteral("FileMenu"));
  ASSERT_NE(fileMenu, nullptr);
  QStringList names;
  for (QAction* action : fileMenu->actions())
    names << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
  EXPECT_EQ(names,
            (QStringList{"aOpenParameters", "aSaveParameters", "aSaveWindowAs", "-", "aRecentFile1",
                         "aRecentFile2", "aRecentFile3", "aRecentFile4", "aRecentFile5",
                         "aClearRecentFiles", "-", "aOpenFailureData", "aRecentFailureData", "-",
                         "aPlayIteration", "aPlayPlay", "-", "FileExitItem"}));

  Dialog().SetText("edM", "1");
  items[1]->trigger();  // f5, saved with edM as it was
  EXPECT_NE(Dialog().Text("edM"), "1");
  EXPECT_TRUE(messages_.empty());

  Dialog().hide();
  QFile::remove(Path(QStringLiteral("f4.teravo.json")));
  Files().RecentActions()[2]->trigger();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(Files().RecentActions().size(), 4);
  EXPECT_FALSE(Files().Recent().List().contains(Path(QStringLiteral("f4.teravo.json"))));

  // "Очистить список" empties the list and leaves no group behind.
  Files().ClearRecentAction()->trigger();
  EXPECT_TRUE(Files().Recent().List().isEmpty());
  emit fileMenu->aboutToShow();
  EXPECT_EQ(fileMenu->actions().value(4)->objectName(), QStringLiteral("aOpenFailureData"));
}

// Saves `window` through the export dialog as the user would fill it in.
void SaveThroughDialog(WindowCommands& commands, QMdiSubWindow& window, int format, int part,
                       const QString& path, bool ownPageSize = false) {
  commands.SetExportAsker([&](ExportDialog& dialog) {
    dialog.FormatBox()->setCurrentIndex(format);
    dialog.PartBox()->setCurrentIndex(part);
    dialog.PathEdit()->setText(path);
    dialog.OwnPageSizeBox()->setChecked(ownPageSize);
    return true;
  });
  commands.SaveAs(window);
}

TEST_F(Workbench, EveryWindowSavesAsCsvPngAndPdfWholeOrOneChart) {
  EXPECT_FALSE(Commands().SaveAsAction()->isEnabled());
  Series("3");
  ASSERT_TRUE(messages_.empty());
  struct Format {
    int index;
    const char* suffix;
    std::string start;
  };
  const Format formats[] = {{0, "csv", "\xEF\xBB\xBF"}, {1, "png", "\x89PNG"}, {2, "pdf", "%PDF"}};
  const std::pair<const char*, QMdiSubWindow*> windows[] = {
      {"play", PlayWindows().front()},
      {"averages", Averages()},
      {"distributions", DistributionWindows().front()},
  };
  for (const auto& [kind, window] : windows) {
    ASSERT_NE(window, nullptr) << kind;
    for (const Format& format : formats) {
      // The whole window, then its first chart (a table holds the whole window anyway).
      for (int part : {0, 1}) {
        SCOPED_TRACE(std::string(kind) + " " + format.suffix + " part " + std::to_string(part));
        const QString path = Path(QStringLiteral("%1-%2.%3")
                                      .arg(QLatin1String(kind))
                                      .arg(part)
                                      .arg(QLatin1String(format.suffix)));
        SaveThroughDialog(Commands(), *window, format.index, part, path);
        EXPECT_TRUE(messages_.empty());
        const std::string bytes = Contents(path);
        ASSERT_GT(bytes.size(), format.start.size());
        EXPECT_EQ(bytes.substr(0, format.start.size()), format.start);
        if (format.index == 1) {
          EXPECT_FALSE(QImage(path).isNull());
        }
      }
    }
  }
  // Nothing but the files themselves: no temporary left behind.
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).size(), 3 * 3 * 2);

  form_->MdiArea().setActiveSubWindow(Averages());
  EXPECT_TRUE(Commands().SaveAsAction()->isEnabled());
  SaveThroughDialog(Commands(), *Averages(), 0, 0, Path(QStringLiteral("нет/такой/папки.csv")));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_TRUE(messages_[0].error);
  EXPECT_TRUE(messages_[0].text.startsWith(QStringLiteral("Не удалось сохранить файл")));
}

// A picture of a window is of its content: no selection the user left, no scroll bar.
TEST(ExportPicture, ShowsNoSelectionNorScrollBarAndComesBackAsItWas) {
  QWidget whole;
  auto* layout = new QVBoxLayout(&whole);
  auto* field = new QLineEdit(QStringLiteral("0,0130209900990207"), &whole);
  auto* text = new QTextEdit(&whole);
  layout->addWidget(field);
  layout->addWidget(text);
  text->setPlainText(QStringLiteral("line\n").repeated(40));
  text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  field->setSelection(2, 5);
  text->selectAll();
  {
    const CleanForPicture clean(whole);
    EXPECT_FALSE(field->hasSelectedText());
    EXPECT_FALSE(text->textCursor().hasSelection());
    EXPECT_EQ(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  }
  EXPECT_EQ(field->selectedText(), QStringLiteral("01302"));
  EXPECT_TRUE(text->textCursor().hasSelection());
  EXPECT_EQ(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST_F(Workbench, APdfPageIsA4LandscapeUnlessTheWindowsOwnSizeIsChosen) {
  TfmPlayResults* averages = Series("2");
  ASSERT_NE(averages, nullptr);
  for (const bool own : {false, true}) {
    SCOPED_TRACE(own ? "own size" : "A4");
    const QString path = Path(own ? QStringLiteral("own.pdf") : QStringLiteral("a4.pdf"));
    SaveThroughDialog(Commands(), *averages, 2, 0, path, own);
    const std::string pdf = Contents(path);
    // A4 landscape is 842 by 595 points.
    const std::size_t box = pdf.find("/MediaBox");
    ASSERT_NE(box, std::string::npos);
    const std::string media = pdf.substr(box, pdf.find(']', box) - box);
    const bool a4 =
        media.starts_with("/MediaBox [0 0 842") && media.find(" 595") != std::string::npos;
    EXPECT_EQ(a4, !own) << pdf.substr(box, 40);
  }
}

TEST_F(Workbench, AReplayedPlayOpensUnderTheNextNumberWithTheSameFigures) {
  AcceptSmallPlays();
  form_->aPlayIterationExecute();
  ASSERT_EQ(PlayWindows().size(), 1u);
  TfmPlayResults* original = PlayWindows()[0];
  original->ReplayAction()->trigger();
  // Other parameters now (which also start the numbering again): the replay keeps those
  // the play ran with.
  AcceptSettings({{"edM", "50"}});
  original->ReplayAction()->trigger();
  EXPECT_TRUE(messages_.empty());
  const auto windows = PlayWindows();
  ASSERT_EQ(windows.size(), 3u);
  EXPECT_TRUE(windows[1]->windowTitle().startsWith(QStringLiteral("№2 розыгрыш")));
  EXPECT_TRUE(windows[2]->windowTitle().startsWith(QStringLiteral("№1 розыгрыш")));
  const PlayRecord& first = *windows[0]->Record();
  for (TfmPlayResults* replayed : {windows[1], windows[2]}) {
    const PlayRecord& again = *replayed->Record();
    EXPECT_EQ(again.BeginSettings, first.BeginSettings);
    ASSERT_NE(replayed->View(), nullptr);
    for (int i = 0; i < kFieldCount; ++i) {
      const auto field = static_cast<Field>(i);
      EXPECT_EQ(again.Text(field), first.Text(field)) << FieldName(field);
      EXPECT_EQ(replayed->View()->FieldEdit(field)->text().toStdString(), first.Text(field));
    }
    for (int c = 0; c < kChartCount; ++c) {
      const auto chart = static_cast<Chart>(c);
      EXPECT_EQ(again.Series(chart).AllPoints().ys, first.Series(chart).AllPoints().ys);
    }
  }
  // The averages of a series have no play to replay.
  TfmPlayResults* averages = Series("2");
  ASSERT_NE(averages, nullptr);
  averages->ReplayAction()->trigger();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text.toStdString(), kNothingToReplay);
}

TEST_F(Workbench, AnAveragesWindowGivesTheSpreadInToolTipsAndItsTable) {
  TfmPlayResults* averages = Series("3");
  ASSERT_NE(averages, nullptr);
  const PlayRecord& record = *averages->Record();
  PlayResultsView* view = averages->View();
  for (Field field : FieldsInWindowOrder()) {
    const QString tip = view->FieldEdit(field)->toolTip();
    if (field == Field::edCurTime) {
      EXPECT_FALSE(tip.contains(QStringLiteral("СКО"))) << FieldName(field);
      continue;
    }
    const auto& spread = record.Spreads[static_cast<std::size_t>(field)];
    ASSERT_TRUE(spread.has_value()) << FieldName(field);
    const QString expected =
        QStringLiteral("СКО: %1 ; 95 % интервал: ± %2")
            .arg(QString::fromStdString(FloatToStr(spread->deviation, record.Separator())),
                 QString::fromStdString(FloatToStr(spread->halfWidth, record.Separator())));
    EXPECT_TRUE(tip.endsWith(expected)) << FieldName(field) << ": " << tip.toStdString();
    // The window rounds an integer field's mean; where that changed it, its tip gives the mean
    // as it is.
    const QString exact =
        QString::fromStdString(FloatToStr(record.ExactValue(field), record.Separator()));
    const bool rounded = exact != QString::fromStdString(record.Text(field));
    EXPECT_EQ(tip.contains(QStringLiteral("Точное среднее: ") + exact + QLatin1Char('\n')), rounded)
        << FieldName(field) << ": " << tip.toStdString();
  }
  // A single play has none.
  EXPECT_FALSE(PlayWindows()
                   .front()
                   ->BuiltView()
                   ->FieldEdit(Field::edTer)
                   ->toolTip()
                   .contains(QStringLiteral("СКО")));

  averages->SpreadAction()->trigger();
  auto* table = averages->findChild<SpreadTable*>();
  ASSERT_NE(table, nullptr);
  EXPECT_FALSE(table->Note()->isVisibleTo(table));
  ASSERT_EQ(table->Table()->rowCount(), kFieldCount - 1);
  for (int row = 0; row < table->Table()->rowCount(); ++row)
    for (int column = 0; column < 4; ++column)
      EXPECT_FALSE(table->Table()->item(row, column)->text().isEmpty()) << row << " " << column;
  EXPECT_EQ(table->Table()->item(0, 0)->text(), FieldTitle(FieldsInWindowOrder()[1]));
  // Its means are exact, shown to four digits, in full in the tool tip.
  for (int row = 0; row < table->Table()->rowCount(); ++row) {
    const Field field = FieldsInWindowOrder()[static_cast<std::size_t>(row) + 1];
    const double exact = static_cast<double>(record.ExactValue(field));
    const QTableWidgetItem* mean = table->Table()->item(row, 1);
    EXPECT_EQ(mean->toolTip(), QString::fromStdString(FloatToStr(exact, record.Separator())))
        << FieldName(field);
    EXPECT_EQ(mean->text(), ShortNumber(exact, record.Separator())) << FieldName(field);
  }
  // Saved as the other windows are, with Ctrl+Shift+S; its CSV has the values in full.
  EXPECT_EQ(table->SaveAsAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  const QString path = Path(QStringLiteral("spread.csv"));
  Commands().SetExportAsker([&](ExportDialog& dialog) {
    dialog.FormatBox()->setCurrentIndex(0);
    dialog.PathEdit()->setText(path);
    return true;
  });
  table->SaveAsAction()->trigger();
  EXPECT_TRUE(messages_.empty());
  const std::string csv = Contents(path);
  EXPECT_EQ(csv, table->Csv());
  EXPECT_NE(csv.find(FloatToStr(static_cast<double>(record.ExactValue(Field::edWorkClientNum)),
                                record.Separator())),
            std::string::npos);
}

TEST_F(Workbench, ASeriesOfOnePlaySaysItHasNoSpreadAndNeverShowsNaN) {
  TfmPlayResults* averages = Series("1");
  ASSERT_NE(averages, nullptr);
  EXPECT_EQ(averages->View()->FieldEdit(Field::edKg)->toolTip(),
            QStringLiteral("Один розыгрыш: разброс не определён"));
  averages->SpreadAction()->trigger();
  auto* table = averages->findChild<SpreadTable*>();
  ASSERT_NE(table, nullptr);
  EXPECT_TRUE(table->Note()->isVisibleTo(table));
  for (int row = 0; row < table->Table()->rowCount(); ++row) {
    for (int column = 1; column < 4; ++column) {
      const QString text = table->Table()->item(row, column)->text().toLower();
      EXPECT_FALSE(text.contains(QStringLiteral("nan")) || text.contains(QStringLiteral("inf")));
    }
  }
}

TEST_F(Workbench, BandsShowByDefaultFromTenPlaysAndTheMenuTurnsThemOver) {
  for (const auto& [plays, byDefault] : {std::pair{"3", false}, std::pair{"10", true}}) {
    SCOPED_TRACE(plays);
    TfmPlayResults* averages = Series(plays);
    ASSERT_NE(averages, nullptr);
    const PlayResultsView& view = *averages->View();
    EXPECT_EQ(averages->BandsShown(), byDefault);
    for (Chart curve :
         {Chart::chNums, Chart::chClientErrors, Chart::chAvTer, Chart::chErrorsIntensity}) {
      EXPECT_EQ(view.ChartOf(curve).ShowsBand(), byDefault) << ChartName(curve);
      // The mean and its band are told apart by a legend while both are drawn.
      EXPECT_EQ(view.ChartOf(curve).ShowsLegend(), byDefault) << ChartName(curve);
    }
    EXPECT_FALSE(view.ChartOf(Chart::chErrorsGist).ShowsBand());
    EXPECT_FALSE(view.ChartOf(Chart::chErrorsGist).ShowsLegend());
    averages->BandAction()->trigger();
    EXPECT_EQ(view.ChartOf(Chart::chNums).ShowsBand(), !byDefault);
    EXPECT_EQ(view.ChartOf(Chart::chNums).ShowsLegend(), !byDefault);
    EXPECT_EQ(averages->BandAction()->isChecked(), !byDefault);
    // Close this series' averages before the next one.
    averages->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

}  // namespace
}  // namespace teravo::test
