#include "ui/data/data_window.h"

#include <algorithm>
#include <array>
#include <cmath>

#include <qcustomplot.h>
#include <QAction>
#include <QContextMenuEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/number_text.h"
#include "reliability/analysis_document.h"
#include "reliability/analysis_texts.h"
#include "ui/common/content_menu.h"
#include "ui/common/error_report.h"
#include "ui/common/locale_text.h"
#include "ui/data/analysis_widgets.h"
#include "ui/data/calibration_control.h"
#include "ui/data/number_cells.h"
#include "ui/shell/window_placement.h"

namespace teravo {

namespace {

// One colour per model, in the order of kGrowthModels.
const QColor kModelColors[] = {QColor(20, 60, 160), QColor(200, 40, 40), QColor(30, 140, 60),
                               QColor(150, 60, 170)};
const QColor kDataColor(60, 60, 60);
const QColor kHeldOutColor(230, 120, 0);
const QColor kFailedFit(140, 0, 0);

QColor ColorOf(GrowthModel model) {
  return kModelColors[static_cast<int>(model) % std::size(kModelColors)];
}

QString Name(GrowthModel model) {
  return ToQString(ModelName(model));
}

constexpr int kParameterColumns = 3;  // Weibull has three parameters, the others two

// Points that cannot be drawn (an intensity infinite at 0) are left out.
QCPGraph* AddCurve(QCustomPlot* plot, const std::vector<SeriesPoint>& points, const QPen& pen,
                   const QString& name) {
  QVector<double> xs, ys;
  for (const SeriesPoint& point : points) {
    if (!std::isfinite(point.x) || !std::isfinite(point.y)) continue;
    xs << point.x;
    ys << point.y;
  }
  QCPGraph* graph = plot->addGraph();
  graph->setData(xs, ys, true);
  graph->setPen(pen);
  graph->setName(name);
  return graph;
}

QCPGraph* AddPoints(QCustomPlot* plot, const std::vector<SeriesPoint>& points,
                    QCPScatterStyle style, const QString& name) {
  QCPGraph* graph = AddCurve(plot, points, QPen(style.pen().color()), name);
  graph->setLineStyle(QCPGraph::lsNone);
  graph->setScatterStyle(style);
  return graph;
}

// The cells of a fit that has no numbers say why, across the columns from `from` on.
void SpanStatus(QTableWidget* table, int row, int from, int to, const QString& status) {
  auto* item = TextItem(status);
  item->setForeground(kFailedFit);
  item->setToolTip(ToQString("Оценки не получены: %1").arg(status));
  table->setItem(row, from, item);
  if (to > from) table->setSpan(row, from, 1, to - from + 1);
}

QString Place(const std::vector<GrowthModel>& ranking, GrowthModel model) {
  const auto at = std::find(ranking.begin(), ranking.end(), model);
  return at == ranking.end() ? QStringLiteral("—") : QString::number(at - ranking.begin() + 1);
}

}  // namespace

TDataAnalysisWindow::TDataAnalysisWindow(DataAnalysisResult result, char separator,
                                         MessageSink& messages, QWidget* parent)
    : QMdiSubWindow(parent),
      result_(std::move(result)),
      curves_(CurvesOf(result_.data, result_.analysis, result_.options)),
      separator_(separator),
      messages_(messages),
      ask_([this](ExportDialog& dialog) {
        PlaceCentred(dialog, *window());
        return dialog.exec() == QDialog::Accepted;
      }) {
  setObjectName(QStringLiteral("DataAnalysis"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(ToQString("Данные об отказах: ") + result_.title);

  content_ = new QWidget(this);
  auto* layout = new QVBoxLayout(content_);
  tabs_ = new QTabWidget(content_);
  tabs_->setObjectName(QStringLiteral("twAnalysis"));
  auto* corner = new QWidget(content_);
  auto* buttons = new QHBoxLayout(corner);
  buttons->setContentsMargins(0, 0, 0, 0);
  auto* calibrate = new QPushButton(ToQString("Ка&либровка по данным…"), corner);
  calibrate->setObjectName(QStringLiteral("buCalibrate"));
  calibrate->setToolTip(
      ToQString("Подобрать параметры имитационной модели так, чтобы она воспроизводила эти "
                "отказы"));
  auto* save = new QPushButton(ToQString("Сохранить &как…"), corner);
  save->setObjectName(QStringLiteral("buSaveAnalysis"));
  buttons->addWidget(calibrate);
  buttons->addWidget(save);
  tabs_->setCornerWidget(corner, Qt::TopRightCorner);
  tabs_->addTab(MakeDataTab(), ToQString("&Данные"));
  tabs_->addTab(MakeTrendTab(), ToQString("&Тренд"));
  tabs_->addTab(MakeModelsTab(), ToQString("&Модели"));
  tabs_->addTab(MakeForecastTab(), ToQString("&Прогноз"));
  layout->addWidget(tabs_);
  setWidget(content_);

  aSaveAs_ = new QAction(ToQString("Сохранить как…"), this);
  aSaveAs_->setObjectName(QStringLiteral("aSaveAs"));
  connect(aSaveAs_, &QAction::triggered, this, &TDataAnalysisWindow::SaveAs);
  connect(save, &QPushButton::clicked, this, &TDataAnalysisWindow::SaveAs);
  aCalibrate_ = new QAction(ToQString("Калибровка по данным…"), this);
  aCalibrate_->setObjectName(QStringLiteral("aCalibrate"));
  connect(aCalibrate_, &QAction::triggered, this, &TDataAnalysisWindow::Calibrate);
  connect(calibrate, &QPushButton::clicked, this, &TDataAnalysisWindow::Calibrate);
  resize(940, 680);
}

QWidget* TDataAnalysisWindow::MakeDataTab() {
  const FailureData& data = result_.data;
  auto* tab = new QWidget;
  auto* layout = new QVBoxLayout(tab);
  QString summary = ToQString(
                        "%1; в файле — %2, время переведено в сутки. Отказов: %3, "
                        "наблюдение %4 сут.")
                        .arg(ToQString(LayoutName(data.layout)), ToQString(UnitName(data.unit)))
                        .arg(static_cast<qlonglong>(data.FailureCount()))
                        .arg(FullNumber(data.LastTime(), separator_));
  if (!data.ignored_columns.empty()) {
    QStringList ignored;
    for (const std::string& column : data.ignored_columns) ignored << ToQString(column);
    summary += ToQString(" Не прочитаны столбцы: %1.").arg(ignored.join(QStringLiteral(", ")));
  }
  auto* label = new QLabel(summary, tab);
  label->setObjectName(QStringLiteral("lbDataSummary"));
  label->setWordWrap(true);
  layout->addWidget(label);

  const bool counts = data.IsCounts();
  dataTable_ = MakeTable(tab, "tbData",
                         counts ? QStringList{ToQString("№"), ToQString("Конец интервала, сутки"),
                                              ToQString("Отказов в интервале"),
                                              ToQString("Отказов нарастающим итогом")}
                                : QStringList{ToQString("№"), ToQString("Время отказа, сутки"),
                                              ToQString("Отказов нарастающим итогом")});
  const auto& observed = curves_.observed;
  dataTable_->setRowCount(static_cast<int>(observed.size()));
  for (int row = 0; row < static_cast<int>(observed.size()); ++row) {
    const auto i = static_cast<std::size_t>(row);
    int column = 0;
    dataTable_->setItem(row, column++, TextItem(QString::number(row + 1)));
    dataTable_->setItem(row, column++, NumberItem(observed[i].x, separator_));
    if (counts) dataTable_->setItem(row, column++, TextItem(QString::number(data.counts[i])));
    dataTable_->setItem(row, column,
                        TextItem(QString::number(static_cast<qlonglong>(observed[i].y))));
  }
  dataTable_->resizeColumnsToContents();
  layout->addWidget(dataTable_, 1);
  return tab;
}

QWidget* TDataAnalysisWindow::MakeTrendTab() {
  const TrendAnalysis& trend = result_.analysis.trend;
  auto* tab = new QWidget;
  auto* layout = new QVBoxLayout(tab);
  trendLine_ = new QLabel(ToQString("Фактор Лапласа: <b>%1</b> — <b>%2</b>. Ниже −2 надежность "
                                    "растет, выше +2 падает (уровень значимости около 5 %).")
                              .arg(ShortNumber(trend.laplace_factor, separator_),
                                   ToQString(TrendReadingText(trend.reading))),
                          tab);
  trendLine_->setObjectName(QStringLiteral("lbTrend"));
  trendLine_->setToolTip(FullNumber(trend.laplace_factor, separator_));
  trendLine_->setWordWrap(true);
  layout->addWidget(trendLine_);

  auto* splitter = new QSplitter(Qt::Horizontal, tab);
  laplacePlot_ = MakePlot(splitter, QStringLiteral("chLaplace"), "Время, сутки", "Фактор Лапласа");
  AddCurve(laplacePlot_, trend.running_laplace, QPen(kModelColors[0], 1.5),
           ToQString("Фактор Лапласа"));
  const QPen bound(QColor(200, 40, 40), 1, Qt::DashLine);
  AddLine(laplacePlot_, std::nullopt, 2.0, bound);
  AddLine(laplacePlot_, std::nullopt, -2.0, bound);
  FitAxes(laplacePlot_, 2.5);

  mtbfPlot_ = MakePlot(splitter, QStringLiteral("chMtbf"), "Время, сутки",
                       "Средняя наработка между отказами, сутки");
  AddCurve(mtbfPlot_, trend.running_mean_time_between_failures, QPen(kModelColors[2], 1.5),
           ToQString("Средняя наработка"));
  FitAxes(mtbfPlot_);
  layout->addWidget(splitter, 1);
  return tab;
}

QWidget* TDataAnalysisWindow::MakeModelsTab() {
  auto* tab = new QWidget;
  auto* layout = new QVBoxLayout(tab);
  auto* note = new QLabel(
      ToQString("Оценки максимального правдоподобия, время в сутках; в скобках 95 %-й "
                "интервал. PSSE — ошибка прогноза по модели, подогнанной на первых %1 времени "
                "наблюдения (до %2 сут).")
          .arg(ShortNumber(result_.options.holdout_share * 100, separator_) + ToQString(" %"),
               ShortNumber(curves_.holdout_cut, separator_)),
      tab);
  note->setWordWrap(true);
  layout->addWidget(note);

  auto* splitter = new QSplitter(Qt::Vertical, tab);
  QStringList headers{ToQString("Модель"), ToQString("Состояние")};
  for (int i = 1; i <= kParameterColumns; ++i) headers << ToQString("Параметр %1").arg(i);
  headers << ToQString("ln L") << QStringLiteral("AIC") << QStringLiteral("BIC")
          << ToQString("Расстояние К–С") << QStringLiteral("PSSE") << ToQString("Место по AIC")
          << ToQString("Место по PSSE");
  modelsTable_ = MakeTable(splitter, "tbModels", headers);
  FillModelsTable();

  modelsPlot_ = MakePlot(splitter, QStringLiteral("chModels"), "Время, сутки", "Отказов всего");
  std::vector<SeriesPoint> seen, heldOut;
  for (const SeriesPoint& point : curves_.observed)
    (point.x <= curves_.holdout_cut ? seen : heldOut).push_back(point);
  AddPoints(modelsPlot_, seen, QCPScatterStyle(QCPScatterStyle::ssDisc, kDataColor, 4),
            ToQString("данные"));
  AddPoints(modelsPlot_, heldOut, QCPScatterStyle(QCPScatterStyle::ssCircle, kHeldOutColor, 6),
            ToQString("данные для проверки прогноза"));
  for (const ModelCurves& model : curves_.models)
    AddCurve(modelsPlot_, model.mean_value, QPen(ColorOf(model.model), 1.6), Name(model.model));
  AddLine(modelsPlot_, curves_.holdout_cut, std::nullopt, QPen(kHeldOutColor, 1, Qt::DashLine));
  // The data rise from the lower left and level off: the lower right stays clear of them.
  ShowLegend(modelsPlot_, Qt::AlignBottom | Qt::AlignRight);
  FitAxes(modelsPlot_);
  splitter->addWidget(modelsTable_);
  splitter->addWidget(modelsPlot_);
  splitter->setStretchFactor(0, 2);
  splitter->setStretchFactor(1, 3);
  layout->addWidget(splitter, 1);
  return tab;
}

void TDataAnalysisWindow::FillModelsTable() {
  const FailureAnalysis& analysis = result_.analysis;
  modelsTable_->setRowCount(static_cast<int>(analysis.fits.size()));
  const int numbers = 2 + kParameterColumns;  // the first column after the parameters
  for (int row = 0; row < static_cast<int>(analysis.fits.size()); ++row) {
    const ModelFit& fit = analysis.fits[static_cast<std::size_t>(row)];
    const HoldoutFit& holdout = analysis.holdouts[static_cast<std::size_t>(row)];
    auto* name = TextItem(Name(fit.model));
    name->setForeground(ColorOf(fit.model));
    modelsTable_->setItem(row, 0, name);
    const QString status = ToQString(FitStatusText(fit.status));
    modelsTable_->setItem(row, 1, TextItem(status));
    if (fit.status == FitStatus::Converged) {
      const auto symbols = ParameterSymbols(fit.model);
      for (std::size_t i = 0; i < fit.estimates.size(); ++i) {
        const ParameterEstimate& e = fit.estimates[i];
        const QString symbol = ToQString(ParameterText(symbols[i]));
        QString text = symbol + QStringLiteral(" = ") + ShortNumber(e.value, separator_);
        QString tip = symbol + QStringLiteral(" = ") + FullNumber(e.value, separator_);
        if (e.lower && e.upper) {
          text += QStringLiteral(" (%1 … %2)")
                      .arg(ShortNumber(*e.lower, separator_), ShortNumber(*e.upper, separator_));
          tip += ToQString("\n95 %-й интервал: %1 … %2\n%3")
                     .arg(FullNumber(*e.lower, separator_), FullNumber(*e.upper, separator_),
                          ToQString(kIntervalMethod));
        } else {
          tip += ToQString(
              "\nИнтервал не получен: наблюдаемая информация не положительно "
              "определена");
        }
        auto* item = TextItem(text);
        item->setToolTip(tip);
        modelsTable_->setItem(row, 2 + static_cast<int>(i), item);
      }
      int column = numbers;
      for (const double value : {fit.log_likelihood, fit.aic, fit.bic, fit.ks_distance})
        modelsTable_->setItem(row, column++, NumberItem(value, separator_));
    } else {
      SpanStatus(modelsTable_, row, 2, numbers + 3, status);
    }
    const QString holdoutStatus =
        holdout.fit ? ToQString(FitStatusText(holdout.fit->status)) : ToQString("нет данных");
    auto* psse = NumberItem(holdout.psse, holdoutStatus, separator_);
    if (!holdout.psse) psse->setForeground(kFailedFit);
    modelsTable_->setItem(row, numbers + 4, psse);
    modelsTable_->setItem(row, numbers + 5, TextItem(Place(analysis.ranking.by_aic, fit.model)));
    modelsTable_->setItem(row, numbers + 6, TextItem(Place(analysis.ranking.by_psse, fit.model)));
  }
  modelsTable_->resizeColumnsToContents();
}

QWidget* TDataAnalysisWindow::MakeForecastTab() {
  auto* tab = new QWidget;
  auto* layout = new QVBoxLayout(tab);
  const PredictionRequest& request = result_.options.prediction;
  const std::array<std::pair<const char*, double>, 5> inputs = {{
      {"Δt, сут:", request.horizon},
      {"N отказов:", request.next_failures},
      {"Целевая интенсивность, 1/сут:", request.target_intensity},
      {"Время миссии x, сут:", request.mission_time},
      {"Целевая надежность:", request.target_reliability},
  }};
  auto* row = new QHBoxLayout;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    auto* edit = new QLineEdit(ToQString(FloatToStr(inputs[i].second, separator_)), tab);
    edit->setObjectName(QStringLiteral("edRequest%1").arg(i + 1));
    edit->setMaximumWidth(fontMetrics().averageCharWidth() * 10);
    auto* label = new QLabel(ToQString(inputs[i].first), tab);
    label->setBuddy(edit);
    row->addWidget(label);
    row->addWidget(edit);
    requestEdits_[i] = edit;
    connect(edit, &QLineEdit::returnPressed, this, [this] { Predict(); });
  }
  auto* again = new QPushButton(ToQString("&Пересчитать"), tab);
  again->setObjectName(QStringLiteral("buPredict"));
  connect(again, &QPushButton::clicked, this, [this] { Predict(); });
  row->addWidget(again);
  row->addStretch(1);
  layout->addLayout(row);

  auto* splitter = new QSplitter(Qt::Vertical, tab);
  forecastTable_ = MakeTable(splitter, "tbForecast", {});
  auto* charts = new QSplitter(Qt::Horizontal, splitter);
  intensityPlot_ = MakePlot(charts, QStringLiteral("chIntensity"), "Время, сутки",
                            "Интенсивность отказов, 1/сутки");
  reliabilityPlot_ =
      MakePlot(charts, QStringLiteral("chReliability"), "Время миссии x, сутки", "Надежность R(x)");
  splitter->addWidget(forecastTable_);
  splitter->addWidget(charts);
  splitter->setStretchFactor(0, 2);
  splitter->setStretchFactor(1, 3);
  layout->addWidget(splitter, 1);
  FillForecast();
  return tab;
}

void TDataAnalysisWindow::FillForecast() {
  const FailureAnalysis& analysis = result_.analysis;
  QStringList headers{ToQString("Модель")};
  for (const std::string& header : PredictionHeaders(result_.options.prediction, separator_))
    headers << ToQString(header);
  forecastTable_->clearSpans();
  forecastTable_->setColumnCount(static_cast<int>(headers.size()));
  forecastTable_->setHorizontalHeaderLabels(headers);
  forecastTable_->setRowCount(static_cast<int>(analysis.fits.size()));
  const QString never = ToQString(kNotReached);
  for (int row = 0; row < static_cast<int>(analysis.fits.size()); ++row) {
    const ModelFit& fit = analysis.fits[static_cast<std::size_t>(row)];
    auto* name = TextItem(Name(fit.model));
    name->setForeground(ColorOf(fit.model));
    forecastTable_->setItem(row, 0, name);
    const auto& prediction = analysis.predictions[static_cast<std::size_t>(row)];
    if (!prediction) {
      for (int column = 1; column < forecastTable_->columnCount(); ++column)
        delete forecastTable_->takeItem(row, column);
      SpanStatus(forecastTable_, row, 1, forecastTable_->columnCount() - 1,
                 ToQString(FitStatusText(fit.status)));
      continue;
    }
    int column = 1;
    forecastTable_->setItem(row, column++,
                            NumberItem(prediction->expected_failures_in_horizon, separator_));
    forecastTable_->setItem(row, column++,
                            NumberItem(prediction->time_to_next_failures, never, separator_));
    forecastTable_->setItem(row, column++, NumberItem(prediction->current_intensity, separator_));
    forecastTable_->setItem(row, column++,
                            NumberItem(prediction->time_to_target_intensity, never, separator_));
    forecastTable_->setItem(row, column++, NumberItem(prediction->reliability_now, separator_));
    forecastTable_->setItem(
        row, column, NumberItem(prediction->test_time_to_target_reliability, never, separator_));
  }
  forecastTable_->resizeColumnsToContents();
  forecastTable_->horizontalHeader()->setStretchLastSection(true);

  for (QCustomPlot* plot : {intensityPlot_, reliabilityPlot_}) {
    plot->clearGraphs();
    plot->clearItems();
  }
  for (const ModelCurves& model : curves_.models) {
    const QPen pen(ColorOf(model.model), 1.6);
    AddCurve(intensityPlot_, model.intensity, pen, Name(model.model));
    AddCurve(reliabilityPlot_, model.reliability, pen, Name(model.model));
  }
  // The end of observation: the forecast lies to its right.
  AddLine(intensityPlot_, result_.data.LastTime(), std::nullopt, QPen(Qt::gray, 1, Qt::DashLine));
  ShowLegend(intensityPlot_, Qt::AlignTop | Qt::AlignRight);
  // R(x) falls from 1: the lower left stays clear of it.
  ShowLegend(reliabilityPlot_, Qt::AlignBottom | Qt::AlignLeft);
  FitAxes(intensityPlot_);
  FitAxes(reliabilityPlot_);
}

bool TDataAnalysisWindow::Predict() {
  std::array<double, 5> values{};
  for (std::size_t i = 0; i < values.size(); ++i) {
    const QString text = requestEdits_[i]->text().trimmed();
    const auto value = ParseReal(text.toStdString(), separator_);
    if (!value) {
      messages_.Info(this, ToQString("«%1» — не число.").arg(text));
      requestEdits_[i]->setFocus();
      return false;
    }
    values[i] = static_cast<double>(*value);
  }
  const PredictionRequest request{values[0], values[1], values[2], values[3], values[4]};
  try {
    CheckRequest(request);
  } catch (const std::exception& error) {
    messages_.Info(this, ToQString(error.what()));
    return false;
  }
  result_.options.prediction = request;
  FailureAnalysis& analysis = result_.analysis;
  for (std::size_t i = 0; i < analysis.fits.size(); ++i) {
    if (analysis.predictions[i])
      analysis.predictions[i] = ::teravo::Predict(analysis.fits[i], request);
  }
  curves_ = CurvesOf(result_.data, analysis, result_.options);
  FillForecast();
  return true;
}

ExportSource TDataAnalysisWindow::Export() const {
  ExportSource source{windowTitle(), content_, {}, {}, {}};
  source.charts = {{ToQString("Фактор Лапласа"), laplacePlot_},
                   {ToQString("Средняя наработка между отказами"), mtbfPlot_},
                   {ToQString("Данные и модели"), modelsPlot_},
                   {ToQString("Интенсивность отказов"), intensityPlot_},
                   {ToQString("Надежность"), reliabilityPlot_}};
  const DataAnalysisResult* result = &result_;
  const char separator = separator_;
  source.csvTables = [result, separator] {
    return AnalysisCsvTables(result->data, result->analysis, result->options, separator);
  };
  return source;
}

void TDataAnalysisWindow::SaveAs() {
  SaveAsAsked(*this, messages_, ask_, [this] { return Export(); });
}

void TDataAnalysisWindow::contextMenuEvent(QContextMenuEvent* event) {
  if (!ShowContentMenu(*this, *event, {aCalibrate_, aSaveAs_}))
    QMdiSubWindow::contextMenuEvent(event);
}

void TDataAnalysisWindow::Calibrate() {
  if (CalibrationControl* control = CalibrationControl::Of(*this)) control->Execute(result_);
}

}  // namespace teravo
