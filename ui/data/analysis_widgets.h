#pragma once

#include <optional>
#include <vector>

#include <QPen>
#include <QString>
#include <QStringList>
#include <Qt>

class QCPGraph;
class QCPItemStraightLine;
class QCustomPlot;
class QTableWidget;
class QTableWidgetItem;
class QWidget;

namespace teravo {

// What the failure-data and calibration windows build their charts and tables from.

// A chart with its axis titles (units included), in the user's number format.
QCustomPlot* MakePlot(QWidget* parent, const QString& name, const char* x, const char* y);
void ShowLegend(QCustomPlot* plot, Qt::Alignment where);
// A line through the points (xs, ys), named in the legend by `name`.
QCPGraph* AddGraph(QCustomPlot* plot, const std::vector<double>& xs, const std::vector<double>& ys,
                   const QPen& pen, const QString& name);
// A vertical (x given) or horizontal line across the whole plot.
QCPItemStraightLine* AddLine(QCustomPlot* plot, std::optional<double> x, std::optional<double> y,
                             const QPen& pen);
// The whole of every graph, with a margin; the value axis from 0 when nothing is negative, and
// reaching ±alsoShowY when given.
void FitAxes(QCustomPlot* plot, std::optional<double> alsoShowY = std::nullopt);

// A read-only table without row numbers.
QTableWidget* MakeTable(QWidget* parent, const char* name, const QStringList& headers);
QTableWidgetItem* TextItem(const QString& text, const QString& tip = {});

}  // namespace teravo
