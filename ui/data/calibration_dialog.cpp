#include "ui/data/calibration_dialog.h"

#include <algorithm>
#include <string>
#include <utility>
#include <variant>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/number_text.h"
#include "play/sweep.h"
#include "ui/common/locale_text.h"
#include "ui/sweep/sweep_window.h"

namespace teravo {

namespace {

// The play's length, its step and the number of plays belong to the fit itself.
bool IsFittable(const SettingsEdit& edit, bool byProbability) {
  return !std::holds_alternative<std::monostate>(edit.field) && edit.kind != EditKind::Display &&
         edit.name != edit::DT && edit.name != edit::M && edit.name != edit::K &&
         IsReadInMode(edit, byProbability);
}

std::string Trimmed(const QLineEdit* edit) {
  return edit->text().trimmed().toStdString();
}

}  // namespace

CalibrationDialog::CalibrationDialog(const Defaults& defaults, char separator,
                                     MessageSink& messages, QWidget* parent)
    : QDialog(parent), separator_(separator), messages_(messages) {
  setObjectName(QStringLiteral("CalibrationDialog"));
  setWindowTitle(ToQString("Калибровка по данным"));

  auto* editsBox = new QGroupBox(ToQString("Подбираемые параметры и диапазоны поиска"), this);
  auto* grid = new QGridLayout(editsBox);
  grid->addWidget(new QLabel(ToQString("от"), editsBox), 0, 1);
  grid->addWidget(new QLabel(ToQString("до"), editsBox), 0, 2);
  const int fieldWidth = fontMetrics().averageCharWidth() * 12;
  for (const SettingsEdit& e : SettingsEdits()) {
    if (!IsFittable(e, defaults.byProbability)) continue;
    const QString unit = EditUnit(e);
    auto* chosen = new QCheckBox(
        unit.isEmpty() ? EditCaption(e) : EditCaption(e) + QStringLiteral(", ") + unit, editsBox);
    chosen->setObjectName(QStringLiteral("cbFit_") + ToQString(e.name));
    chosen->setChecked(std::find(std::begin(kDefaultFittedEdits), std::end(kDefaultFittedEdits),
                                 e.name) != std::end(kDefaultFittedEdits));
    auto* low = new QLineEdit(ToQString(FloatToStr(e.range.typicalLow, separator)), editsBox);
    auto* high = new QLineEdit(ToQString(FloatToStr(e.range.typicalHigh, separator)), editsBox);
    low->setObjectName(QStringLiteral("edFitLow_") + ToQString(e.name));
    high->setObjectName(QStringLiteral("edFitHigh_") + ToQString(e.name));
    for (QLineEdit* end : {low, high}) {
      end->setMaximumWidth(fieldWidth);
      end->setEnabled(chosen->isChecked());
      connect(chosen, &QCheckBox::toggled, end, &QWidget::setEnabled);
    }
    const int row = static_cast<int>(rows_.size()) + 1;
    grid->addWidget(chosen, row, 0);
    grid->addWidget(low, row, 1);
    grid->addWidget(high, row, 2);
    rows_.push_back({chosen, low, high});
    edits_.push_back(&e);
  }

  plays_ = new QSpinBox(this);
  plays_->setObjectName(QStringLiteral("seFitPlays"));
  plays_->setRange(1, 10000);
  plays_->setValue(CalibrationSettings{}.plays);
  evaluations_ = new QSpinBox(this);
  evaluations_->setObjectName(QStringLiteral("seFitEvaluations"));
  evaluations_->setRange(1, 1000000);
  evaluations_->setValue(FitObjective::Limits{}.maxEvaluations);
  holdout_ = new QLineEdit(ToQString(FloatToStr(defaults.holdoutShare, separator)), this);
  holdout_->setObjectName(QStringLiteral("edFitHoldout"));
  holdout_->setToolTip(
      ToQString("Доля времени наблюдения, по которой подбирается модель для "
                "проверки прогноза (PSSE); 0 — без проверки"));
  horizon_ = new QLineEdit(ToQString(FloatToStr(defaults.horizon, separator)), this);
  horizon_->setObjectName(QStringLiteral("edFitHorizon"));
  matched_ = new QComboBox(this);
  matched_->setObjectName(QStringLiteral("cbFitMatched"));
  matched_->addItem(ToQString("отказам"), static_cast<int>(MatchedCurve::Failures));
  matched_->addItem(ToQString("исправленным ошибкам"), static_cast<int>(MatchedCurve::FixedErrors));

  auto* form = new QFormLayout;
  form->addRow(ToQString("&Розыгрышей на оценку:"), plays_);
  form->addRow(ToQString("&Наибольшее число оценок:"), evaluations_);
  form->addRow(ToQString("Доля для &проверки прогноза:"), holdout_);
  form->addRow(ToQString("&Горизонт прогноза после данных, сутки:"), horizon_);
  form->addRow(ToQString("&Совпадение по:"), matched_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(ToQString("&Начать"));
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("buFitStart"));
  buttons->button(QDialogButtonBox::Cancel)->setText(ToQString("Отмена"));
  connect(buttons, &QDialogButtonBox::accepted, this, &CalibrationDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CalibrationDialog::reject);

  auto* note = new QLabel(ToQString("Подбор начинается с принятых параметров (F2); каждая оценка "
                                    "— многократный розыгрыш на одних и тех же зёрнах."),
                          this);
  note->setWordWrap(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(editsBox);
  layout->addLayout(form);
  layout->addWidget(note);
  layout->addWidget(buttons);
}

const CalibrationDialog::EditRow* CalibrationDialog::Row(std::string_view edit) const {
  for (std::size_t i = 0; i < edits_.size(); ++i)
    if (edits_[i]->name == edit) return &rows_[i];
  return nullptr;
}

std::variant<CalibrationSettings, QString> CalibrationDialog::Settings() const {
  std::vector<std::string> names;
  std::vector<std::pair<std::string, std::string>> spans;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (!rows_[i].chosen->isChecked()) continue;
    const std::string name(edits_[i]->name);
    names.push_back(name);
    spans.emplace_back(name, Trimmed(rows_[i].low) + ':' + Trimmed(rows_[i].high));
  }
  if (names.empty()) return ToQString("Отметьте хотя бы один параметр для подбора.");
  auto edits = FittedEditsOf(names, spans, separator_);
  if (const auto* fault = std::get_if<std::string>(&edits)) return ToQString(*fault);

  CalibrationSettings settings;
  settings.edits = std::get<std::vector<FittedEdit>>(std::move(edits));
  settings.plays = plays_->value();
  settings.limits.maxEvaluations = evaluations_->value();
  settings.matched = static_cast<MatchedCurve>(matched_->currentData().toInt());
  const auto holdout = ParseReal(Trimmed(holdout_), separator_);
  if (!holdout || *holdout < 0 || *holdout > 0.99L) {
    return ToQString("Доля для проверки прогноза — число от 0 до %1.")
        .arg(ToQString(FloatToStr(0.99, separator_)));
  }
  settings.holdoutShare =
      *holdout > 0 ? std::optional(static_cast<double>(*holdout)) : std::nullopt;
  const auto horizon = ParseReal(Trimmed(horizon_), separator_);
  if (!horizon || *horizon < 0 || *horizon > 1e6L) {
    return ToQString("Горизонт прогноза — число суток от 0 до 1000000.");
  }
  settings.horizon = static_cast<double>(*horizon);
  return settings;
}

void CalibrationDialog::accept() {
  const auto settings = Settings();
  if (const auto* problem = std::get_if<QString>(&settings)) {
    messages_.Info(this, *problem);
    return;
  }
  QDialog::accept();
}

}  // namespace teravo
