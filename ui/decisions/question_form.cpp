#include "ui/decisions/question_form.h"

#include <cmath>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "core/number_text.h"
#include "ui/common/locale_text.h"
#include "ui/common/message_sink.h"

namespace teravo {

namespace {

struct QuantityChoice {
  TargetQuantity quantity;
  const char* caption;
  const char* threshold;  // the default, with '.' for the separator
};
constexpr QuantityChoice kQuantityChoices[] = {
    {TargetQuantity::Availability, "Коэффициент готовности Kг ≥", "0.8"},
    {TargetQuantity::FailureIntensity, "Интенсивность отказов (1/сутки) ≤", "0.1"},
    {TargetQuantity::ClientErrors, "Ошибок в программах-клиентах осталось ≤", "5"},
    {TargetQuantity::WorkingClients, "Работающих клиентов ≥", "95"},
    {TargetQuantity::Failures, "Отказов накоплено ≥", "50"},
};

QLineEdit* MakeEdit(QWidget* parent, const char* name, const QString& text, const char* tip,
                    int width = 70) {
  auto* edit = new QLineEdit(text, parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setToolTip(ToQString(tip));
  edit->setMaximumWidth(width);
  return edit;
}

QLabel* Caption(const char* text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(ToQString(text), parent);
  label->setBuddy(buddy);
  return label;
}

QString Number(double value, char separator) {
  return ToQString(FloatToStr(value, separator));
}

// A field that did not read: its message, and the focus goes to it.
struct Fault {
  QLineEdit* edit;
  QString text;
};

}  // namespace

QuestionForm::QuestionForm(char separator, QWidget* parent)
    : QGroupBox(ToQString("Вопрос"), parent), separator_(separator) {
  setObjectName(QStringLiteral("gbQuestion"));
  auto* grid = new QGridLayout(this);

  quantity_ = new QComboBox(this);
  quantity_->setObjectName(QStringLiteral("cbTargetQuantity"));
  for (const QuantityChoice& choice : kQuantityChoices) {
    quantity_->addItem(ToQString(choice.caption), static_cast<int>(choice.quantity));
  }
  threshold_ = MakeEdit(this, "edThreshold", Number(0.8, separator),
                        "Значение, которого должна достичь величина");
  holding_ = new QComboBox(this);
  holding_->setObjectName(QStringLiteral("cbHolding"));
  holding_->addItem(ToQString("и держится до конца розыгрыша"),
                    static_cast<int>(TargetHolding::FromThenOn));
  holding_->addItem(ToQString("хотя бы раз (первое достижение)"),
                    static_cast<int>(TargetHolding::FirstReach));
  holding_->setToolTip(ToQString(
      "Когда розыгрыш считается достигшим цели: с момента, после которого цель не нарушается до "
      "конца розыгрыша, или в первый момент, когда она выполнена"));
  connect(quantity_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index >= 0 && index < static_cast<int>(std::size(kQuantityChoices)))
      threshold_->setText(
          ToQString(kQuantityChoices[index].threshold).replace(QLatin1Char('.'), separator_));
  });
  // Every row holds two or three fields at most, so that the form fits a tiled window at
  // 150 % without a sideways scroll.
  grid->addWidget(Caption("&Цель:", quantity_, this), 0, 0);
  auto* target = new QHBoxLayout;
  target->addWidget(quantity_);
  target->addWidget(threshold_);
  target->addStretch();
  grid->addLayout(target, 0, 1);
  probability_ = MakeEdit(this, "edProbability", Number(0.9, separator),
                          "С какой вероятностью цель должна быть достигнута: 0,9 — в 90 % "
                          "розыгрышей");
  auto* holding = new QHBoxLayout;
  holding->addWidget(holding_);
  holding->addWidget(Caption("с &вероятностью", probability_, this));
  holding->addWidget(probability_);
  holding->addStretch();
  grid->addLayout(holding, 1, 1);

  by_ = MakeEdit(this, "edBy", QString(),
                 "Срок в сутках от начала: доля розыгрышей, достигших цели к нему; по нему "
                 "подбирается число программистов. Пусто — без срока");
  staffing_ = new QCheckBox(ToQString("подобрать число &программистов от"), this);
  staffing_->setObjectName(QStringLiteral("chkStaffing"));
  staffing_->setChecked(true);
  staffing_->setToolTip(
      ToQString("Наименьшее число программистов, при котором цель достигается к сроку с заданной "
                "вероятностью; все числа разыгрываются на одних и тех же посевах"));
  fewest_ = MakeEdit(this, "edFewest", QStringLiteral("1"), "Наименьшее число программистов", 50);
  most_ = MakeEdit(this, "edMost", QStringLiteral("10"), "Наибольшее число программистов", 50);
  plays_ = MakeEdit(this, "edAskPlays", QStringLiteral("100"),
                    "Розыгрышей на каждый ответ; чем больше, тем уже интервалы", 60);
  seed_ = MakeEdit(this, "edAskSeed", QStringLiteral("1"),
                   "Розыгрыш k начинается с посева N + k − 1: тот же посев — те же ответы", 60);
  grid->addWidget(Caption("&Срок, сут.:", by_, this), 2, 0);
  auto* staffing = new QHBoxLayout;
  staffing->addWidget(by_);
  staffing->addSpacing(12);
  staffing->addWidget(staffing_);
  staffing->addWidget(fewest_);
  staffing->addWidget(new QLabel(ToQString("до"), this));
  staffing->addWidget(most_);
  staffing->addStretch();
  grid->addLayout(staffing, 2, 1);
  grid->addWidget(Caption("&Розыгрышей:", plays_, this), 3, 0);
  auto* plays = new QHBoxLayout;
  plays->addWidget(plays_);
  plays->addSpacing(12);
  plays->addWidget(Caption("П&осев:", seed_, this));
  plays->addWidget(seed_);
  plays->addStretch();
  grid->addLayout(plays, 3, 1);

  costs_ = new QCheckBox(ToQString("Стоимость в&ыпуска: день программиста"), this);
  costs_->setObjectName(QStringLiteral("chkCosts"));
  costs_->setChecked(true);
  costs_->setToolTip(ToQString(
      "Стоимость выпуска в момент t = программисты × стоимость дня × t + стоимость отказа × "
      "отказы после t до горизонта"));
  dayCost_ = MakeEdit(this, "edDayCost", QStringLiteral("100"),
                      "Стоимость одного дня тестирования и сопровождения на одного программиста");
  failureCost_ = MakeEdit(this, "edFailureCost", QStringLiteral("500"),
                          "Стоимость одного отказа после выпуска");
  horizon_ = MakeEdit(this, "edHorizon", QString(),
                      "До какого момента (сутки от начала) считаются отказы после выпуска");
  auto* costs = new QHBoxLayout;
  costs->addWidget(costs_);
  costs->addWidget(dayCost_);
  costs->addWidget(Caption("отказ после выпуска:", failureCost_, this));
  costs->addWidget(failureCost_);
  costs->addStretch();
  grid->addLayout(costs, 4, 0, 1, 2);
  auto* horizon = new QHBoxLayout;
  horizon->addWidget(Caption("горизонт, сут.:", horizon_, this));
  horizon->addWidget(horizon_);
  horizon->addStretch();
  grid->addLayout(horizon, 5, 1);
  grid->setColumnStretch(1, 1);

  connect(staffing_, &QCheckBox::toggled, this, &QuestionForm::UpdateEnabled);
  connect(costs_, &QCheckBox::toggled, this, &QuestionForm::UpdateEnabled);
}

void QuestionForm::UpdateEnabled() {
  fewest_->setEnabled(staffing_->isChecked());
  most_->setEnabled(staffing_->isChecked());
  for (QLineEdit* edit : {dayCost_, failureCost_, horizon_}) edit->setEnabled(costs_->isChecked());
}

void QuestionForm::FitToPlay(const TParameters& parameters) {
  const double end = static_cast<double>(static_cast<long double>(parameters.FM) * parameters.FDT);
  if (end == playEnd_) return;
  playEnd_ = end;
  by_->setText(Number(std::round(end * 0.75 * 100) / 100, separator_));
  horizon_->setText(Number(end, separator_));
  most_->setText(QString::number(std::max(10, 2 * parameters.FProgrammersNum)));
}

std::optional<Question> QuestionForm::Read(MessageSink& messages) {
  Question question;
  const auto real = [this](QLineEdit* edit) -> std::optional<double> {
    const auto value = ParseReal(edit->text().toStdString(), separator_);
    if (!value || !std::isfinite(static_cast<double>(*value))) return std::nullopt;
    return static_cast<double>(*value);
  };
  const auto whole = [](QLineEdit* edit) { return ParseInt(edit->text().toStdString()); };
  const auto fail = [&](Fault fault) -> std::optional<Question> {
    messages.Info(this, fault.text);
    fault.edit->setFocus();
    fault.edit->selectAll();
    return std::nullopt;
  };

  question.target.quantity = static_cast<TargetQuantity>(quantity_->currentData().toInt());
  question.target.holding = static_cast<TargetHolding>(holding_->currentData().toInt());
  const auto threshold = real(threshold_);
  if (!threshold || *threshold < 0) {
    return fail({threshold_, ToQString("Значение цели должно быть неотрицательным числом")});
  }
  question.target.threshold = *threshold;
  const auto probability = real(probability_);
  if (!probability || !(*probability > 0 && *probability <= 1)) {
    return fail(
        {probability_,
         ToQString("Вероятность должна быть числом больше 0 и не больше 1 (например, 0,9)")});
  }
  question.probability = *probability;
  const auto plays = whole(plays_);
  if (!plays || *plays < 1 || *plays > kMostQuestionPlays) {
    return fail({plays_, ToQString("Число розыгрышей должно быть целым числом от 1 до %1")
                             .arg(kMostQuestionPlays)});
  }
  question.plays = *plays;
  const auto seed = whole(seed_);
  if (!seed || *seed < 0) {
    return fail({seed_, ToQString("Посев должен быть целым неотрицательным числом")});
  }
  question.firstSeed = static_cast<std::uint32_t>(*seed);
  if (!by_->text().trimmed().isEmpty() || staffing_->isChecked()) {
    const auto by = real(by_);
    if (!by || !(*by > 0 && *by <= playEnd_ * (1 + 1e-12))) {
      return fail({by_, ToQString("Срок должен лежать в розыгрыше: больше 0 и не позже его "
                                  "конца (см. набор параметров ниже)")});
    }
    question.by = *by;
  }
  if (staffing_->isChecked()) {
    StaffingQuestion staffing;
    const auto fewest = whole(fewest_);
    if (!fewest || *fewest < 1) {
      return fail(
          {fewest_, ToQString("Наименьшее число программистов должно быть целым числом от 1")});
    }
    const auto most = whole(most_);
    if (!most || *most < *fewest || *most > 100000) {
      return fail({most_, ToQString("Наибольшее число программистов должно быть целым и не "
                                    "меньше наименьшего")});
    }
    staffing.fewest = *fewest;
    staffing.most = *most;
    question.staffing = staffing;
  }
  if (costs_->isChecked()) {
    CostQuestion costs;
    const auto day = real(dayCost_);
    if (!day || *day < 0) {
      return fail(
          {dayCost_, ToQString("Стоимость дня программиста должна быть неотрицательным числом")});
    }
    const auto failure = real(failureCost_);
    if (!failure || *failure < 0) {
      return fail({failureCost_, ToQString("Стоимость отказа должна быть неотрицательным числом")});
    }
    const auto horizon = real(horizon_);
    if (!horizon || !(*horizon > 0 && *horizon <= playEnd_ * (1 + 1e-12))) {
      return fail({horizon_,
                   ToQString("Горизонт должен лежать в розыгрыше: больше 0 и не позже его конца")});
    }
    costs.perProgrammerDay = *day;
    costs.perFailure = *failure;
    costs.horizon = *horizon;
    question.costs = costs;
  }
  return question;
}

}  // namespace teravo
