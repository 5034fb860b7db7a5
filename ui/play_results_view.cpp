#include "ui/play_results_view.h"

#include <iterator>
#include <vector>

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTextEdit>
#include <QVBoxLayout>

#include <qcustomplot.h>

#include "ui/figure_edit.h"
#include "ui/locale_text.h"
#include "ui/spread_table.h"
#include "ui/window_metrics.h"

namespace teravo {

namespace {

// Lines of the description strip that show without scrolling it.
constexpr int kStripLines = 4;
// Room for a value before any has been shown.
constexpr int kFieldDigits = 8;
// Below these the charts become unreadable; the window scrolls instead.
constexpr QSize kSmallChart(260, 150);
constexpr QSize kChart(320, 200);

// Where a field sits: the places of the original window, grouped as it grouped them.
enum class Place {
  Time,     // the current time, above the clients
  Clients,  // "Клиенты:"
  Server,   // "Сервер:", under the clients
  Figures,  // the column of the play's figures, beside the groups
};

// One row per field, in the order of the rows within each place.
struct FieldLayout {
  Field field;
  Place place;
  const char* caption;
  const char* unit;  // the caption after the field, if any
};

const std::vector<FieldLayout>& Fields() {
  static const std::vector<FieldLayout> fields = {
      {Field::edCurTime, Place::Time, "Текущее время:", "(сутки)"},
      {Field::edClientErrNums, Place::Clients, "Число ошибок:", nullptr},
      {Field::edWorkClientNum, Place::Clients, "Число рабочих:", nullptr},
      {Field::edAverCorrectTime, Place::Clients, "Ср. время ремонта:", nullptr},
      {Field::edAverWaitTime, Place::Clients, "Ср. время ожидания:", nullptr},
      {Field::edServerErrNums, Place::Server, "Число ошибок:", nullptr},
      {Field::edCorrectServerTime, Place::Server, "Время ремонта:", nullptr},
      {Field::edNewClientErrorAdd, Place::Figures, "Кол-во новых ошибок в клиентах:", nullptr},
      {Field::edNewServerErrorAdd, Place::Figures, "Кол-во новых ошибок в серевере:", nullptr},
      {Field::edTer, Place::Figures, "Время наработки до отказа:", "(сут)"},
      {Field::edAverTer, Place::Figures, "Ср. время наработки до отказа:", "(сут)"},
      {Field::edPer, Place::Figures, "Вер. отказа ПО в ед. времени:", nullptr},
      {Field::edKg, Place::Figures, "Коэффициент готовности:", nullptr},
  };
  return fields;
}

struct ChartLayout {
  Chart chart;
  const char* title;
  ChartView::Kind kind;
  bool black;  // otherwise QCustomPlot's default colour
  ChartView::Counts counts;
};

const std::vector<ChartLayout>& Charts() {
  static const std::vector<ChartLayout> charts = {
      {Chart::chErrorsIntensity,
       "Интенсивность потока ошибок  (1/сут)",
       ChartView::Kind::Line,
       true,
       {}},
      {Chart::chNums, "Количество работающих клиентов", ChartView::Kind::Line, true, {.y = true}},
      {Chart::chErrorsGist,
       "Распределение ошибок в клиентах",
       ChartView::Kind::Impulse,
       true,
       {.x = true, .y = true}},
      {Chart::chClientErrors,
       "Количество ошибок в клиентах",
       ChartView::Kind::Line,
       false,
       {.y = true}},
      {Chart::chAvTer,
       "Среднее время наработки до отказа (сутки)",
       ChartView::Kind::Line,
       true,
       {}},
  };
  return charts;
}

const char kNewClientErrorsHint[] =
    "Количество ошибок внесенных программистами при исправлении клиентов";
const char kNewServerErrorsHint[] =
    "Количество ошибок внесенных программистами ошибок при исправлении сервера";

const FieldLayout& LayoutOf(Field field) {
  for (const FieldLayout& item : Fields())
    if (item.field == field) return item;
  return Fields().front();
}

QString WithoutColon(const char* caption) {
  QString text = ToQString(caption);
  if (text.endsWith(QLatin1Char(':'))) text.chop(1);
  return text;
}

QFont BoldValueFont(QFont font) {
  font.setPointSize(kValuePointSize);
  font.setBold(true);
  return font;
}

}  // namespace

const std::vector<Field>& FieldsInWindowOrder() {
  static const std::vector<Field> order = [] {
    std::vector<Field> fields;
    for (const FieldLayout& item : Fields()) fields.push_back(item.field);
    return fields;
  }();
  return order;
}

QString FieldTitle(Field field) {
  const FieldLayout& item = LayoutOf(field);
  QString title = WithoutColon(item.caption);
  // Both groups have a "Число ошибок": out of its group a caption names it.
  if (item.place == Place::Clients) title = ToQString("Клиенты: ") + title.toLower();
  if (item.place == Place::Server) title = ToQString("Сервер: ") + title.toLower();
  if (item.unit) title += QLatin1Char(' ') + ToQString(item.unit);
  return title;
}

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

  meBeginSettings_ = new QTextEdit(this);
  meBeginSettings_->setObjectName(QStringLiteral("meBeginSettings"));
  meBeginSettings_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  const int frame = meBeginSettings_->frameWidth();
  const int margin = static_cast<int>(meBeginSettings_->document()->documentMargin());
  meBeginSettings_->setFixedHeight(kStripLines * meBeginSettings_->fontMetrics().lineSpacing() +
                                   2 * (frame + margin));

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(0, 0, 0, 0);
  root->addWidget(meBeginSettings_);

  auto* upper = CreateFields();
  upper->addWidget(CreateChart(Chart::chErrorsIntensity), 1);
  root->addLayout(upper);

  auto* charts = new QGridLayout;
  charts->addWidget(CreateChart(Chart::chNums), 0, 0);
  charts->addWidget(CreateChart(Chart::chErrorsGist), 0, 1);
  charts->addWidget(CreateChart(Chart::chClientErrors), 1, 0);
  charts->addWidget(CreateChart(Chart::chAvTer), 1, 1);
  root->addLayout(charts, 1);
}

QBoxLayout* PlayResultsView::CreateFields() {
  const QFont normal = font();
  auto* clients = new QGroupBox(ToQString("Клиенты:"), this);
  clients->setObjectName(QStringLiteral("GroupBox1"));
  auto* server = new QGroupBox(ToQString("Сервер:"), this);
  server->setObjectName(QStringLiteral("GroupBox2"));
  for (QGroupBox* group : {clients, server}) group->setFont(BoldValueFont(normal));

  auto* time = new QGridLayout;
  auto* figures = new QGridLayout;
  QGridLayout* const grids[] = {time, new QGridLayout(clients), new QGridLayout(server), figures};
  QWidget* const parents[] = {this, clients, server, this};
  int rows[std::size(grids)] = {};
  for (QGridLayout* grid : grids) grid->setVerticalSpacing(2);

  for (const FieldLayout& item : Fields()) {
    const auto place = static_cast<int>(item.place);
    QGridLayout* grid = grids[place];
    const int row = rows[place]++;
    auto* caption = new QLabel(ToQString(item.caption), parents[place]);
    caption->setFont(normal);
    grid->addWidget(caption, row, 0);

    auto* field = new FigureEdit(kFieldDigits, parents[place]);
    field->setObjectName(ToQString(FieldName(item.field)));
    field->setFont(BoldValueFont(normal));
    grid->addWidget(field, row, 1);
    fields_[static_cast<int>(item.field)] = field;

    if (item.unit) {
      auto* unit = new QLabel(ToQString(item.unit), parents[place]);
      unit->setFont(normal);
      grid->addWidget(unit, row, 2);
    }
  }
  FieldEdit(Field::edNewClientErrorAdd)->setToolTip(ToQString(kNewClientErrorsHint));
  FieldEdit(Field::edNewClientErrorAdd)->setStatusTip(ToQString(kNewClientErrorsHint));
  FieldEdit(Field::edNewServerErrorAdd)->setStatusTip(ToQString(kNewServerErrorsHint));
  for (int i = 0; i < kFieldCount; ++i) hints_[i] = fields_[i]->toolTip();

  // The two groups one above the other: side by side they would make the window wider
  // than most frames.
  auto* left = new QVBoxLayout;
  left->addLayout(time);
  left->addWidget(clients);
  left->addWidget(server);
  left->addStretch();
  auto* upper = new QHBoxLayout;
  upper->addLayout(left);
  figures->setAlignment(Qt::AlignTop);
  upper->addLayout(figures);
  return upper;
}

QWidget* PlayResultsView::CreateChart(Chart chart) {
  for (const ChartLayout& item : Charts()) {
    if (item.chart != chart) continue;
    auto view = std::make_unique<ChartView>(
        this, ToQString(ChartName(item.chart)), ToQString(item.title), item.kind,
        item.black ? std::optional<QColor>(Qt::black) : std::nullopt, item.counts);
    QCustomPlot* plot = view->Plot();
    plot->setMinimumSize(chart == Chart::chErrorsIntensity ? kSmallChart : kChart);
    charts_[static_cast<int>(chart)] = std::move(view);
    return plot;
  }
  return nullptr;
}

QLineEdit* PlayResultsView::FieldEdit(Field field) const {
  return fields_[static_cast<int>(field)];
}

void PlayResultsView::Show(const PlayRecord& record) {
  if (record.BeginSettings.size() != shownLines_) {
    QStringList lines;
    for (const std::string& line : record.BeginSettings) lines << ToQString(line);
    meBeginSettings_->setPlainText(lines.join(QLatin1Char('\n')));
    shownLines_ = record.BeginSettings.size();
  }
  bool widened = false;
  for (int i = 0; i < kFieldCount; ++i) {
    const QString text = ToQString(record.Text(static_cast<Field>(i)));
    if (fields_[i]->text() == text) continue;
    fields_[i]->setText(text);
    fields_[i]->setCursorPosition(0);
    widened = widened || fields_[i]->Widened();
    fields_[i]->ClearWidened();
  }
  for (int i = 0; i < kFieldCount; ++i) {
    const QString spread = SpreadToolTip(record, static_cast<Field>(i));
    QString tip = hints_[i];
    if (!spread.isEmpty()) tip = tip.isEmpty() ? spread : tip + QLatin1Char('\n') + spread;
    if (fields_[i]->toolTip() != tip) fields_[i]->setToolTip(tip);
  }
  for (int i = 0; i < kChartCount; ++i) {
    const auto chart = static_cast<Chart>(i);
    charts_[i]->Show(record.Series(chart));
    const bool band = bandsVisible_ && IsAverages(record);
    charts_[i]->ShowBand(band ? &record.BandLow[static_cast<std::size_t>(i)] : nullptr,
                         band ? &record.BandHigh[static_cast<std::size_t>(i)] : nullptr);
  }
  // A play paints without returning to the event loop: a value that needs a wider column
  // gets it now rather than after the play.
  if (widened) QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
}

}  // namespace teravo
