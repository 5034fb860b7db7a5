#pragma once

#include <optional>

#include <QString>

class QTableWidgetItem;

namespace teravo {

// Numbers of the analysis windows: four significant digits in a cell, the full value in its
// tool tip, both with the user's decimal separator.
QString ShortNumber(double value, char separator);
QString FullNumber(double value, char separator);
QTableWidgetItem* NumberItem(double value, char separator);
// An empty value: the text given instead (kNotReached, say).
QTableWidgetItem* NumberItem(const std::optional<double>& value, const QString& instead,
                             char separator);

}  // namespace teravo
