#include "ui/sweep/sweep_window.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include <qcustomplot.h>
#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QToolTip>
#include <QVBoxLayout>

#include "core/number_text.h"
#include "results/csv_export.h"
#include "ui/common/chart_view.h"
#include "ui/common/content_menu.h"
#include "ui/common/error_report.h"
#include "ui/common/locale_text.h"
#include "ui/common/table_copy.h"
#include "ui/data/number_cells.h"
#include "ui/plays/play_results_view.h"
#include "ui/shell/window_placement.h"

namespace teravo {

namespace {

// The averaged fields in the order of the play window's rows.
const std::vector<Field>& Figures() {
  static const std::vector<Field> figures = [] {
    std::vector<Field> averaged;
    for (const Field field : FieldsInWindowOrder())
      if (IsAveragedField(field)) averaged.push_back(field);
    return averaged;
  }();
  return figures;
}

QString Caption(Field field) {
  return ToQString(ResultFieldOf(field).title);
}

QString CaptionWithUnit(Field field) {
  return ToQString(TitleWithUnit(ResultFieldOf(field)));
}

QString Mean(const SweepPoint& point, Field field, char separator) {
  return FullNumber(static_cast<double>(point.ExactMean(field)), separator);
}

const char kClippedNote[] = "Интервал обрезан по границе возможных значений: [%1; %2]";

// A hovered point answers this far from its centre.
constexpr double kHoverPixels = 10;
constexpr int kFixedColumns = 2;  // the value and the number of plays

QString WithUnit(const QString& caption, const QString& unit) {
  return unit.isEmpty() ? caption : caption + QStringLiteral(" (") + unit + QLatin1Char(')');
}

double Number(const std::string& text, char separator) {
  const auto value = ParseReal(text, separator);
  return value ? static_cast<double>(*value) : std::numeric_limits<double>::quiet_NaN();
}

// The range an axis needs to show [low, high] with a margin, on a log axis by a factor.
QCPRange Padded(double low, double high, bool log) {
  if (log) return {low / 1.25, high * 1.25};
  const double span = high - low;
  const double pad = span > 0 ? span * 0.08 : std::max(std::abs(low) * 0.1, 0.5);
  return {low - pad, high + pad};
}

}  // namespace

std::span<const Field> SweepFigures() {
  return Figures();
}

QString EditCaption(const SettingsEdit& edit) {
  QString caption = ToQString(edit.label);
  caption.remove(QLatin1Char('&'));
  if (caption.endsWith(QLatin1Char(':'))) caption.chop(1);
  // A label that starts in lower case continues the row before it in the dialog.
  if (!caption.isEmpty()) caption[0] = caption[0].toUpper();
  return caption;
}

QString EditUnit(const SettingsEdit& edit) {
  if (edit.name == edit::DT) return ToQString("сутки");
  if (edit.name == edit::Yk || edit.name == edit::Mu || edit.name == edit::Y_newErr)
    return ToQString("1/сутки");
  return {};
}

std::int32_t SweepResult::ClientsAt(const SweepPoint& point) const {
  const auto at = static_cast<std::size_t>(point.index - 1);
  return at < clients.size() ? clients[at] : 0;
}

TSweepResults::TSweepResults(SweepResult result, MessageSink& messages, QWidget* parent)
    : QMdiSubWindow(parent),
      result_(std::move(result)),
      messages_(messages),
      figure_(result_.figure),
      ask_([this](ExportDialog& dialog) {
        PlaceCentred(dialog, *window());
        return dialog.exec() == QDialog::Accepted;
      }) {
  setObjectName(QStringLiteral("SweepResults"));
  setAttribute(Qt::WA_DeleteOnClose);
  const QString editCaption = result_.edit ? EditCaption(*result_.edit) : QString();
  setWindowTitle(ToQString("Исследование параметра: ") + editCaption);

  content_ = new QWidget(this);
  auto* layout = new QVBoxLayout(content_);
  QString heading = ToQString("Зерно первого розыгрыша каждой точки: %1")
                        .arg(static_cast<qulonglong>(result_.table.seed));
  if (result_.stopped) heading += ToQString(". Остановлено: показаны только досчитанные точки");
  heading_ = new QLabel(heading, content_);
  heading_->setObjectName(QStringLiteral("lbSweepHeading"));
  layout->addWidget(heading_);

  auto* row = new QHBoxLayout;
  auto* figureLabel = new QLabel(ToQString("&Показатель:"), content_);
  figureBox_ = new QComboBox(content_);
  figureBox_->setObjectName(QStringLiteral("cbFigure"));
  for (const Field figure : Figures())
    figureBox_->addItem(Caption(figure), static_cast<int>(figure));
  figureLabel->setBuddy(figureBox_);
  auto* save = new QPushButton(ToQString("Сохранить &как…"), content_);
  save->setObjectName(QStringLiteral("buSaveSweep"));
  row->addWidget(figureLabel);
  row->addWidget(figureBox_, 1);
  row->addWidget(save);
  layout->addLayout(row);

  auto* splitter = new QSplitter(Qt::Vertical, content_);
  plot_ = new QCustomPlot(splitter);
  plot_->setObjectName(QStringLiteral("chSweep"));
  plot_->setMinimumSize(360, 240);
  plot_->setMouseTracking(true);
  means_ = plot_->addGraph();
  means_->setPen(QPen(QColor(20, 60, 160), 1.5));
  means_->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, 7));
  intervals_ = new QCPErrorBars(plot_->xAxis, plot_->yAxis);
  intervals_->setDataPlottable(means_);
  intervals_->setPen(QPen(QColor(200, 40, 40), 1.2));
  intervals_->setWhiskerWidth(8);
  means_->setName(ToQString("Среднее"));
  intervals_->setName(ToQString("95 % интервал среднего"));
  StyleLegend(*plot_);
  plot_->legend->setVisible(true);
  plot_->xAxis->setLabel(WithUnit(editCaption, result_.edit ? EditUnit(*result_.edit) : QString()));
  if (result_.logSpaced) {
    plot_->xAxis->setScaleType(QCPAxis::stLogarithmic);
    plot_->xAxis->setTicker(QSharedPointer<QCPAxisTickerLog>(new QCPAxisTickerLog));
  } else if (result_.edit && result_.edit->kind == EditKind::Integer) {
    plot_->xAxis->setTicker(WholeTicks());
  }
  const QLocale locale;
  plot_->setLocale(locale);
  connect(plot_, &QCustomPlot::mouseMove, this, &TSweepResults::HoverAt);

  table_ = new QTableWidget(splitter);
  table_->setObjectName(QStringLiteral("tbSweep"));
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setMinimumHeight(120);
  EnableCopy(*table_);
  splitter->addWidget(plot_);
  splitter->addWidget(table_);
  splitter->setStretchFactor(0, 3);
  splitter->setStretchFactor(1, 2);
  layout->addWidget(splitter, 1);
  setWidget(content_);

  aSaveAs_ = new QAction(ToQString("Сохранить как…"), this);
  aSaveAs_->setObjectName(QStringLiteral("aSaveAs"));
  connect(aSaveAs_, &QAction::triggered, this, &TSweepResults::SaveAs);
  connect(save, &QPushButton::clicked, this, &TSweepResults::SaveAs);

  FillTable();
  figureBox_->setCurrentIndex(figureBox_->findData(static_cast<int>(figure_)));
  connect(figureBox_, &QComboBox::currentIndexChanged, this,
          [this] { ShowFigure(static_cast<Field>(figureBox_->currentData().toInt())); });
  ShowFigure(figure_);
  resize(760, 620);
}

void TSweepResults::FillTable() {
  const auto& points = result_.table.points;
  const char separator = result_.table.separator;
  table_->setColumnCount(kFixedColumns + static_cast<int>(Figures().size()));
  QStringList headers{ToQString("Значение"), ToQString("Розыгрышей")};
  for (const Field figure : Figures()) headers << CaptionWithUnit(figure);
  table_->setHorizontalHeaderLabels(headers);
  table_->setRowCount(static_cast<int>(points.size()));
  for (int row = 0; row < static_cast<int>(points.size()); ++row) {
    const SweepPoint& point = points[static_cast<std::size_t>(row)];
    table_->setItem(row, 0, new QTableWidgetItem(ToQString(point.value)));
    if (point.refused) {
      // The reason takes the figures' place: a refused value has none.
      auto* reason = new QTableWidgetItem(ToQString("не считалось: ") + ToQString(*point.refused));
      reason->setToolTip(ToQString(*point.refused));
      reason->setForeground(Qt::darkRed);
      table_->setItem(row, 1, reason);
      table_->setSpan(row, 1, 1, table_->columnCount() - 1);
      continue;
    }
    table_->setItem(row, 1, new QTableWidgetItem(QString::number(point.plays)));
    for (int column = 0; column < static_cast<int>(Figures().size()); ++column) {
      const Field field = Figures()[static_cast<std::size_t>(column)];
      const QString mean = Mean(point, field, separator);
      QTableWidgetItem* item = NumberItem(static_cast<double>(point.ExactMean(field)), separator);
      const auto& spread = point.SpreadOf(field);
      QString tip = spread ? ToQString(
                                 "Среднее: %1\nСтандартное отклонение: %2\nПолуширина 95 %-го "
                                 "интервала: %3")
                                 .arg(mean, ToQString(FloatToStr(spread->deviation, separator)),
                                      ToQString(FloatToStr(spread->halfWidth, separator)))
                           : ToQString("Среднее: %1 (один розыгрыш: разброса нет)").arg(mean);
      if (spread) {
        const MeanInterval interval = IntervalWithin(RangeOf(field, result_.ClientsAt(point)),
                                                     point.ExactMean(field), spread->halfWidth);
        if (interval.clipped)
          tip += QLatin1Char('\n') +
                 ToQString(kClippedNote)
                     .arg(FullNumber(static_cast<double>(interval.low), separator),
                          FullNumber(static_cast<double>(interval.high), separator));
      }
      item->setToolTip(tip);
      table_->setItem(row, kFixedColumns + column, item);
    }
  }
  table_->resizeColumnsToContents();
}

void TSweepResults::ShowFigure(Field field) {
  figure_ = field;
  const auto& points = result_.table.points;
  const char separator = result_.table.separator;

  // Points that ran, by value: the error bars follow the graph's sorted data point for point.
  plotted_.clear();
  for (int i = 0; i < static_cast<int>(points.size()); ++i) {
    const SweepPoint& point = points[static_cast<std::size_t>(i)];
    if (point.refused) continue;
    const double x = Number(point.value, separator);
    const double y = static_cast<double>(point.ExactMean(field));
    if (!std::isfinite(x) || !std::isfinite(y) || (result_.logSpaced && x <= 0)) continue;
    plotted_.push_back(i);
  }
  std::stable_sort(plotted_.begin(), plotted_.end(), [&](int a, int b) {
    return Number(points[static_cast<std::size_t>(a)].value, separator) <
           Number(points[static_cast<std::size_t>(b)].value, separator);
  });

  QVector<double> keys, values, below, above;
  double low = std::numeric_limits<double>::infinity();
  double high = -low;
  for (int i = 0; i < static_cast<int>(plotted_.size()); ++i) {
    const SweepPoint& point = points[static_cast<std::size_t>(plotted_[i])];
    const double y = static_cast<double>(point.ExactMean(field));
    const MeanInterval interval = IntervalAt(i);
    keys << Number(point.value, separator);
    values << y;
    below << static_cast<double>(point.ExactMean(field) - interval.low);
    above << static_cast<double>(interval.high - point.ExactMean(field));
    low = std::min(low, static_cast<double>(interval.low));
    high = std::max(high, static_cast<double>(interval.high));
  }
  means_->setData(keys, values, true);
  intervals_->setData(below, above);
  plot_->yAxis->setLabel(CaptionWithUnit(field));
  if (!keys.isEmpty()) {
    plot_->xAxis->setRange(Padded(keys.front(), keys.back(), result_.logSpaced));
    plot_->yAxis->setRange(Padded(low, high, false));
  }
  plot_->replot();
  if (figureBox_->currentData().toInt() != static_cast<int>(field))
    figureBox_->setCurrentIndex(figureBox_->findData(static_cast<int>(field)));
}

MeanInterval TSweepResults::IntervalAt(int i) const {
  const SweepPoint& point = result_.table.points[static_cast<std::size_t>(plotted_.at(i))];
  const long double mean = point.ExactMean(figure_);
  const auto& spread = point.SpreadOf(figure_);
  const long double halfWidth =
      spread && std::isfinite(spread->halfWidth) ? spread->halfWidth : 0.0L;
  return IntervalWithin(RangeOf(figure_, result_.ClientsAt(point)), mean, halfWidth);
}

QString TSweepResults::PointTip(int i) const {
  if (i < 0 || i >= static_cast<int>(plotted_.size())) return {};
  const SweepPoint& point = result_.table.points[static_cast<std::size_t>(plotted_[i])];
  const char separator = result_.table.separator;
  const auto& spread = point.SpreadOf(figure_);
  const QString editCaption = result_.edit ? EditCaption(*result_.edit) : QString();
  QString text = editCaption + QStringLiteral(" = ") + ToQString(point.value) + QLatin1Char('\n') +
                 Caption(figure_) + QStringLiteral(": ") + Mean(point, figure_, separator);
  if (spread) {
    text += QStringLiteral(" ± ") + ToQString(FloatToStr(spread->halfWidth, separator)) +
            ToQString(" (95 %)");
    if (const MeanInterval interval = IntervalAt(i); interval.clipped) {
      text +=
          QLatin1Char('\n') + ToQString(kClippedNote)
                                  .arg(FullNumber(static_cast<double>(interval.low), separator),
                                       FullNumber(static_cast<double>(interval.high), separator));
    }
  }
  return text + ToQString("\nРозыгрышей: %1").arg(point.plays);
}

int TSweepResults::PointAt(const QPointF& position) const {
  int nearest = -1;
  double best = kHoverPixels;
  for (int i = 0; i < means_->dataCount(); ++i) {
    const auto it = means_->data()->at(i);
    const QPointF centre(plot_->xAxis->coordToPixel(it->key),
                         plot_->yAxis->coordToPixel(it->value));
    const double distance = std::hypot(centre.x() - position.x(), centre.y() - position.y());
    if (distance <= best) {
      best = distance;
      nearest = i;
    }
  }
  return nearest;
}

void TSweepResults::HoverAt(QMouseEvent* event) {
  const int i = PointAt(event->position());
  if (i < 0) {
    QToolTip::hideText();
    return;
  }
  QToolTip::showText(event->globalPosition().toPoint(), PointTip(i), plot_);
}

ExportSource TSweepResults::Export() const {
  ExportSource source{windowTitle(), content_, {}, {}, {}};
  source.charts.push_back({Caption(figure_), plot_});
  const SweepResult* result = &result_;
  source.csv = [result] {
    const QString caption = result->edit ? EditCaption(*result->edit) : QString();
    return SweepCsv(result->table, {caption.toStdString(), result->beginSettings});
  };
  return source;
}

void TSweepResults::SaveAs() {
  SaveAsAsked(*this, messages_, ask_, [this] { return Export(); });
}

void TSweepResults::contextMenuEvent(QContextMenuEvent* event) {
  if (!ShowContentMenu(*this, *event, {aSaveAs_})) QMdiSubWindow::contextMenuEvent(event);
}

}  // namespace teravo
