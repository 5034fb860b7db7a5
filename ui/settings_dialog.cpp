#include "ui/settings_dialog.h"

#include <stdexcept>
#include <vector>

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/general_error.h"
#include "params/acceptance.h"
#include "params/estimators.h"
#include "params/settings_edits.h"
#include "ui/design_placer.h"
#include "ui/error_report.h"
#include "ui/locale_text.h"
#include "ui/window_metrics.h"

namespace teravo {

namespace {

constexpr int kRowHeight = 21;
constexpr int kButtonHeight = 25;
constexpr int kDesignClientWidth = 738;
constexpr int kDesignClientHeight = 516;
constexpr DesignRect kEstimatesBox{16, 104, 713, 153};
constexpr DesignRect kNewErrorKindBox{432, 312, 281, 41};
// The group titles may run only this far, short of the boxes' frames.
constexpr int kEstimatesTitleRoom = 700;
constexpr int kNewErrorKindTitleRoom = 265;
constexpr DesignRect kProbabilityRadio{8, 16, 113, 20};
constexpr DesignRect kIntensityRadio{144, 16, 113, 20};
constexpr DesignRect kCallErrorsButton{464, 56, 129, kButtonHeight};
constexpr DesignRect kAverButton{160, 88, 393, kButtonHeight};
constexpr DesignRect kAllTimeButton{424, 424, 153, kButtonHeight};
constexpr DesignRect kInitParametersButton{160, 480, 145, kButtonHeight};

// Which box a control sits in; positions are relative to it.
enum class Box { Dialog, Estimates, NewErrorKind };

// One row per settings edit: where the edit sits and, when the table gives it a caption,
// its label's object name and left edge. A label shares its edit's top and runs up to it.
struct EditRow {
  std::string_view edit;
  const char* label;  // null: the edit has no label
  Box box;
  int labelLeft;
  int left;
  int top;
  int width;
};

// A unit caption at the end of an edit's row, in the same box and at the same top.
struct UnitLayout {
  std::string_view after;  // the edit of its row
  const char* name;
  const char* caption;
  int left;
  int room;
};

const std::vector<EditRow>& EditRows() {
  static const std::vector<EditRow> rows = {
      {edit::ClientsNum, "Label1", Box::Dialog, 16, 160, 8, 41},
      {edit::ProgrammersNum, "Label2", Box::Dialog, 16, 160, 40, 41},
      {edit::A, "Label3", Box::Dialog, 16, 352, 72, 113},
      {edit::ErrorsNum0, "Label4", Box::Estimates, 8, 152, 24, 137},
      {edit::Y0, "Label11", Box::Estimates, 352, 608, 28, 41},
      {edit::E_aver, nullptr, Box::Estimates, 0, 560, 88, 145},
      {edit::OptimT, "Label19", Box::Estimates, 365, 560, 120, 145},
      {edit::CoeffComplexity, "Label6", Box::Dialog, 16, 200, 264, 41},
      {edit::Yk, "Label7", Box::Dialog, 16, 296, 296, 41},
      {edit::Mu, "Label8", Box::Dialog, 16, 296, 328, 41},
      {edit::P_newErr, "Label13", Box::Dialog, 16, 296, 360, 41},
      {edit::Y_newErr, "Label5", Box::Dialog, 376, 640, 360, 41},
      {edit::DT, "Label14", Box::Dialog, 16, 296, 392, 57},
      {edit::M, "Label16", Box::Dialog, 16, 296, 424, 97},
      {edit::Time, nullptr, Box::Dialog, 0, 584, 424, 73},
      {edit::K, "Label18", Box::Dialog, 16, 296, 456, 41},
  };
  return rows;
}

const std::vector<UnitLayout>& Units() {
  static const std::vector<UnitLayout> units = {
      {edit::Y0, "Label12", "(1/сутки)", 652, 60},
      {edit::Yk, "Label9", "(1/сутки)", 344, 86},
      {edit::Mu, "Label10", "(1/сутки)", 344, 86},
      {edit::Y_newErr, "Label20", "(1/сутки)", 688, 58},
      {edit::DT, "Label15", "(сутки)", 360, 64},
      {edit::Time, "Label17", "(сутки)", 664, 74},
  };
  return units;
}

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
  std::vector<CaptionRoom> captions;
  for (const EditRow& row : EditRows()) {
    const SettingsEdit& entry = TableEntry(row);
    if (row.label) captions.push_back({ToQString(entry.label), row.left - row.labelLeft});
  }
  for (const UnitLayout& unit : Units()) captions.push_back({ToQString(unit.caption), unit.room});
  captions.push_back({ToQString(kCallErrorsCaption), kCallErrorsButton.width});
  captions.push_back({ToQString(kAverCaption), kAverButton.width});
  captions.push_back({ToQString(kAllTimeCaption), kAllTimeButton.width});
  captions.push_back({ToQString(kInitParametersCaption), kInitParametersButton.width});
  captions.push_back({ToQString(kEstimatesTitle), kEstimatesTitleRoom});
  captions.push_back({ToQString(kNewErrorKindTitle), kNewErrorKindTitleRoom});
  const DesignPlacer at(FitScale(font(), captions));

  groupBox1_ = new QGroupBox(ToQString(kEstimatesTitle), this);
  groupBox1_->setObjectName(QStringLiteral("GroupBox1"));
  at.Place(groupBox1_, kEstimatesBox);
  groupBox2_ = new QGroupBox(ToQString(kNewErrorKindTitle), this);
  groupBox2_->setObjectName(QStringLiteral("GroupBox2"));
  at.Place(groupBox2_, kNewErrorKindBox);
  auto boxOf = [this](Box box) -> QWidget* {
    switch (box) {
      case Box::Estimates:
        return groupBox1_;
      case Box::NewErrorKind:
        return groupBox2_;
      case Box::Dialog:
        break;
    }
    return this;
  };

  for (const EditRow& row : EditRows()) {
    const QString hint = ToQString(TableEntry(row).hint);
    auto* edit = new QLineEdit(boxOf(row.box));
    edit->setObjectName(ToQString(row.edit));
    edit->setToolTip(hint);
    edit->setStatusTip(hint);
    at.Place(edit, row.left, row.top, row.width, kRowHeight);
    edits_.emplace(std::string(row.edit), edit);
  }
  auto addLabel = [&](const char* name, const QString& caption, QWidget* box, int left, int top,
                      int room) {
    auto* label = new QLabel(caption, box);
    label->setObjectName(ToQString(name));
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    at.Place(label, left, top, room - 2, kRowHeight);
    return label;
  };
  // Each row's label, then the units of that row: the children keep the design's order.
  for (const EditRow& row : EditRows()) {
    if (row.label) {
      addLabel(row.label, ToQString(TableEntry(row).label), boxOf(row.box), row.labelLeft, row.top,
               row.left - row.labelLeft)
          ->setBuddy(Edit(row.edit));
    }
    for (const UnitLayout& unit : Units()) {
      if (unit.after == row.edit)
        addLabel(unit.name, ToQString(unit.caption), boxOf(row.box), unit.left, row.top, unit.room);
    }
  }

  rbP_ = new QRadioButton(ToQString("вероятность"), groupBox2_);
  rbP_->setObjectName(QStringLiteral("rbP"));
  at.Place(rbP_, kProbabilityRadio);
  rbI_ = new QRadioButton(ToQString("интенсивность"), groupBox2_);
  rbI_->setObjectName(QStringLiteral("rbI"));
  at.Place(rbI_, kIntensityRadio);

  buCallErrors_ = MakeButton(groupBox1_, "buCallErrors", kCallErrorsCaption);
  buCallErrors_->setToolTip(ToQString(kCallErrorsHint));
  buCallErrors_->setStatusTip(ToQString(kCallErrorsHint));
  at.Place(buCallErrors_, kCallErrorsButton);
  buCallAverCorrectErrorNum_ = MakeButton(groupBox1_, "buCallAverCorrectErrorNum", kAverCaption);
  at.Place(buCallAverCorrectErrorNum_, kAverButton);
  buAllTime_ = MakeButton(this, "buAllTime", kAllTimeCaption);
  buAllTime_->setToolTip(ToQString(kAllTimeHint));
  buAllTime_->setStatusTip(ToQString(kAllTimeHint));
  at.Place(buAllTime_, kAllTimeButton);

  aInitParameters_ = new QAction(ToQString(kInitParametersCaption), this);
  aInitParameters_->setObjectName(QStringLiteral("aInitParameters"));
  aInitParameters_->setShortcut(QKeySequence(Qt::Key_F2));
  // Inside the dialog F2 is its own accept key, not the main window's settings key.
  aInitParameters_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  addAction(aInitParameters_);
  buInitParameters_ = MakeButton(this, "buInitParameters", kInitParametersCaption);
  at.Place(buInitParameters_, kInitParametersButton);

  setFixedSize(at.X(kDesignClientWidth), kDesignClientHeight);
}

void TfmSettings::ConnectCommands() {
  connect(aInitParameters_, &QAction::triggered, this,
          [this] { Run([this] { aInitParametersExecute(model_, *this); }); });
  connect(buInitParameters_, &QPushButton::clicked, aInitParameters_, &QAction::trigger);
  connect(buAllTime_, &QPushButton::clicked, this,
          [this] { Run([this] { buAllTimeClick(*this); }); });
  connect(buCallErrors_, &QPushButton::clicked, this,
          [this] { Run([this] { buCallErrorsClick(*this); }); });
  connect(buCallAverCorrectErrorNum_, &QPushButton::clicked, this,
          [this] { Run([this] { buCallAverCorrectErrorNumClick(*this); }); });
  connect(rbP_, &QRadioButton::clicked, this, [this] { Run([this] { rbPClick(*this); }); });
  connect(rbI_, &QRadioButton::clicked, this, [this] { Run([this] { rbIClick(*this); }); });
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
  Edit(edit)->setText(ToQString(text));
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
