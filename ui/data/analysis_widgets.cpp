#include "ui/data/analysis_widgets.h"

#include <algorithm>

#include <QHeaderView>
#include <QLocale>
#include <QTableWidget>

#include <qcustomplot.h>

#include "ui/common/locale_text.h"
#include "ui/common/table_copy.h"

namespace teravo {

QCPGraph* AddGraph(QCustomPlot* plot, const std::vector<double>& xs, const std::vector<double>& ys,
                   const QPen& pen, const QString& name) {
  QCPGraph* graph = plot->addGraph();
  graph->setData(QVector<double>(xs.begin(), xs.end()), QVector<double>(ys.begin(), ys.end()),
                 true);
  graph->setPen(pen);
  graph->setName(name);
  return graph;
}

QCustomPlot* MakePlot(QWidget* parent, const QString& name, const char* x, const char* y) {
  auto* plot = new QCustomPlot(parent);
  plot->setObjectName(name);
  plot->setMinimumSize(320, 220);
  plot->setLocale(QLocale());
  plot->xAxis->setLabel(ToQString(x));
  plot->yAxis->setLabel(ToQString(y));
  return plot;
}

void ShowLegend(QCustomPlot* plot, Qt::Alignment where) {
  plot->legend->setVisible(true);
  plot->legend->setFont(plot->font());
  plot->axisRect()->insetLayout()->setInsetAlignment(0, where);
}

QCPItemStraightLine* AddLine(QCustomPlot* plot, std::optional<double> x, std::optional<double> y,
                             const QPen& pen) {
  auto* line = new QCPItemStraightLine(plot);
  line->point1->setCoords(x.value_or(0), y.value_or(0));
  line->point2->setCoords(x ? *x : 1, y ? *y : 1);
  line->setPen(pen);
  return line;
}

void FitAxes(QCustomPlot* plot, std::optional<double> alsoShowY) {
  plot->rescaleAxes();
  QCPRange y = plot->yAxis->range();
  if (alsoShowY) y.expand(QCPRange(-*alsoShowY, *alsoShowY));
  const double pad = std::max(y.size() * 0.06, 1e-9);
  plot->yAxis->setRange(y.lower >= 0 ? 0 : y.lower - pad, y.upper + pad);
  plot->xAxis->setRange(std::min(0.0, plot->xAxis->range().lower), plot->xAxis->range().upper);
  plot->replot();
}

QTableWidget* MakeTable(QWidget* parent, const char* name, const QStringList& headers) {
  auto* table = new QTableWidget(parent);
  table->setObjectName(ToQString(name));
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setColumnCount(static_cast<int>(headers.size()));
  table->setHorizontalHeaderLabels(headers);
  table->verticalHeader()->hide();
  EnableCopy(*table);
  return table;
}

QTableWidgetItem* TextItem(const QString& text, const QString& tip) {
  auto* item = new QTableWidgetItem(text);
  if (!tip.isEmpty()) item->setToolTip(tip);
  return item;
}

}  // namespace teravo
