#pragma once

#include <optional>

#include <QString>

#include "ui/common/table_copy.h"

class QTableWidgetItem;

namespace teravo {

// Numbers of the program's own tables: four significant digits in a cell, the full value in
// its tool tip and under kFullTextRole, which copying takes; both with the user's decimal
// separator.
QString ShortNumber(double value, char separator);
QString FullNumber(double value, char separator);
QTableWidgetItem* NumberItem(double value, char separator);
// An empty value: the text given instead (kNotReached, say).
QTableWidgetItem* NumberItem(const std::optional<double>& value, const QString& instead,
                             char separator);

}  // namespace teravo
