#include "ui/plays/play_results_view.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <span>
#include <vector>

#include <QAbstractTextDocumentLayout>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTextEdit>
#include <QVBoxLayout>

#include <qcustomplot.h>

#include "ui/common/figure_edit.h"
#include "ui/common/locale_text.h"
#include "ui/common/window_metrics.h"
#include "ui/plays/spread_table.h"

namespace teravo {

namespace {

// Lines of the description strip that show without scrolling it at first, and at most.
constexpr int kStripLines = 4;
constexpr int kMostStripLines = 9;
// Room for a value before any has been shown.
constexpr int kFieldDigits = 8;
// Below this a chart becomes unreadable; the window scrolls instead.
constexpr QSize kChart(260, 150);
// The share of the height below the description that the figures get at first; the charts,
// the window's main content, get the rest. The user moves the boundary.
constexpr int kFiguresShare = 1;
constexpr int kChartsShare = 3;
// The figures' pane never gets fewer lines than this, whatever room the charts take.
constexpr int kLeastFigureLines = 6;

// The fields in the window's own order: the time, the clients' group, the server's group,
// then the column of the play's figures.
constexpr Field kWindowOrder[] = {
    Field::edCurTime,
    Field::edClientErrNums,
    Field::edWorkClientNum,
    Field::edAverCorrectTime,
    Field::edAverWaitTime,
    Field::edServerErrNums,
    Field::edCorrectServerTime,
    Field::edNewClientErrorAdd,
    Field::edNewServerErrorAdd,
    Field::edTer,
    Field::edAverTer,
    Field::edPer,
    Field::edKg,
};
static_assert(std::size(kWindowOrder) == static_cast<std::size_t>(kFieldCount),
              "every field has its place in the window");

struct ChartLayout {
  Chart chart;
  ChartView::Kind kind;
  bool black;   // otherwise QCustomPlot's default colour
  bool wholeX;  // the x axis counts too (the histogram's classes)
  const char* xTitle;
  const char* yTitle;
};

const char kTimeAxis[] = "Время (сутки)";

// In the window's order: beside the figures, then row by row.
const std::vector<ChartLayout>& Charts() {
  using enum ChartView::Kind;
  static const std::vector<ChartLayout> charts = {
      {Chart::chErrorsIntensity, Line, true, false, kTimeAxis, "Ошибок (1/сутки)"},
      {Chart::chNums, Line, true, false, kTimeAxis, "Клиентов"},
      {Chart::chErrorsGist, Impulse, true, true, "Участок положения ошибки (сотые доли)", "Ошибок"},
      {Chart::chClientErrors, Line, false, false, kTimeAxis, "Ошибок"},
      {Chart::chAvTer, Line, true, false, kTimeAxis, "Наработка (сутки)"},
      {Chart::chFailures, Line, true, false, kTimeAxis, "Отказов"},
      {Chart::chFixedErrors, Line, false, false, kTimeAxis, "Ошибок"},
  };
  return charts;
}

// What the legend of an averages window's chart calls the mean curve and its band.
const char kMeanName[] = "Среднее по розыгрышам";
const char kBandName[] = "5–95 % розыгрышей";

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

std::span<const Field> FieldsInWindowOrder() {
  return kWindowOrder;
}

std::span<const Chart> ChartsInWindowOrder() {
  static const std::vector<Chart> order = [] {
    std::vector<Chart> charts;
    for (const ChartLayout& item : Charts()) charts.push_back(item.chart);
    return charts;
  }();
  return order;
}

QString FieldTitle(Field field) {
  return ToQString(TitleWithUnit(ResultFieldOf(field)));
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
  meBeginSettings_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  meBeginSettings_->setFixedHeight(StripHeight(kStripLines * LineSpacing()));
  // The strip grows with its wrapped lines, so the seed line below the parameters shows.
  connect(meBeginSettings_->document()->documentLayout(),
          &QAbstractTextDocumentLayout::documentSizeChanged, this, &PlayResultsView::FitStrip);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(0, 0, 0, 0);
  root->addWidget(meBeginSettings_);

  // The figures scroll in a pane of their own above the charts, so that on a small or
  // scaled screen they neither push the charts out of sight nor get cut at the right.
  auto* fields = new QWidget(this);
  fields->setObjectName(QStringLiteral("FiguresPane"));
  fields->setLayout(CreateFields());
  figuresPane_ = new QScrollArea(this);
  figuresPane_->setObjectName(QStringLiteral("sbFigures"));
  figuresPane_->setFrameShape(QFrame::NoFrame);
  figuresPane_->setWidgetResizable(true);
  figuresPane_->setWidget(fields);
  figuresPane_->setMinimumHeight(LineSpacing() * kLeastFigureLines);
  figuresPane_->installEventFilter(this);

  auto* chartsBox = new QWidget(this);
  chartsBox->setObjectName(QStringLiteral("ChartsPane"));
  auto* charts = new QGridLayout(chartsBox);
  charts->setContentsMargins(0, 0, 0, 0);
  charts->addWidget(CreateChart(Chart::chErrorsIntensity), 0, 0);
  charts->addWidget(CreateChart(Chart::chNums), 0, 1);
  charts->addWidget(CreateChart(Chart::chErrorsGist), 1, 0);
  charts->addWidget(CreateChart(Chart::chClientErrors), 1, 1);
  charts->addWidget(CreateChart(Chart::chAvTer), 2, 0);
  charts->addWidget(CreateChart(Chart::chFailures), 2, 1);
  charts->addWidget(CreateChart(Chart::chFixedErrors), 3, 0);

  auto* split = new QSplitter(Qt::Vertical, this);
  split->setObjectName(QStringLiteral("spFiguresCharts"));
  split->setChildrenCollapsible(false);
  split->addWidget(figuresPane_);
  split->addWidget(chartsBox);
  split->setStretchFactor(0, kFiguresShare);
  split->setStretchFactor(1, kChartsShare);
  split->setSizes({kFiguresShare * 1000, kChartsShare * 1000});
  root->addWidget(split, 1);
}

int PlayResultsView::LineSpacing() const {
  return meBeginSettings_->fontMetrics().lineSpacing();
}

int PlayResultsView::StripHeight(int textHeight) const {
  const int frame = meBeginSettings_->frameWidth();
  const int margin = static_cast<int>(meBeginSettings_->document()->documentMargin());
  return textHeight + 2 * (frame + margin);
}

void PlayResultsView::FitStrip() {
  const int margin = static_cast<int>(meBeginSettings_->document()->documentMargin());
  const int text =
      static_cast<int>(std::ceil(meBeginSettings_->document()->size().height())) - 2 * margin;
  const int height =
      StripHeight(std::min(std::max(text, LineSpacing()), kMostStripLines * LineSpacing()));
  if (meBeginSettings_->height() != height) meBeginSettings_->setFixedHeight(height);
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

  for (const Field fieldId : kWindowOrder) {
    const ResultField& item = ResultFieldOf(fieldId);
    const auto place = static_cast<int>(item.group);
    QGridLayout* grid = grids[place];
    const int row = rows[place]++;
    auto* caption = new QLabel(ToQString(item.caption), parents[place]);
    caption->setFont(normal);
    grid->addWidget(caption, row, 0);

    auto* field = new FigureEdit(kFieldDigits, parents[place]);
    field->setObjectName(ToQString(item.name));
    field->setFont(BoldValueFont(normal));
    grid->addWidget(field, row, 1);
    fields_[static_cast<int>(item.field)] = field;

    if (!item.windowUnit.empty()) {
      auto* unit = new QLabel(ToQString(item.windowUnit), parents[place]);
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
  groupsColumn_ = left;
  figuresColumn_ = figures;
  figuresRow_ = upper;
  return upper;
}

bool PlayResultsView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == figuresPane_ && event->type() == QEvent::Resize) ArrangeFigures();
  return QWidget::eventFilter(watched, event);
}

void PlayResultsView::ArrangeFigures() {
  const QMargins margins = figuresRow_->contentsMargins();
  const int sideBySide = groupsColumn_->sizeHint().width() + figuresRow_->spacing() +
                         figuresColumn_->sizeHint().width() + margins.left() + margins.right();
  // The vertical bar's room is kept either way, so showing it cannot flip the arrangement.
  const int room = figuresPane_->maximumViewportSize().width() -
                   figuresPane_->verticalScrollBar()->sizeHint().width();
  const auto direction = sideBySide <= room ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom;
  if (figuresRow_->direction() != direction) figuresRow_->setDirection(direction);
}

QWidget* PlayResultsView::CreateChart(Chart chart) {
  for (const ChartLayout& item : Charts()) {
    if (item.chart != chart) continue;
    const ResultChart& row = ResultChartOf(chart);
    auto view =
        std::make_unique<ChartView>(this, ToQString(row.name), ToQString(row.title), item.kind,
                                    item.black ? std::optional<QColor>(Qt::black) : std::nullopt,
                                    ChartView::Counts{.x = item.wholeX, .y = row.counts});
    view->SetAxisTitles(ToQString(item.xTitle), ToQString(item.yTitle));
    view->SetLegendNames(ToQString(kMeanName), ToQString(kBandName));
    QCustomPlot* plot = view->Plot();
    plot->setMinimumSize(kChart);
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
    const bool band = bandsVisible_ && (record.Kind == RecordKind::Averages);
    charts_[i]->ShowBand(band ? &record.BandLow[static_cast<std::size_t>(i)] : nullptr,
                         band ? &record.BandHigh[static_cast<std::size_t>(i)] : nullptr);
  }
  // A play paints without returning to the event loop: a value that needs a wider column
  // gets it now rather than after the play.
  if (widened) {
    ArrangeFigures();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  }
}

}  // namespace teravo
