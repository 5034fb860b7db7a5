#include "ui/settings/settings_dialog.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/general_error.h"
#include "core/number_text.h"
#include "params/acceptance.h"
#include "params/estimators.h"
#include "params/settings_edits.h"
#include "ui/common/error_report.h"
#include "ui/common/figure_edit.h"
#include "ui/common/locale_text.h"
#include "ui/common/scrolling_pane.h"
#include "ui/common/window_metrics.h"
#include "ui/shell/help_window.h"

namespace teravo {

namespace {

// The three parts of the dialog, top to bottom; each is a grid of its own, so a long caption
// in one part does not push the edits of another apart.
enum class Section { Top, Estimates, Lower };

// One row per settings edit: where its caption stands (the edit follows it in the next
// column, then its unit) and how many digits the edit shows without scrolling. A row without
// a caption in the table leaves the caption's cell empty.
struct EditRow {
  std::string_view edit;
  const char* label;  // the caption's object name; null: the edit has no label
  Section section;
  int row;
  int column;
  int digits;
};

// A unit caption at the end of an edit's row.
struct UnitLayout {
  std::string_view after;  // the edit of its row
  const char* name;
  const char* caption;
};

const std::vector<EditRow>& EditRows() {
  static const std::vector<EditRow> rows = {
      {edit::ClientsNum, "Label1", Section::Top, 0, 0, 6},
      {edit::ProgrammersNum, "Label2", Section::Top, 1, 0, 6},
      {edit::A, "Label3", Section::Top, 2, 0, 16},
      {edit::ErrorsNum0, "Label4", Section::Estimates, 0, 0, 18},
      {edit::Y0, "Label11", Section::Estimates, 0, 2, 6},
      {edit::E_aver, nullptr, Section::Estimates, 2, 2, 20},
      {edit::OptimT, "Label19", Section::Estimates, 3, 2, 20},
      {edit::CoeffComplexity, "Label6", Section::Lower, 0, 0, 6},
      {edit::Yk, "Label7", Section::Lower, 1, 0, 6},
      {edit::Mu, "Label8", Section::Lower, 2, 0, 6},
      {edit::P_newErr, "Label13", Section::Lower, 3, 0, 6},
      {edit::Y_newErr, "Label5", Section::Lower, 3, 3, 6},
      {edit::DT, "Label14", Section::Lower, 4, 0, 10},
      {edit::M, "Label16", Section::Lower, 5, 0, 12},
      {edit::Time, nullptr, Section::Lower, 5, 3, 10},
      {edit::K, "Label18", Section::Lower, 6, 0, 6},
  };
  return rows;
}

const std::vector<UnitLayout>& Units() {
  static const std::vector<UnitLayout> units = {
      {edit::Y0, "Label12", "(1/сутки)"}, {edit::Yk, "Label9", "(1/сутки)"},
      {edit::Mu, "Label10", "(1/сутки)"}, {edit::Y_newErr, "Label20", "(1/сутки)"},
      {edit::DT, "Label15", "(сутки)"},   {edit::Time, "Label17", "(сутки)"},
  };
  return units;
}

// Where the controls that are not edits stand.
struct Cell {
  int row;
  int column;
};
constexpr Cell kCallErrorsCell{1, 2};    // Estimates: under the intensity's caption
constexpr Cell kAverCell{2, 0};          // Estimates: before edE_aver, over two columns
constexpr Cell kNewErrorKindCell{1, 3};  // Lower: beside the two intensities
constexpr Cell kAllTimeCell{5, 3};       // Lower: before edTime
constexpr int kLowerGap = 2;             // Lower: the empty column between the halves

// The table's entry for a row; a row the table does not know, or a label the row and the
// table disagree on, is a mistake in the layout above.
const SettingsEdit& TableEntry(const EditRow& row) {
  const SettingsEdit* entry = FindSettingsEdit(row.edit);
  if (!entry) throw std::logic_error("no settings edit named " + std::string(row.edit));
  if (entry->label.empty() != (row.label == nullptr))
    throw std::logic_error("the label of " + std::string(row.edit) + " is not laid out");
  return *entry;
}

const char kCallErrorsCaption[] = "О&ценить количество";
const char kCallErrorsHint[] =
    "Оценка количества ошибок по вероятности обнаружить их все за время проведения розыгрыша";
const char kAverCaption[] = "среднее число ошибок, которое &будет найдено за время моделирования:";
const char kAllTimeCaption[] = "&Общее время розыгрыша";
const char kAllTimeHint[] =
    "Расчитывает время розыгрышв как произведение шага на количество итераций";
const char kInitParametersCaption[] = "Принять параметры (F2)";
const char kEstimatesTitle[] = "Блок оценки начального количества ошибок:";
const char kNewErrorKindTitle[] = "Описание типа внесения ошибки при исправлении:";

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption) {
  auto* button = new QPushButton(ToQString(caption), parent);
  button->setObjectName(ToQString(name));
  // Enter in an edit must not press a button: only F2 accepts.
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TfmSettings::TfmSettings(TTeravo& model, MessageSink& messages, QWidget* parent)
    : QDialog(parent), model_(model), messages_(messages), separator_(LocaleDecimalSeparator()) {
  setObjectName(QStringLiteral("fmSettings"));
  setWindowTitle(ToQString("Параметры розыгрыша"));
  setModal(true);
  QFont dialogFont = font();
  dialogFont.setPointSize(kTextPointSize);
  setFont(dialogFont);
  CreateControls();
  ConnectCommands();
  ChainTabOrder();
  ApplyDefaults();
}

void TfmSettings::CreateControls() {
  auto* content = new QWidget;
  groupBox1_ = new QGroupBox(ToQString(kEstimatesTitle), content);
  groupBox1_->setObjectName(QStringLiteral("GroupBox1"));
  groupBox2_ = new QGroupBox(ToQString(kNewErrorKindTitle), content);
  groupBox2_->setObjectName(QStringLiteral("GroupBox2"));
  auto* top = new QGridLayout;
  auto* estimates = new QGridLayout(groupBox1_);
  auto* lower = new QGridLayout;
  auto gridOf = [&](Section section) {
    return section == Section::Top ? top : section == Section::Estimates ? estimates : lower;
  };
  auto parentOf = [&](Section section) -> QWidget* {
    return section == Section::Estimates ? groupBox1_ : content;
  };

  for (const EditRow& row : EditRows()) {
    const QString hint = ToQString(TableEntry(row).hint);
    auto* edit = new QLineEdit(parentOf(row.section));
    edit->setObjectName(ToQString(row.edit));
    edit->setToolTip(hint);
    edit->setStatusTip(hint);
    edit->setFixedWidth(DigitsWidth(*edit, row.digits));
    edits_.emplace(std::string(row.edit), edit);
  }
  auto addLabel = [](const char* name, const QString& caption, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(ToQString(name));
    return label;
  };
  // Each row's label, then its edit and units: the children keep the design's order.
  for (const EditRow& row : EditRows()) {
    QGridLayout* grid = gridOf(row.section);
    QWidget* parent = parentOf(row.section);
    if (row.label) {
      QLabel* label = addLabel(row.label, ToQString(TableEntry(row).label), parent);
      label->setBuddy(Edit(row.edit));
      grid->addWidget(label, row.row, row.column);
    }
    auto* field = new QHBoxLayout;
    field->addWidget(Edit(row.edit));
    for (const UnitLayout& unit : Units()) {
      if (unit.after == row.edit)
        field->addWidget(addLabel(unit.name, ToQString(unit.caption), parent));
    }
    field->addStretch();
    grid->addLayout(field, row.row, row.column + 1);
  }

  rbP_ = new QRadioButton(ToQString("вероятность"), groupBox2_);
  rbP_->setObjectName(QStringLiteral("rbP"));
  rbI_ = new QRadioButton(ToQString("интенсивность"), groupBox2_);
  rbI_->setObjectName(QStringLiteral("rbI"));
  auto* kinds = new QHBoxLayout(groupBox2_);
  kinds->addWidget(rbP_);
  kinds->addWidget(rbI_);
  kinds->addStretch();

  buCallErrors_ = MakeButton(groupBox1_, "buCallErrors", kCallErrorsCaption);
  buCallErrors_->setToolTip(ToQString(kCallErrorsHint));
  buCallErrors_->setStatusTip(ToQString(kCallErrorsHint));
  estimates->addWidget(buCallErrors_, kCallErrorsCell.row, kCallErrorsCell.column, Qt::AlignRight);
  buCallAverCorrectErrorNum_ = MakeButton(groupBox1_, "buCallAverCorrectErrorNum", kAverCaption);
  estimates->addWidget(buCallAverCorrectErrorNum_, kAverCell.row, kAverCell.column, 1, 3,
                       Qt::AlignRight);
  // The left half's edit column takes the slack, so the right half keeps to the right.
  estimates->setColumnStretch(1, 1);

  lower->addWidget(groupBox2_, kNewErrorKindCell.row, kNewErrorKindCell.column, 2, 2);
  buAllTime_ = MakeButton(content, "buAllTime", kAllTimeCaption);
  buAllTime_->setToolTip(ToQString(kAllTimeHint));
  buAllTime_->setStatusTip(ToQString(kAllTimeHint));
  lower->addWidget(buAllTime_, kAllTimeCell.row, kAllTimeCell.column);
  lower->setColumnMinimumWidth(kLowerGap, 2 * fontMetrics().averageCharWidth());
  lower->setColumnStretch(kLowerGap, 1);

  aInitParameters_ = new QAction(ToQString(kInitParametersCaption), this);
  aInitParameters_->setObjectName(QStringLiteral("aInitParameters"));
  aInitParameters_->setShortcut(QKeySequence(Qt::Key_F2));
  // Inside the dialog F2 is its own accept key, not the main window's settings key.
  aInitParameters_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  addAction(aInitParameters_);
  // F1 opens the guide at its part about these edits.
  auto* aGuide = new QAction(this);
  aGuide->setObjectName(QStringLiteral("aGuide"));
  aGuide->setShortcut(QKeySequence(Qt::Key_F1));
  aGuide->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  addAction(aGuide);
  connect(aGuide, &QAction::triggered, this,
          [this] { Run([this] { ShowGuide(*this, ToQString(kParametersSection)); }); });
  buInitParameters_ = MakeButton(content, "buInitParameters", kInitParametersCaption);
  buCancel_ = MakeButton(content, "buCancel", "Отмена");
  buCancel_->setToolTip(ToQString("Закрыть окно, не принимая параметры (Esc)"));

  auto* column = new QVBoxLayout(content);
  column->addLayout(top);
  column->addWidget(groupBox1_);
  column->addLayout(lower);
  auto* commands = new QHBoxLayout;
  commands->addWidget(buInitParameters_);
  commands->addWidget(buCancel_);
  commands->addStretch();
  column->addLayout(commands);
  column->addStretch();
  auto* whole = new QVBoxLayout(this);
  whole->setContentsMargins(0, 0, 0, 0);
  whole->addWidget(new ScrollingPane(content));
}

void TfmSettings::ConnectCommands() {
  connect(aInitParameters_, &QAction::triggered, this, [this] { Accept(true); });
  connect(buInitParameters_, &QPushButton::clicked, aInitParameters_, &QAction::trigger);
  connect(buCancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(buAllTime_, &QPushButton::clicked, this,
          [this] { Run([this] { EstimateTotalTime(*this); }); });
  connect(buCallErrors_, &QPushButton::clicked, this,
          [this] { Run([this] { EstimateInitialErrors(*this); }); });
  connect(buCallAverCorrectErrorNum_, &QPushButton::clicked, this,
          [this] { Run([this] { EstimateErrorsFound(*this); }); });
  connect(rbP_, &QRadioButton::clicked, this, [this] { Run([this] { rbPClick(*this); }); });
  connect(rbI_, &QRadioButton::clicked, this, [this] { Run([this] { rbIClick(*this); }); });
  for (const auto& [name, edit] : edits_)
    connect(edit, &QLineEdit::textChanged, this, &TfmSettings::TextsChanged);
  connect(rbP_, &QRadioButton::toggled, this, &TfmSettings::TextsChanged);
}

bool TfmSettings::AcceptTexts() {
  return Accept(false);
}

bool TfmSettings::Accept(bool close) {
  bool accepted = false;
  focused_.clear();
  Run([&] {
    // As AcceptAndClose(), which would not say whether the fields passed.
    accepted = AcceptParameters(model_, *this);
    if (close) Close();
  });
  if (accepted) accepted_ = ParameterFileOf(*this);
  NoteSeparator(accepted);
  emit AcceptanceFinished(accepted);
  return accepted;
}

void TfmSettings::NoteSeparator(bool accepted) {
  for (const EditRow& row : EditRows()) Edit(row.edit)->setToolTip(ToQString(TableEntry(row).hint));
  separatorNote_.clear();
  const auto refused = edits_.find(focused_);
  focused_.clear();
  if (accepted || refused == edits_.end()) return;
  const char other = separator_ == ',' ? '.' : ',';
  std::string text = refused->second->text().toStdString();
  if (text.find(other) == std::string::npos) return;
  std::replace(text.begin(), text.end(), other, separator_);
  if (!ParseReal(text, separator_)) return;
  separatorNote_ = ToQString(separator_ == ',' ? "Десятичный разделитель — запятая"
                                               : "Десятичный разделитель — точка");
  QLineEdit* edit = refused->second;
  edit->setToolTip(edit->toolTip() + QLatin1Char('\n') + separatorNote_);
}

bool TfmSettings::DiffersFromAccepted() const {
  if (!accepted_) return true;
  const ParameterFile now = ParameterFileOf(*this);
  return now.texts != accepted_->texts || now.byProbability != accepted_->byProbability;
}

void TfmSettings::ChainTabOrder() {
  const std::vector<QWidget*> chain = {
      Edit(edit::ClientsNum),
      Edit(edit::ProgrammersNum),
      Edit(edit::A),
      Edit(edit::CoeffComplexity),
      Edit(edit::Yk),
      Edit(edit::Mu),
      Edit(edit::ErrorsNum0),
      buCallErrors_,
      Edit(edit::Y0),
      Edit(edit::E_aver),
      Edit(edit::OptimT),
      buCallAverCorrectErrorNum_,
      Edit(edit::P_newErr),
      Edit(edit::DT),
      Edit(edit::M),
      buAllTime_,
      Edit(edit::Time),
      Edit(edit::K),
      buInitParameters_,
      Edit(edit::Y_newErr),
      rbP_,
      rbI_,
  };
  for (std::size_t i = 1; i < chain.size(); ++i) setTabOrder(chain[i - 1], chain[i]);
}

void TfmSettings::ApplyDefaults() {
  for (const EditDefault& item : DefaultEdits(separator_)) {
    SetText(item.name, item.text);
    SetEnabled(item.name, item.enabled);
  }
  SetProbabilityChecked(true);
}

template <class Command>
void TfmSettings::Run(Command&& command) {
  RunGuarded(messages_, this, std::forward<Command>(command));
}

QLineEdit* TfmSettings::Edit(std::string_view name) const {
  const auto found = edits_.find(name);
  if (found == edits_.end())
    throw std::invalid_argument("no edit named " + std::string(name) + " in the settings");
  return found->second;
}

std::string TfmSettings::Text(std::string_view edit) const {
  return Edit(edit)->text().toStdString();
}

void TfmSettings::SetText(std::string_view edit, const std::string& text) {
  QLineEdit* target = Edit(edit);
  target->setText(ToQString(text));
  // A number longer than its edit shows its leading digits, not its tail.
  target->setCursorPosition(0);
}

bool TfmSettings::IsEnabled(std::string_view edit) const {
  return Edit(edit)->isEnabled();
}

void TfmSettings::SetEnabled(std::string_view edit, bool enabled) {
  Edit(edit)->setEnabled(enabled);
}

void TfmSettings::Focus(std::string_view edit) {
  QLineEdit* target = Edit(edit);
  if (!target->isEnabled()) Raise(kCannotFocus);
  target->setFocus(Qt::OtherFocusReason);
  focused_ = std::string(edit);
}

bool TfmSettings::IsProbabilityChecked() const {
  return rbP_->isChecked();
}

void TfmSettings::SetProbabilityChecked(bool checked) {
  rbP_->setChecked(checked);
  rbI_->setChecked(!checked);
}

void TfmSettings::ShowMessage(const std::string& text) {
  messages_.Info(this, ToQString(text));
}

void TfmSettings::Close() {
  close();
}

}  // namespace teravo
