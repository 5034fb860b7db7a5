#include "ui/sweep/sweep_dialog.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/number_text.h"
#include "play/run_budget.h"
#include "play/sweep.h"
#include "play/sweep_values.h"
#include "ui/common/locale_text.h"
#include "ui/sweep/sweep_window.h"

namespace teravo {

namespace {

std::string Trimmed(const QString& text) {
  return text.trimmed().toStdString();
}

// Where the fields of the last sweep started are kept.
const char kEditKey[] = "sweep/edit";
const char kByRangeKey[] = "sweep/byRange";
const char kListKey[] = "sweep/list";
const char kFromKey[] = "sweep/from";
const char kToKey[] = "sweep/to";
const char kCountKey[] = "sweep/count";
const char kLogKey[] = "sweep/log";
const char kFigureKey[] = "sweep/figure";

}  // namespace

SweepDialog::SweepDialog(const TParameters& accepted, char separator, MessageSink& messages,
                         QWidget* parent)
    : QDialog(parent), accepted_(accepted), separator_(separator), messages_(messages) {
  const bool byProbability = accepted.FByProbability;
  setObjectName(QStringLiteral("SweepDialog"));
  setWindowTitle(ToQString("Исследование параметра"));

  edit_ = new QComboBox(this);
  edit_->setObjectName(QStringLiteral("cbSweepEdit"));
  for (const SettingsEdit& e : SettingsEdits()) {
    if (!IsSweepable(e) || !IsReadInMode(e, byProbability)) continue;
    const QString unit = EditUnit(e);
    edit_->addItem(unit.isEmpty() ? EditCaption(e) : EditCaption(e) + QStringLiteral(", ") + unit,
                   ToQString(e.name));
  }
  edit_->setCurrentIndex(std::max(0, edit_->findData(ToQString(edit::ProgrammersNum))));

  byList_ = new QRadioButton(ToQString("&Списком"), this);
  byList_->setObjectName(QStringLiteral("rbSweepList"));
  byRange_ = new QRadioButton(ToQString("&Диапазоном"), this);
  byRange_->setObjectName(QStringLiteral("rbSweepRange"));
  auto* modes = new QButtonGroup(this);
  modes->addButton(byList_);
  modes->addButton(byRange_);
  byList_->setChecked(true);

  list_ = new QLineEdit(this);
  list_->setObjectName(QStringLiteral("edSweepList"));
  list_->setPlaceholderText(ToQString("через точку с запятой, например: 1; 2; 3; 5; 8"));
  list_->setToolTip(
      ToQString("Значения через точку с запятой: запятая может быть "
                "десятичным разделителем"));
  from_ = new QLineEdit(this);
  from_->setObjectName(QStringLiteral("edSweepFrom"));
  to_ = new QLineEdit(this);
  to_->setObjectName(QStringLiteral("edSweepTo"));
  count_ = new QSpinBox(this);
  count_->setObjectName(QStringLiteral("seSweepCount"));
  count_->setRange(2, kMaxSweepValues);
  count_->setValue(5);
  log_ = new QCheckBox(ToQString("&Логарифмический шаг"), this);
  log_->setObjectName(QStringLiteral("cbSweepLog"));

  figure_ = new QComboBox(this);
  figure_->setObjectName(QStringLiteral("cbSweepFigure"));
  for (const Field figure : SweepFigures())
    figure_->addItem(ToQString(ResultFieldOf(figure).title), static_cast<int>(figure));
  figure_->setCurrentIndex(figure_->findData(static_cast<int>(Field::edKg)));

  auto* form = new QFormLayout;
  form->addRow(ToQString("&Параметр:"), edit_);
  auto* values = new QGroupBox(ToQString("Значения"), this);
  auto* valuesLayout = new QFormLayout(values);
  valuesLayout->addRow(byList_, list_);
  auto* range = new QHBoxLayout;
  range->addWidget(new QLabel(ToQString("от"), this));
  range->addWidget(from_);
  range->addWidget(new QLabel(ToQString("до"), this));
  range->addWidget(to_);
  range->addWidget(new QLabel(ToQString("точек"), this));
  range->addWidget(count_);
  valuesLayout->addRow(byRange_, range);
  valuesLayout->addRow(QString(), log_);
  auto* figureForm = new QFormLayout;
  figureForm->addRow(ToQString("Показатель на &графике:"), figure_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(ToQString("&Начать"));
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("buSweepStart"));
  buttons->button(QDialogButtonBox::Cancel)->setText(ToQString("Отмена"));
  connect(buttons, &QDialogButtonBox::accepted, this, &SweepDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &SweepDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(values);
  layout->addLayout(figureForm);
  layout->addWidget(new QLabel(ToQString("Каждая точка — многократный розыгрыш с одними и теми же "
                                         "зёрнами; остальные параметры — принятые (F2)."),
                               this));
  needs_ = new QLabel(this);
  needs_->setObjectName(QStringLiteral("lbSweepNeeds"));
  needs_->setWordWrap(true);
  layout->addWidget(needs_);
  layout->addWidget(buttons);

  RestoreFields();
  connect(byList_, &QRadioButton::toggled, this, &SweepDialog::ModeChanged);
  ModeChanged();
  connect(edit_, &QComboBox::currentIndexChanged, this, &SweepDialog::ShowNeeds);
  connect(byList_, &QRadioButton::toggled, this, &SweepDialog::ShowNeeds);
  for (QLineEdit* field : {list_, from_, to_})
    connect(field, &QLineEdit::textChanged, this, &SweepDialog::ShowNeeds);
  connect(count_, &QSpinBox::valueChanged, this, &SweepDialog::ShowNeeds);
  connect(log_, &QCheckBox::toggled, this, &SweepDialog::ShowNeeds);
  ShowNeeds();
}

void SweepDialog::ShowNeeds() {
  const auto request = Request();
  const auto* chosen = std::get_if<SweepRequest>(&request);
  if (chosen == nullptr) {
    needs_->setText(ToQString("Розыгрышей на точку: %1").arg(accepted_.FK));
    return;
  }
  // Planned as the sweep itself will be, on every core: the values it would refuse add nothing.
  const std::vector<SweepPlan> plan =
      PlanSweep(accepted_, *chosen->edit, chosen->values, separator_, 0);
  std::int64_t total = 0;
  int points = 0;
  std::int32_t fewest = 0;
  std::int32_t most = 0;
  for (const SweepPlan& point : plan) {
    if (point.refused) continue;
    const std::int32_t plays = point.parameters.FK;
    fewest = points == 0 ? plays : std::min(fewest, plays);
    most = std::max(most, plays);
    total += plays;
    ++points;
  }
  if (points == 0) {
    needs_->setText(ToQString("Ни одно из значений не будет принято."));
    return;
  }
  const QString perPoint =
      fewest == most ? QString::number(most) : ToQString("от %1 до %2").arg(fewest).arg(most);
  needs_->setText(ToQString("Розыгрышей на точку: %1, всего: %2 (точек: %3). Время: %4.")
                      .arg(perPoint)
                      .arg(total)
                      .arg(points)
                      .arg(ToQString(AboutDuration(SweepSeconds(plan, 0)))));
}

void SweepDialog::RestoreFields() {
  const QSettings settings;
  if (const int edit = edit_->findData(settings.value(kEditKey).toString()); edit >= 0)
    edit_->setCurrentIndex(edit);
  (settings.value(kByRangeKey, false).toBool() ? byRange_ : byList_)->setChecked(true);
  list_->setText(settings.value(kListKey).toString());
  from_->setText(settings.value(kFromKey).toString());
  to_->setText(settings.value(kToKey).toString());
  count_->setValue(settings.value(kCountKey, count_->value()).toInt());
  log_->setChecked(settings.value(kLogKey, false).toBool());
  if (const int figure = figure_->findData(settings.value(kFigureKey, -1).toInt()); figure >= 0)
    figure_->setCurrentIndex(figure);
}

void SweepDialog::RememberFields() const {
  QSettings settings;
  settings.setValue(kEditKey, edit_->currentData());
  settings.setValue(kByRangeKey, byRange_->isChecked());
  settings.setValue(kListKey, list_->text());
  settings.setValue(kFromKey, from_->text());
  settings.setValue(kToKey, to_->text());
  settings.setValue(kCountKey, count_->value());
  settings.setValue(kLogKey, log_->isChecked());
  settings.setValue(kFigureKey, figure_->currentData());
}

void SweepDialog::ModeChanged() {
  const bool list = byList_->isChecked();
  list_->setEnabled(list);
  for (QWidget* field : {static_cast<QWidget*>(from_), static_cast<QWidget*>(to_),
                         static_cast<QWidget*>(count_), static_cast<QWidget*>(log_)})
    field->setEnabled(!list);
}

std::variant<SweepRequest, QString> SweepDialog::Request() const {
  SweepRequest request;
  request.edit = FindSettingsEdit(edit_->currentData().toString().toStdString());
  if (request.edit == nullptr) return ToQString("Выберите параметр.");
  request.figure = static_cast<Field>(figure_->currentData().toInt());
  std::string text = std::string(request.edit->name) + '=';
  if (byList_->isChecked()) {
    const QStringList parts = list_->text().split(QLatin1Char(';'));
    if (list_->text().trimmed().isEmpty()) return ToQString("Введите значения параметра.");
    for (qsizetype i = 0; i < parts.size(); ++i) {
      const std::string value = Trimmed(parts[i]);
      if (value.empty()) {
        return ToQString("В списке пустое значение: значения разделяются точкой с запятой.");
      }
      if (value.find(':') != std::string::npos) {
        return ToQString(
            "Значения списка разделяются точкой с запятой, двоеточие в них не "
            "допускается.");
      }
      text += (i > 0 ? ";" : "") + value;
    }
  } else {
    const std::string from = Trimmed(from_->text());
    const std::string to = Trimmed(to_->text());
    for (const std::string& end : {from, to}) {
      if (!ParseReal(end, separator_)) return ToQString("«%1» — не число.").arg(ToQString(end));
    }
    if (log_->isChecked() && (*ParseReal(from, separator_) <= 0 || *ParseReal(to, separator_) <= 0))
      return ToQString("Для логарифмического шага оба конца диапазона должны быть больше 0.");
    text += from + ':' + to + ':' + IntToStr(count_->value()) + (log_->isChecked() ? ":log" : "");
  }
  auto parsed = ParseSweepValues(text, separator_);
  if (std::holds_alternative<std::string>(parsed)) {
    return ToQString("Значения заданы неверно для поля «%1».").arg(EditCaption(*request.edit));
  }
  SweepValues& sweep = std::get<SweepValues>(parsed);
  request.values = std::move(sweep.texts);
  request.logSpaced = sweep.logSpaced;
  return request;
}

void SweepDialog::accept() {
  const auto request = Request();
  if (const auto* problem = std::get_if<QString>(&request)) {
    messages_.Info(this, *problem);
    return;
  }
  RememberFields();
  QDialog::accept();
}

}  // namespace teravo
