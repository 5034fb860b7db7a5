#include <algorithm>
#include <string>
#include <string_view>

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

#include "params/acceptance.h"
#include "params/settings_edits.h"
#include "params/settings_form.h"
#include "tests/support/messages.h"
#include "tests/ui/ui_fixture.h"

namespace teravo::test {
namespace {

using SettingsDialog = MainFormTest;

struct LabelRow {
  const char* label;
  const char* text;
  const char* buddy;
};

const LabelRow kLabels[] = {
    {"Label1", "Кол-во программ-&клиентов:", "edClientsNum"},
    {"Label2", "Кол-во &программистов:", "edProgrammersNum"},
    {"Label3", "&Доля от общей области данных (ООД) в одном запросе клиента:", "edA"},
    {"Label4", "Начальное кол-во &ошибок:", "edErrorsNum0"},
    {"Label11", "Интенсивность начального потока ошибок в ПК:", "edY0"},
    {"Label12", "(1/сутки)", nullptr},
    {"Label19", "оптимальное время моделирования:", "edOptimT"},
    {"Label6", "&Коэффициент сложности сервера:", "edCoeffComplexity"},
    {"Label7", "&Интенсивность потока обращений клиента к серверу:", "edYk"},
    {"Label9", "(1/сутки)", nullptr},
    {"Label8", "Интенсивность &потока исправления ошибки:", "edMu"},
    {"Label10", "(1/сутки)", nullptr},
    {"Label13", "&Вероятность внести ошибку при исправлении:", "edP_newErr"},
    {"Label5", "&Интенсивность внесения ошибки при исправлении:", "edY_newErr"},
    {"Label20", "(1/сутки)", nullptr},
    {"Label14", "&Шаг итерации:", "edDT"},
    {"Label15", "(сутки)", nullptr},
    {"Label16", "Кол-во итераци&й:", "edM"},
    {"Label17", "(сутки)", nullptr},
    {"Label18", "Кол-во &розыгрышей:", "edK"},
};

template <class Widget>
Widget* Child(QWidget& parent, const char* name) {
  auto* widget = parent.findChild<Widget*>(QString::fromUtf8(name));
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

TEST_F(SettingsDialog, HasEveryLabelWithItsTextAndTheEditItNames) {
  EXPECT_EQ(Dialog().windowTitle(), QStringLiteral("Параметры розыгрыша"));
  EXPECT_TRUE(Dialog().isModal());
  EXPECT_FALSE(Dialog().isVisible());
  for (const LabelRow& row : kLabels) {
    auto* label = Child<QLabel>(Dialog(), row.label);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QString::fromUtf8(row.text)) << row.label;
    if (row.buddy) {
      EXPECT_EQ(label->buddy(), Dialog().Edit(row.buddy)) << row.label;
    }
  }
}

TEST_F(SettingsDialog, EveryTableEditHasItsLabelCaptionAndHint) {
  const QList<QLabel*> labels = Dialog().findChildren<QLabel*>();
  for (const SettingsEdit& entry : SettingsEdits()) {
    SCOPED_TRACE(std::string(entry.name));
    auto* edit = Dialog().findChild<QLineEdit*>(Utf8(entry.name));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->toolTip(), Utf8(entry.hint));
    EXPECT_EQ(edit->statusTip(), Utf8(entry.hint));
    const auto label = std::find_if(labels.begin(), labels.end(),
                                    [edit](const QLabel* l) { return l->buddy() == edit; });
    if (entry.label.empty()) {
      EXPECT_EQ(label, labels.end());
    } else {
      ASSERT_NE(label, labels.end());
      EXPECT_EQ((*label)->text(), Utf8(entry.label));
    }
  }
}

TEST_F(SettingsDialog, StartsWithTheDefaultTextsAndStates) {
  for (const EditDefault& item : DefaultEdits(Dialog().DecimalSeparator())) {
    EXPECT_EQ(Dialog().Text(item.name), item.text) << item.name;
    EXPECT_EQ(Dialog().IsEnabled(item.name), item.enabled) << item.name;
  }
  EXPECT_TRUE(Dialog().IsProbabilityChecked());
  EXPECT_TRUE(Dialog().IsEnabled(edit::P_newErr));
  EXPECT_FALSE(Dialog().IsEnabled(edit::Y_newErr));
  EXPECT_EQ(Dialog().Text(edit::Time), "");
}

TEST_F(SettingsDialog, HasItsGroupsRadioPairButtonsAndHints) {
  EXPECT_EQ(Child<QGroupBox>(Dialog(), "GroupBox1")->title(),
            QStringLiteral("Блок оценки начального количества ошибок:"));
  EXPECT_EQ(Child<QGroupBox>(Dialog(), "GroupBox2")->title(),
            QStringLiteral("Описание типа внесения ошибки при исправлении:"));
  EXPECT_EQ(Child<QRadioButton>(Dialog(), "rbP")->text(), QStringLiteral("вероятность"));
  EXPECT_EQ(Child<QRadioButton>(Dialog(), "rbI")->text(), QStringLiteral("интенсивность"));
  auto* callErrors = Child<QPushButton>(Dialog(), "buCallErrors");
  EXPECT_EQ(callErrors->text(), QStringLiteral("О&ценить количество"));
  EXPECT_EQ(callErrors->toolTip(),
            QStringLiteral("Оценка количества ошибок по вероятности обнаружить их все за время "
                           "проведения розыгрыша"));
  EXPECT_EQ(callErrors->statusTip(), callErrors->toolTip());
  EXPECT_EQ(Child<QPushButton>(Dialog(), "buCallAverCorrectErrorNum")->text(),
            QStringLiteral("среднее число ошибок, которое &будет найдено за время моделирования:"));
  auto* allTime = Child<QPushButton>(Dialog(), "buAllTime");
  EXPECT_EQ(allTime->text(), QStringLiteral("&Общее время розыгрыша"));
  EXPECT_EQ(allTime->statusTip(), QStringLiteral("Расчитывает время розыгрышв как произведение "
                                                 "шага на количество итераций"));
  EXPECT_EQ(Child<QPushButton>(Dialog(), "buInitParameters")->text(),
            QStringLiteral("Принять параметры (F2)"));
  EXPECT_EQ(Dialog().InitParametersAction()->text(), QStringLiteral("Принять параметры (F2)"));
  EXPECT_EQ(Dialog().InitParametersAction()->shortcut(), QKeySequence(Qt::Key_F2));
}

TEST_F(SettingsDialog, TabOrderFollowsTheDesign) {
  const std::vector<QString> expected = {"edClientsNum",
                                         "edProgrammersNum",
                                         "edA",
                                         "edCoeffComplexity",
                                         "edYk",
                                         "edMu",
                                         "edErrorsNum0",
                                         "buCallErrors",
                                         "edY0",
                                         "edE_aver",
                                         "edOptimT",
                                         "buCallAverCorrectErrorNum",
                                         "edP_newErr",
                                         "edDT",
                                         "edM",
                                         "buAllTime",
                                         "edTime",
                                         "edK",
                                         "buInitParameters",
                                         "edY_newErr",
                                         "rbP",
                                         "rbI"};
  std::vector<QString> chain;
  QWidget* start = Dialog().Edit(edit::ClientsNum);
  QWidget* widget = start;
  do {
    if (std::find(expected.begin(), expected.end(), widget->objectName()) != expected.end())
      chain.push_back(widget->objectName());
    widget = widget->nextInFocusChain();
  } while (widget != start);
  EXPECT_EQ(chain, expected);
}

TEST_F(SettingsDialog, AltWithAMnemonicFocusesTheNamedEdit) {
  Press(Qt::Key_F2);
  Activate(&Dialog());
  const std::pair<char16_t, const char*> mnemonics[] = {
      {u'Д', "edA"}, {u'Ш', "edDT"}, {u'Й', "edM"}, {u'Р', "edK"}, {u'В', "edP_newErr"}};
  for (const auto& [letter, edit] : mnemonics) {
    // QTest's key helpers know only ASCII letters; these carry their text themselves.
    const auto key = static_cast<Qt::Key>(letter);
    const QString text(QChar{letter});
    QTest::sendKeyEvent(QTest::Press, &Dialog(), key, text, Qt::AltModifier);
    QTest::sendKeyEvent(QTest::Release, &Dialog(), key, text, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), Dialog().Edit(edit)) << edit;
  }
}

TEST_F(SettingsDialog, F2InsideAcceptsIntoTheModelAndCloses) {
  AcceptSettings({{"edClientsNum", "7"}, {"edM", "200"}, {"edK", "4"}, {"edDT", "0,002"}});
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(form_->Model().FClientsNum, 7);
  EXPECT_EQ(form_->Model().FProgrammersNum, 3);
  EXPECT_EQ(form_->Model().FM, 200);
  EXPECT_EQ(form_->Model().FK, 4);
  EXPECT_DOUBLE_EQ(form_->Model().FDT, 0.002);
  EXPECT_TRUE(form_->Model().FShowProgress);
  EXPECT_EQ(Dialog().Text(edit::Time), Real("0,4"));
}

TEST_F(SettingsDialog, ACorrectedStepShowsItsLeadingDigits) {
  AcceptSettings({{"edYk", "1010"}});
  ASSERT_FALSE(messages_.empty());
  QLineEdit* step = Dialog().Edit(edit::DT);
  EXPECT_TRUE(step->text().startsWith(QString::fromStdString(Real("0,00099"))))
      << step->text().toStdString();
  EXPECT_EQ(step->cursorPosition(), 0);
}

TEST_F(SettingsDialog, AcceptButtonDoesWhatF2Does) {
  Press(Qt::Key_F2);
  QTest::mouseClick(Child<QPushButton>(Dialog(), "buInitParameters"), Qt::LeftButton);
  EXPECT_FALSE(Dialog().isVisible());
  EXPECT_EQ(form_->Model().FM, 10000);
  EXPECT_EQ(form_->Model().FK, 10);
}

TEST_F(SettingsDialog, BadFieldShowsItsMessageClosesAndKeepsTheText) {
  AcceptSettings({{"edK", "x"}});
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_FALSE(messages_[0].error);
  EXPECT_EQ(messages_[0].text.toStdString(), msg::K);
  Press(Qt::Key_F2);
  EXPECT_TRUE(Dialog().isVisible());
  EXPECT_EQ(Dialog().Text(edit::K), "x");
}

// The described message stays; the field and the status line say which separator is read.
TEST_F(SettingsDialog, ANumberWithTheOtherSeparatorIsToldWhichOneIsRead) {
  const char separator = Dialog().DecimalSeparator();
  const char other = separator == ',' ? '.' : ',';
  const QString note = separator == ',' ? QStringLiteral("Десятичный разделитель — запятая")
                                        : QStringLiteral("Десятичный разделитель — точка");
  const QString hint = Dialog().Edit(edit::Mu)->toolTip();
  Press(Qt::Key_F2);
  // Typed as it is: AcceptSettings() would turn a comma into the user's separator.
  Dialog().SetText(edit::Mu, std::string("0") + other + "5");
  Activate(&Dialog());
  QTest::keyClick(&Dialog(), Qt::Key_F2);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text.toStdString(), msg::Mu);
  EXPECT_EQ(Dialog().Edit(edit::Mu)->toolTip(), hint + QLatin1Char('\n') + note);
  EXPECT_EQ(form_->statusBar()->currentMessage(), note);
  // A refusal of another kind adds nothing, and the tool tip is the hint again.
  messages_.clear();
  AcceptSettings({{"edMu", "-1"}});
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(Dialog().Edit(edit::Mu)->toolTip(), hint);
  EXPECT_TRUE(form_->statusBar()->currentMessage().isEmpty());
}

TEST_F(SettingsDialog, CancelClosesWithoutAcceptingAndTheHintsGoWithTheDialog) {
  Press(Qt::Key_F2);
  Dialog().SetText(edit::ClientsNum, "55");
  form_->statusBar()->showMessage(Dialog().Edit(edit::ClientsNum)->statusTip());
  auto* cancel = Child<QPushButton>(Dialog(), "buCancel");
  EXPECT_EQ(cancel->text(), QStringLiteral("Отмена"));
  QTest::mouseClick(cancel, Qt::LeftButton);
  EXPECT_FALSE(Dialog().isVisible());
  EXPECT_EQ(form_->Model().FClientsNum, 0);
  EXPECT_TRUE(form_->statusBar()->currentMessage().isEmpty());
}

TEST_F(SettingsDialog, TextsPersistAndClosingWithoutAcceptingLeavesTheModel) {
  Press(Qt::Key_F2);
  Dialog().SetText(edit::ClientsNum, "55");
  Dialog().close();
  Press(Qt::Key_F2);
  EXPECT_EQ(Dialog().Text(edit::ClientsNum), "55");
  EXPECT_EQ(form_->Model().FClientsNum, 0);
}

TEST_F(SettingsDialog, RadioPairSwitchesTheEditsAndTheFocus) {
  Press(Qt::Key_F2);
  Activate(&Dialog());
  QTest::mouseClick(Child<QRadioButton>(Dialog(), "rbI"), Qt::LeftButton);
  EXPECT_FALSE(Dialog().IsProbabilityChecked());
  EXPECT_TRUE(Dialog().IsEnabled(edit::Y_newErr));
  EXPECT_FALSE(Dialog().IsEnabled(edit::P_newErr));
  EXPECT_EQ(QApplication::focusWidget(), Dialog().Edit(edit::Y_newErr));

  QTest::mouseClick(Child<QRadioButton>(Dialog(), "rbP"), Qt::LeftButton);
  EXPECT_TRUE(Dialog().IsProbabilityChecked());
  EXPECT_FALSE(Dialog().IsEnabled(edit::Y_newErr));
  EXPECT_TRUE(Dialog().IsEnabled(edit::P_newErr));
  EXPECT_EQ(QApplication::focusWidget(), Dialog().Edit(edit::P_newErr));
}

TEST_F(SettingsDialog, EstimatorButtonsFillTheirFields) {
  Press(Qt::Key_F2);
  QTest::mouseClick(Child<QPushButton>(Dialog(), "buAllTime"), Qt::LeftButton);
  EXPECT_EQ(Dialog().Text(edit::Time), "10");
  QTest::mouseClick(Child<QPushButton>(Dialog(), "buCallErrors"), Qt::LeftButton);
  EXPECT_EQ(Dialog().Text(edit::ErrorsNum0), "1000");
  QTest::mouseClick(Child<QPushButton>(Dialog(), "buCallAverCorrectErrorNum"), Qt::LeftButton);
  EXPECT_EQ(Dialog().Text(edit::E_aver), "100");
  EXPECT_EQ(Dialog().Text(edit::OptimT), "100");
  EXPECT_TRUE(messages_.empty());
  EXPECT_TRUE(Dialog().isVisible());
}

TEST_F(SettingsDialog, AnUnreadableNumberReachesTheDefaultHandlerAndTheDialogStays) {
  Press(Qt::Key_F2);
  Dialog().SetText(edit::M, "abc");
  QTest::mouseClick(Child<QPushButton>(Dialog(), "buAllTime"), Qt::LeftButton);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_TRUE(messages_[0].error);
  EXPECT_EQ(messages_[0].text, QStringLiteral("'abc' is not a valid integer value."));
  EXPECT_TRUE(Dialog().isVisible());
}

TEST_F(SettingsDialog, ABadProbabilityWhileDisabledIsOnlyReported) {
  Press(Qt::Key_F2);
  QTest::mouseClick(Child<QRadioButton>(Dialog(), "rbI"), Qt::LeftButton);
  Dialog().SetText(edit::P_newErr, "1");
  QTest::mouseClick(Child<QPushButton>(Dialog(), "buCallErrors"), Qt::LeftButton);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text.toStdString(), msg::P_newErr);
  EXPECT_FALSE(messages_[0].error);
  EXPECT_EQ(Dialog().Text(edit::ErrorsNum0), "100");
}

TEST_F(SettingsDialog, ButtonHintsReachTheMainStatusLine) {
  Press(Qt::Key_F2);
  auto* allTime = Child<QPushButton>(Dialog(), "buAllTime");
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QCoreApplication::sendEvent(allTime, &enter);
  EXPECT_EQ(form_->statusBar()->currentMessage(), allTime->statusTip());
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(allTime, &leave);
  EXPECT_EQ(form_->statusBar()->currentMessage(), QString());
}

}  // namespace
}  // namespace teravo::test
