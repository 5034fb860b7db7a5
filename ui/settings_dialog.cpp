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

// A caption (label, unit or button) with its design place and the room up to what follows.
struct CaptionLayout {
  const char* name;
  const char* caption;
  Box box;
  int left;
  int top;
  int room;
  const char* buddy;  // the edit a label names; null for units
};

struct EditLayout {
  std::string_view name;
  Box box;
  int left;
  int top;
  int width;
};

const std::vector<CaptionLayout>& Labels() {
  static const std::vector<CaptionLayout> labels = {
      {"Label1", "Кол-во программ-&клиентов:", Box::Dialog, 16, 8, 144, "edClientsNum"},
      {"Label2", "Кол-во &программистов:", Box::Dialog, 16, 40, 144, "edProgrammersNum"},
      {"Label3", "&Доля от общей области данных (ООД) в одном запросе клиента:", Box::Dialog, 16,
       72, 336, "edA"},
      {"Label4", "Начальное кол-во &ошибок:", Box::Estimates, 8, 24, 144, "edErrorsNum0"},
      {"Label11", "Интенсивность начального потока ошибок в ПК:", Box::Estimates, 352, 28, 256,
       "edY0"},
      {"Label12", "(1/сутки)", Box::Estimates, 652, 28, 60, nullptr},
      {"Label19", "оптимальное время моделирования:", Box::Estimates, 365, 120, 195, "edOptimT"},
      {"Label6", "&Коэффициент сложности сервера:", Box::Dialog, 16, 264, 184, "edCoeffComplexity"},
      {"Label7", "&Интенсивность потока обращений клиента к серверу:", Box::Dialog, 16, 296, 280,
       "edYk"},
      {"Label9", "(1/сутки)", Box::Dialog, 344, 296, 86, nullptr},
      {"Label8", "Интенсивность &потока исправления ошибки:", Box::Dialog, 16, 328, 280, "edMu"},
      {"Label10", "(1/сутки)", Box::Dialog, 344, 328, 86, nullptr},
      {"Label13", "&Вероятность внести ошибку при исправлении:", Box::Dialog, 16, 360, 280,
       "edP_newErr"},
      {"Label5", "&Интенсивность внесения ошибки при исправлении:", Box::Dialog, 376, 360, 264,
       "edY_newErr"},
      {"Label20", "(1/сутки)", Box::Dialog, 688, 360, 58, nullptr},
      {"Label14", "&Шаг итерации:", Box::Dialog, 16, 392, 280, "edDT"},
      {"Label15", "(сутки)", Box::Dialog, 360, 392, 64, nullptr},
      {"Label16", "Кол-во итераци&й:", Box::Dialog, 16, 424, 280, "edM"},
      {"Label17", "(сутки)", Box::Dialog, 664, 424, 74, nullptr},
      {"Label18", "Кол-во &розыгрышей:", Box::Dialog, 16, 456, 280, "edK"},
  };
  return labels;
}

const std::vector<EditLayout>& Edits() {
  static const std::vector<EditLayout> edits = {
      {edit::ClientsNum, Box::Dialog, 160, 8, 41},
      {edit::ProgrammersNum, Box::Dialog, 160, 40, 41},
      {edit::A, Box::Dialog, 352, 72, 113},
      {edit::ErrorsNum0, Box::Estimates, 152, 24, 137},
      {edit::Y0, Box::Estimates, 608, 28, 41},
      {edit::E_aver, Box::Estimates, 560, 88, 145},
      {edit::OptimT, Box::Estimates, 560, 120, 145},
      {edit::CoeffComplexity, Box::Dialog, 200, 264, 41},
      {edit::Yk, Box::Dialog, 296, 296, 41},
      {edit::Mu, Box::Dialog, 296, 328, 41},
      {edit::P_newErr, Box::Dialog, 296, 360, 41},
      {edit::Y_newErr, Box::Dialog, 640, 360, 41},
      {edit::DT, Box::Dialog, 296, 392, 57},
      {edit::M, Box::Dialog, 296, 424, 97},
      {edit::Time, Box::Dialog, 584, 424, 73},
      {edit::K, Box::Dialog, 296, 456, 41},
  };
  return edits;
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
  for (const CaptionLayout& item : Labels())
    captions.push_back({ToQString(item.caption), item.room});
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

  for (const EditLayout& item : Edits()) {
    auto* edit = new QLineEdit(boxOf(item.box));
    edit->setObjectName(ToQString(std::string(item.name)));
    at.Place(edit, item.left, item.top, item.width, kRowHeight);
    edits_.emplace(std::string(item.name), edit);
  }
  for (const CaptionLayout& item : Labels()) {
    auto* label = new QLabel(ToQString(item.caption), boxOf(item.box));
    label->setObjectName(ToQString(item.name));
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    at.Place(label, item.left, item.top, item.room - 2, kRowHeight);
    if (item.buddy) label->setBuddy(Edit(item.buddy));
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
