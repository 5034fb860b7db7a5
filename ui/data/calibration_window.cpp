#include "ui/data/calibration_window.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include <qcustomplot.h>
#include <QAction>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "calibration/fit_document.h"
#include "core/number_text.h"
#include "reliability/analysis_texts.h"
#include "ui/common/content_menu.h"
#include "ui/common/locale_text.h"
#include "ui/data/analysis_widgets.h"
#include "ui/data/number_cells.h"
#include "ui/shell/window_placement.h"
#include "ui/sweep/sweep_window.h"

namespace teravo {

namespace {

const QColor kDataColor(60, 60, 60);
const QColor kFitColor(20, 60, 160);
const QColor kBandColor(20, 60, 160, 45);
const QColor kWarning(140, 0, 0);
// The end of the data: the forecast lies to its right.
const QPen kDataEndPen(Qt::gray, 1, Qt::DashLine);

// The 5–95 % band as a shaded area behind the mean, named once in the legend.
void AddBand(QCustomPlot* plot, const std::vector<double>& times, const CurveBand& band) {
  QCPGraph* low = AddGraph(plot, times, band.low, QPen(Qt::NoPen), QString());
  low->removeFromLegend();
  QCPGraph* high = AddGraph(plot, times, band.high, QPen(Qt::NoPen), ToQString("полоса 5–95 %"));
  high->setBrush(kBandColor);
  high->setChannelFillGraph(low);
}

QString EditTitle(std::string_view name) {
  const SettingsEdit* edit = FindSettingsEdit(name);
  if (!edit) return ToQString(name);
  const QString unit = EditUnit(*edit);
  return unit.isEmpty() ? EditCaption(*edit) : EditCaption(*edit) + QStringLiteral(", ") + unit;
}

struct ForecastChart {
  Curve curve;
  const char* title;
  const char* axis;
};

// The forecast's curves beside the failures, which the fit tab shows.
constexpr ForecastChart kForecastCharts[] = {
    {Curve::FailureIntensity, "Интенсивность отказов", "Интенсивность отказов, 1/сутки"},
    {Curve::Availability, "Коэффициент готовности", "Kг"},
    {Curve::WorkingClients, "Работающие клиенты", "Работающих клиентов"},
    {Curve::ErrorsLeft, "Оставшиеся ошибки", "Осталось ошибок"},
};

const ForecastCurve* CurveOf(const FitForecast& forecast, Curve curve) {
  for (const ForecastCurve& shown : forecast.curves)
    if (shown.curve == curve) return &shown;
  return nullptr;
}

}  // namespace

TCalibrationWindow::TCalibrationWindow(CalibrationResult result, char separator,
                                       MessageSink& messages, Actions actions, QWidget* parent)
    : QMdiSubWindow(parent),
      result_(std::move(result)),
      separator_(separator),
      messages_(messages),
      actions_(std::move(actions)),
      ask_([this](ExportDialog& dialog) {
        PlaceCentred(dialog, *window());
        return dialog.exec() == QDialog::Accepted;
      }) {
  setObjectName(QStringLiteral("Calibration"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(ToQString("Калибровка: ") + result_.title);

  content_ = new QWidget(this);
  auto* layout = new QVBoxLayout(content_);
  tabs_ = new QTabWidget(content_);
  tabs_->setObjectName(QStringLiteral("twCalibration"));
  auto* corner = new QWidget(content_);
  auto* buttons = new QHBoxLayout(corner);
  buttons->setContentsMargins(0, 0, 0, 0);
  saveParameters_ = new QPushButton(ToQString("Сохранить &параметры…"), corner);
  saveParameters_->setObjectName(QStringLiteral("buSaveFitted"));
  saveParameters_->setToolTip(ToQString("Записать подобранный набор в файл *.teravo.json"));
  openInSettings_ = new QPushButton(ToQString("Открыть в &настройках"), corner);
  openInSettings_->setObjectName(QStringLiteral("buAcceptFitted"));
  openInSettings_->setToolTip(
      ToQString("Принять подобранный набор как параметры розыгрыша (F2): F3, F4 и исследования "
                "возьмут его"));
  auto* save = new QPushButton(ToQString("Сохранить &как…"), corner);
  save->setObjectName(QStringLiteral("buSaveCalibration"));
  for (QPushButton* button : {saveParameters_, openInSettings_, save}) buttons->addWidget(button);
  tabs_->setCornerWidget(corner, Qt::TopRightCorner);
  tabs_->addTab(MakeFitTab(), ToQString("&Подбор"));
  tabs_->addTab(MakeForecastTab(), ToQString("П&рогноз"));
  layout->addWidget(tabs_);
  setWidget(content_);

  aSaveAs_ = new QAction(ToQString("Сохранить как…"), this);
  aSaveAs_->setObjectName(QStringLiteral("aSaveAs"));
  connect(aSaveAs_, &QAction::triggered, this, &TCalibrationWindow::SaveAs);
  connect(save, &QPushButton::clicked, this, &TCalibrationWindow::SaveAs);
  connect(saveParameters_, &QPushButton::clicked, this, [this] {
    if (actions_.saveParameters) actions_.saveParameters(result_.calibration.fit.fitted);
  });
  connect(openInSettings_, &QPushButton::clicked, this, [this] {
    if (actions_.openInSettings) actions_.openInSettings(result_.calibration.fit.fitted);
  });
  resize(980, 720);
}

QWidget* TCalibrationWindow::MakeFitTab() {
  const Calibration& calibration = result_.calibration;
  const SimulationFit& fit = calibration.fit;
  auto* tab = new QWidget;
  auto* layout = new QVBoxLayout(tab);
  goodness_ = new QLabel(GoodnessText(), tab);
  goodness_->setObjectName(QStringLiteral("lbGoodness"));
  goodness_->setWordWrap(true);
  layout->addWidget(goodness_);

  auto* splitter = new QSplitter(Qt::Horizontal, tab);
  const bool failures = result_.settings.matched == MatchedCurve::Failures;
  fitPlot_ = MakePlot(splitter, QStringLiteral("chFit"), "Время, сутки",
                      failures ? "Отказов всего" : "Исправленных ошибок всего");
  if (failures) {
    if (const ForecastCurve* curve = CurveOf(calibration.forecast, Curve::Failures)) {
      AddBand(fitPlot_, calibration.forecast.times, curve->band);
      AddGraph(fitPlot_, calibration.forecast.times, curve->band.mean,
               QPen(kFitColor, 1.2, Qt::DashLine), ToQString("прогноз (среднее)"));
    }
  }
  if (!fit.fittedMean.empty())
    AddGraph(fitPlot_, fit.points.times, fit.fittedMean, QPen(kFitColor, 1.8),
             ToQString("подобранное среднее"));
  QCPGraph* observed = AddGraph(fitPlot_, fit.points.times, fit.points.counts, QPen(kDataColor),
                                ToQString("данные"));
  observed->setLineStyle(QCPGraph::lsNone);
  observed->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, kDataColor, 4));
  AddLine(fitPlot_, result_.data.LastTime(), std::nullopt, kDataEndPen);
  fitPlot_->legend->setVisible(true);
  fitPlot_->legend->setFont(fitPlot_->font());
  // The failures rise steeply from the lower left: the upper left stays clear of them.
  fitPlot_->axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignLeft);
  FitAxes(fitPlot_);

  auto* tables = new QSplitter(Qt::Vertical, splitter);
  estimatesTable_ = MakeTable(tables, "tbEstimates",
                              {ToQString("Параметр"), ToQString("Оценка"),
                               ToQString("95 %-й интервал"), ToQString("Определено")});
  FillEstimates();
  notes_ = new QLabel(NotesText(), tables);
  notes_->setObjectName(QStringLiteral("lbFitNotes"));
  notes_->setWordWrap(true);
  notes_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  notes_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  psseTable_ = MakeTable(tables, "tbFitPsse",
                         {ToQString("Модель"), QStringLiteral("PSSE"), ToQString("Место")});
  FillPsse();
  // The tables take what their columns need; the chart has the rest.
  splitter->setStretchFactor(0, 1);
  splitter->setStretchFactor(1, 0);
  splitter->setSizes({500, 520});
  layout->addWidget(splitter, 1);
  return tab;
}

QWidget* TCalibrationWindow::MakeForecastTab() {
  const FitForecast& forecast = result_.calibration.forecast;
  auto* tab = new QWidget;
  auto* grid = new QGridLayout(tab);
  int at = 0;
  for (const ForecastChart& chart : kForecastCharts) {
    QCustomPlot* plot =
        MakePlot(tab, QStringLiteral("chForecast%1").arg(at + 1), "Время, сутки", chart.axis);
    if (const ForecastCurve* curve = CurveOf(forecast, chart.curve)) {
      AddBand(plot, forecast.times, curve->band);
      AddGraph(plot, forecast.times, curve->band.mean, QPen(kFitColor, 1.6), ToQString("среднее"));
    }
    AddLine(plot, result_.data.LastTime(), std::nullopt, kDataEndPen);
    auto* title = new QCPTextElement(plot, ToQString(chart.title), plot->font());
    plot->plotLayout()->insertRow(0);
    plot->plotLayout()->addElement(0, 0, title);
    FitAxes(plot);
    grid->addWidget(plot, at / 2, at % 2);
    forecastPlots_.emplace_back(ToQString(chart.title), plot);
    ++at;
  }
  return tab;
}

void TCalibrationWindow::FillEstimates() {
  const SimulationFit& fit = result_.calibration.fit;
  estimatesTable_->setRowCount(static_cast<int>(fit.estimates.size()));
  const QString method = ToQString(kDevianceIntervalMethod);
  for (int row = 0; row < estimatesTable_->rowCount(); ++row) {
    const EditEstimate& e = fit.estimates[static_cast<std::size_t>(row)];
    estimatesTable_->setItem(row, 0,
                             TextItem(EditTitle(e.name), EditTitle(e.name) + QStringLiteral(" (") +
                                                             ToQString(e.name) + QLatin1Char(')')));
    const bool known = fit.uncertainty && e.interval.identified;
    if (!fit.uncertainty) {
      estimatesTable_->setItem(row, 1, NumberItem(e.value, separator_));
      auto* none = TextItem(ToQString("не оценен: подбор остановлен"));
      none->setForeground(kWarning);
      estimatesTable_->setItem(row, 2, none);
      estimatesTable_->setItem(row, 3, TextItem(ToQString("неизвестно")));
    } else if (known) {
      QTableWidgetItem* value = NumberItem(e.value, separator_);
      if (e.atSpanEdge) {
        value->setText(value->text() + ToQString(" (на краю диапазона)"));
        value->setForeground(kWarning);
      }
      estimatesTable_->setItem(row, 1, value);
      estimatesTable_->setItem(
          row, 2,
          TextItem(QStringLiteral("%1 … %2").arg(ShortNumber(e.interval.low, separator_),
                                                 ShortNumber(e.interval.high, separator_)),
                   QStringLiteral("%1 … %2\n%3")
                       .arg(FullNumber(e.interval.low, separator_),
                            FullNumber(e.interval.high, separator_), method)));
      estimatesTable_->setItem(row, 3, TextItem(ToQString("да")));
    } else {
      // A number here would read as a finding: the data leave the edit anywhere in its span.
      auto* value = TextItem(
          ToQString("не определяется данными"),
          ToQString("Лучшая из разыгранных точек: %1").arg(FullNumber(e.value, separator_)));
      value->setForeground(kWarning);
      estimatesTable_->setItem(row, 1, value);
      estimatesTable_->setItem(row, 2,
                               TextItem(ToQString("любое значение от %1 до %2")
                                            .arg(ShortNumber(e.interval.low, separator_),
                                                 ShortNumber(e.interval.high, separator_)),
                                        method));
      estimatesTable_->setItem(row, 3, TextItem(ToQString("нет")));
    }
  }
  estimatesTable_->resizeColumnsToContents();
  // Long captions are cut short (their tip has them whole) so that every column shows.
  estimatesTable_->setColumnWidth(
      0, std::min(estimatesTable_->columnWidth(0), fontMetrics().averageCharWidth() * 28));
  estimatesTable_->horizontalHeader()->setStretchLastSection(true);
}

void TCalibrationWindow::FillPsse() {
  const Calibration& calibration = result_.calibration;
  struct Entry {
    QString name;
    std::optional<double> psse;
  };
  std::vector<Entry> entries;
  if (calibration.holdout) {
    entries.push_back({ToQString("Имитационная модель"), calibration.holdout->psse});
    if (calibration.classic) {
      const FailureAnalysis& classic = *calibration.classic;
      for (std::size_t i = 0; i < classic.holdouts.size(); ++i)
        entries.push_back({ToQString(ModelName(classic.fits[i].model)), classic.holdouts[i].psse});
    }
  }
  // Smallest first; a model without a PSSE goes last, unranked.
  std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    if (!a.psse || !b.psse) return a.psse.has_value() && !b.psse.has_value();
    return *a.psse < *b.psse;
  });
  psseTable_->setRowCount(static_cast<int>(entries.size()));
  for (int row = 0; row < psseTable_->rowCount(); ++row) {
    const Entry& entry = entries[static_cast<std::size_t>(row)];
    psseTable_->setItem(row, 0, TextItem(entry.name));
    psseTable_->setItem(row, 1, NumberItem(entry.psse, ToQString("не получена"), separator_));
    psseTable_->setItem(row, 2,
                        TextItem(entry.psse ? QString::number(row + 1) : QStringLiteral("—")));
  }
  psseTable_->resizeColumnsToContents();
  psseTable_->horizontalHeader()->setStretchLastSection(true);
}

QString TCalibrationWindow::GoodnessText() const {
  const Calibration& calibration = result_.calibration;
  const SimulationFit& fit = calibration.fit;
  QString distance = ToQString(kDistanceName);
  distance[0] = distance[0].toUpper();
  QString text = ToQString("%1: <b>%2</b> по %3 точкам")
                     .arg(distance, ShortNumber(fit.distance, separator_))
                     .arg(fit.points.times.size());
  const FitForecast& forecast = calibration.forecast;
  if (forecast.points > 0) {
    text += ToQString("; в полосе 5–95 %: %1 из %2 (%3 %)")
                .arg(forecast.pointsInBand)
                .arg(forecast.points)
                .arg(ShortNumber(100.0 * forecast.pointsInBand / forecast.points, separator_));
  }
  text += ToQString(". Подбор: <b>%1</b>, оценок %2, розыгрышей %3.")
              .arg(ToQString(SearchStatusText(fit.status)))
              .arg(fit.evaluations)
              .arg(static_cast<qlonglong>(fit.plays));
  if (calibration.stopped) {
    text += ToQString(
        " <span style='color:#8c0000'>Калибровка остановлена: показан лучший набор, найденный "
        "до остановки; интервалы, прогноз или проверка могут отсутствовать.</span>");
  }
  return text;
}

QString TCalibrationWindow::NotesText() const {
  const SimulationFit& fit = result_.calibration.fit;
  QStringList lines;
  if (fit.uncertainty) {
    for (const EditCombination& c : fit.uncertainty->combinations) {
      lines << ToQString("%1: %2 (95 %: %3 … %4), корреляция %5.")
                   .arg(ToQString(CombinationText(c, result_.settings.edits)),
                        ShortNumber(c.estimate, separator_), ShortNumber(c.low, separator_),
                        ShortNumber(c.high, separator_), ShortNumber(c.correlation, separator_));
    }
    for (const std::string& note : fit.uncertainty->notes) lines << ToQString(note);
    lines << ToQString("Интервалы: ") + ToQString(kDevianceIntervalMethod) + QLatin1Char('.');
  }
  lines << ToQString("Целые поля округляются внутри подбора; их оценка — разыгранное целое.");
  return lines.join(QLatin1Char('\n'));
}

ExportSource TCalibrationWindow::Export() const {
  ExportSource source{windowTitle(), content_, {}, {}, {}};
  source.charts.push_back({ToQString("Данные и подобранная модель"), fitPlot_});
  for (const auto& [title, plot] : forecastPlots_) source.charts.push_back({title, plot});
  const CalibrationResult* result = &result_;
  const char separator = separator_;
  source.csvTables = [result, separator] {
    return CalibrationCsvTables(result->calibration, result->settings, separator);
  };
  return source;
}

void TCalibrationWindow::SaveAs() {
  SaveAsAsked(*this, messages_, ask_, [this] { return Export(); });
}

void TCalibrationWindow::contextMenuEvent(QContextMenuEvent* event) {
  if (!ShowContentMenu(*this, *event, {aSaveAs_})) QMdiSubWindow::contextMenuEvent(event);
}

}  // namespace teravo
