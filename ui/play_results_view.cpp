#include "ui/play_results_view.h"

#include <vector>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>

#include <qcustomplot.h>

#include "ui/design_placer.h"
#include "ui/locale_text.h"
#include "ui/window_metrics.h"

namespace teravo {

namespace {

constexpr int kDesignWidth = 1178;
constexpr int kDesignHeight = 769;
constexpr int kStripHeight = 65;
constexpr DesignRect kClientsBox{16, 96, 257, 121};
constexpr DesignRect kServerBox{296, 104, 225, 113};
// Between a field and the unit after it.
constexpr int kUnitGap = 4;

// Where a field sits and what stands beside it.
struct FieldLayout {
  Field field;
  int group;  // 0 the window, 1 "Клиенты:", 2 "Сервер:"
  const char* caption;
  int captionLeft;
  int captionRoom;
  int left;
  int top;
  int width;
  int height;
  const char* unit;  // the caption after the field, if any
};

const std::vector<FieldLayout>& Fields() {
  static const std::vector<FieldLayout> fields = {
      {Field::edCurTime, 0, "Текущее время:", 16, 88, 104, 72, 73, 21, "(сутки)"},
      {Field::edClientErrNums, 1, "Число ошибок:", 8, 112, 120, 16, 129, 24, nullptr},
      {Field::edWorkClientNum, 1, "Число рабочих:", 8, 112, 120, 40, 129, 24, nullptr},
      {Field::edAverCorrectTime, 1, "Ср. время ремонта:", 8, 112, 120, 64, 129, 24, nullptr},
      {Field::edAverWaitTime, 1, "Ср. время ожидания:", 8, 112, 120, 88, 129, 24, nullptr},
      {Field::edServerErrNums, 2, "Число ошибок:", 8, 104, 112, 16, 105, 24, nullptr},
      {Field::edCorrectServerTime, 2, "Время ремонта:", 8, 104, 112, 48, 105, 24, nullptr},
      {Field::edNewClientErrorAdd, 0, "Кол-во новых ошибок в клиентах:", 544, 176, 720, 72, 73, 21,
       nullptr},
      {Field::edNewServerErrorAdd, 0, "Кол-во новых ошибок в серевере:", 544, 176, 720, 96, 73, 21,
       nullptr},
      {Field::edTer, 0, "Время наработки до отказа:", 544, 176, 720, 120, 73, 21, "(сут)"},
      {Field::edAverTer, 0, "Ср. время наработки до отказа:", 544, 176, 720, 144, 73, 21, "(сут)"},
      {Field::edPer, 0, "Вер. отказа ПО в ед. времени:", 544, 176, 720, 168, 73, 21, nullptr},
      {Field::edKg, 0, "Коэффициент готовности:", 544, 176, 720, 192, 73, 21, nullptr},
  };
  return fields;
}

struct ChartLayout {
  Chart chart;
  const char* title;
  ChartView::Kind kind;
  bool black;  // otherwise QCustomPlot's default colour
  int left;
  int top;
  int width;
  int height;
};

// The intensity chart ends above the row of charts below it rather than running into them.
const std::vector<ChartLayout>& Charts() {
  static const std::vector<ChartLayout> charts = {
      {Chart::chErrorsIntensity, "Интенсивность потока ошибок  (1/сут)", ChartView::Kind::Line,
       true, 828, 68, 350, 152},
      {Chart::chNums, "Количество работающих клиентов", ChartView::Kind::Line, true, 0, 224, 489,
       265},
      {Chart::chErrorsGist, "Распределение ошибок в клиентах", ChartView::Kind::Impulse, true, 496,
       224, 489, 265},
      {Chart::chClientErrors, "Количество ошибок в клиентах", ChartView::Kind::Line, false, 0, 504,
       489, 265},
      {Chart::chAvTer, "Среднее время наработки до отказа (сутки)", ChartView::Kind::Line, true,
       496, 504, 489, 265},
  };
  return charts;
}

const char kNewClientErrorsHint[] =
    "Количество ошибок внесенных программистами при исправлении клиентов";
const char kNewServerErrorsHint[] =
    "Количество ошибок внесенных программистами ошибок при исправлении сервера";

QFont BoldValueFont(QFont font) {
  font.setPointSize(kValuePointSize);
  font.setBold(true);
  return font;
}

}  // namespace

PlayResultsView::PlayResultsView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("fmPlayResults"));
  setAutoFillBackground(true);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
  QFont normal = font();
  normal.setPointSize(kTextPointSize);
  // Marked explicitly, or the captions inside the groups would inherit the groups' bold.
  normal.setBold(false);
  setFont(normal);

  std::vector<CaptionRoom> captions;
  for (const FieldLayout& item : Fields())
    captions.push_back({ToQString(item.caption), item.captionRoom});
  const double scale = FitScale(normal, captions);
  const DesignPlacer at(scale);

  meBeginSettings_ = new QTextEdit(this);
  meBeginSettings_->setObjectName(QStringLiteral("meBeginSettings"));
  meBeginSettings_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  meBeginSettings_->setGeometry(0, 0, at.X(kDesignWidth), kStripHeight);

  CreateFields(scale);
  CreateCharts(scale);
  setFixedSize(at.X(kDesignWidth), kDesignHeight);
}

void PlayResultsView::CreateFields(double scale) {
  const DesignPlacer at(scale);
  const QFont normal = font();
  auto* clients = new QGroupBox(ToQString("Клиенты:"), this);
  clients->setObjectName(QStringLiteral("GroupBox1"));
  auto* server = new QGroupBox(ToQString("Сервер:"), this);
  server->setObjectName(QStringLiteral("GroupBox2"));
  for (QGroupBox* group : {clients, server}) group->setFont(BoldValueFont(normal));
  at.Place(clients, kClientsBox);
  at.Place(server, kServerBox);
  QWidget* const parents[] = {this, clients, server};

  for (const FieldLayout& item : Fields()) {
    QWidget* parent = parents[item.group];
    auto* caption = new QLabel(ToQString(item.caption), parent);
    caption->setFont(normal);
    caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    at.Place(caption, item.captionLeft, item.top, item.captionRoom, item.height);

    auto* field = new QLineEdit(parent);
    field->setObjectName(ToQString(FieldName(item.field)));
    // Read-only rather than disabled, so the bold values stay readable and their hints show.
    field->setReadOnly(true);
    field->setFrame(false);
    field->setFocusPolicy(Qt::NoFocus);
    field->setFont(BoldValueFont(normal));
    at.Place(field, item.left, item.top, item.width, item.height);
    fields_[static_cast<int>(item.field)] = field;

    if (item.unit) {
      auto* unit = new QLabel(ToQString(item.unit), parent);
      unit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      const int left = item.left + item.width + kUnitGap;
      unit->setGeometry(at.X(left), item.top, unit->sizeHint().width(), item.height);
    }
  }
  FieldEdit(Field::edNewClientErrorAdd)->setToolTip(ToQString(kNewClientErrorsHint));
  FieldEdit(Field::edNewServerErrorAdd)->setStatusTip(ToQString(kNewServerErrorsHint));
}

void PlayResultsView::CreateCharts(double scale) {
  const DesignPlacer at(scale);
  for (const ChartLayout& item : Charts()) {
    auto view = std::make_unique<ChartView>(
        this, ToQString(ChartName(item.chart)), ToQString(item.title), item.kind,
        item.black ? std::optional<QColor>(Qt::black) : std::nullopt);
    at.Place(view->Plot(), item.left, item.top, item.width, item.height);
    charts_[static_cast<int>(item.chart)] = std::move(view);
  }
}

void PlayResultsView::Show(const PlayRecord& record) {
  if (record.BeginSettings.size() != shownLines_) {
    QStringList lines;
    for (const std::string& line : record.BeginSettings) lines << ToQString(line);
    meBeginSettings_->setPlainText(lines.join(QLatin1Char('\n')));
    shownLines_ = record.BeginSettings.size();
  }
  for (int i = 0; i < kFieldCount; ++i) {
    const QString text = ToQString(record.Text(static_cast<Field>(i)));
    if (fields_[i]->text() == text) continue;
    fields_[i]->setText(text);
    // A value wider than its field shows its leading digits.
    fields_[i]->setCursorPosition(0);
  }
  for (int i = 0; i < kChartCount; ++i) charts_[i]->Show(record.Series(static_cast<Chart>(i)));
}

}  // namespace teravo
