#include <qcustomplot.h>

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>

#include "tests/ui/ui_fixture.h"
#include "ui/common/locale_text.h"
#include "ui/common/progress_line.h"
#include "ui/common/table_copy.h"
#include "ui/decisions/decisions_control.h"
#include "ui/decisions/decisions_window.h"
#include "ui/decisions/question_form.h"

namespace teravo::test {
namespace {

class DecisionsWindowTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    // Plays of 30 days on a step of 0,01, with few clients: each plays in a moment.
    AcceptSettings({{"edDT", "0,01"}, {"edM", "3000"}, {"edClientsNum", "20"}});
  }

  DecisionsControl& Control() {
    return *form_->findChild<DecisionsControl*>(QStringLiteral("DecisionsControl"));
  }

  // Opens the window from the Настройки menu, as the user would.
  TDecisionsWindow* OpenFromMenu() {
    auto* menu = form_->menuBar()->findChild<QMenu*>(QStringLiteral("SettingsMenu"));
    for (QAction* action : menu->actions()) {
      if (action->text() == QString::fromUtf8("Когда цель будет достигнута?…")) action->trigger();
    }
    return Control().Window();
  }

  void Ask(TDecisionsWindow& window) {
    window.AskButton()->click();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !Control().Running(); }, 120000));
  }
};

TEST_F(DecisionsWindowTest, AnswersInWordsWithTheirProbabilityAndPlays) {
  TDecisionsWindow* window = OpenFromMenu();
  ASSERT_NE(window, nullptr);
  QuestionForm& question = *window->Form();
  question.ThresholdEdit()->setText(QStringLiteral("0%13").arg(LocaleDecimalSeparator()));
  question.PlaysEdit()->setText(QStringLiteral("10"));
  question.ByEdit()->setText(QStringLiteral("20"));
  question.MostEdit()->setText(QStringLiteral("4"));
  Ask(*window);
  for (const Message& message : messages_) ADD_FAILURE() << message.text.toStdString();
  ASSERT_TRUE(window->HasAnswers());
  const QString answer = window->AnswerLine()->text();
  EXPECT_TRUE(answer.contains(QString::fromUtf8("С вероятностью 90 % цель")))
      << answer.toStdString();
  EXPECT_TRUE(answer.contains(QString::fromUtf8("из 10 розыгрышей"))) << answer.toStdString();
  EXPECT_TRUE(window->DetailsLine()->text().contains(QString::fromUtf8("Ответ по 10 розыгрышам")));
  EXPECT_GT(window->StaffingTable()->rowCount(), 0);
  EXPECT_GE(window->DistributionPlot()->graphCount(), 2);  // the shares and the probability
  EXPECT_GE(window->CostPlot()->graphCount(), 4);          // the band, the mean, the best time
  const auto tables = window->CsvTables();
  ASSERT_EQ(tables.size(), 3u);
  EXPECT_EQ(tables[0].first, "time_to_target.csv");
  // Ctrl+C copies the selected cells as the other tables do, for a spreadsheet to paste.
  for (QTableWidget* table : {window->QuantileTable(), window->StaffingTable()}) {
    SCOPED_TRACE(table->objectName().toStdString());
    table->selectAll();
    QGuiApplication::clipboard()->clear();
    QAction* copy = nullptr;
    for (QAction* action : table->actions())
      if (action->shortcut() == QKeySequence(QKeySequence::Copy)) copy = action;
    ASSERT_NE(copy, nullptr);
    copy->trigger();
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_EQ(copied, SelectedCellsText(*table));
    EXPECT_TRUE(copied.contains(QLatin1Char('\t'))) << copied.toStdString();
  }
}

TEST_F(DecisionsWindowTest, AStopAnswersFromThePlaysBeforeIt) {
  TDecisionsWindow* window = OpenFromMenu();
  ASSERT_NE(window, nullptr);
  window->Form()->PlaysEdit()->setText(QStringLiteral("10000"));
  window->Form()->StaffingBox()->setChecked(false);
  window->AskButton()->click();
  ASSERT_TRUE(Control().Running());
  ASSERT_TRUE(QTest::qWaitFor(
      [this] { return Control().Progress().Bar()->value() > 0 || !Control().Running(); }, 60000));
  Control().Stop();
  ASSERT_TRUE(QTest::qWaitFor([this] { return !Control().Running(); }, 60000));
  for (const Message& message : messages_) ADD_FAILURE() << message.text.toStdString();
  ASSERT_TRUE(window->HasAnswers());
  const QString details = window->DetailsLine()->text();
  EXPECT_TRUE(details.contains(QString::fromUtf8("Расчёт остановлен"))) << details.toStdString();
  EXPECT_FALSE(details.contains(QString::fromUtf8("по 10000 розыгрышам")));
}

TEST_F(DecisionsWindowTest, AFieldThatDoesNotReadIsToldAndNothingRuns) {
  TDecisionsWindow* window = OpenFromMenu();
  ASSERT_NE(window, nullptr);
  struct BadField {
    QLineEdit* edit;
    const char* text;
    const char* told;
  };
  QuestionForm& question = *window->Form();
  const BadField cases[] = {
      {question.ProbabilityEdit(), "2", "Вероятность должна быть"},
      {question.PlaysEdit(), "0", "Число розыгрышей"},
      {question.ByEdit(), "31", "Срок должен лежать в розыгрыше"},
      {question.MostEdit(), "0", "Наибольшее число программистов"},
      {question.HorizonEdit(), "abc", "Горизонт должен лежать в розыгрыше"},
  };
  for (const BadField& c : cases) {
    const QString before = c.edit->text();
    c.edit->setText(QString::fromUtf8(c.text));
    messages_.clear();
    window->AskButton()->click();
    ASSERT_EQ(messages_.size(), 1u) << c.told;
    EXPECT_TRUE(messages_[0].text.startsWith(QString::fromUtf8(c.told)))
        << messages_[0].text.toStdString();
    EXPECT_FALSE(Control().Running());
    EXPECT_FALSE(window->HasAnswers());
    c.edit->setText(before);
  }
}

}  // namespace
}  // namespace teravo::test
