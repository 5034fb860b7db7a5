#pragma once

#include <QString>
#include <Qt>

class QTableWidget;
class QTableWidgetItem;

namespace teravo {

// A cell that shows a number shorter than it is keeps the full text under this role.
inline constexpr int kFullTextRole = Qt::UserRole + 1;

// What a cell gives when copied or saved: the full value where it shows fewer digits.
QString FullText(const QTableWidgetItem* item);

// The selected cells as tab-separated lines, one a row, in the rectangle around the selection
// (cells outside it left empty), for a spreadsheet to paste.
QString SelectedCellsText(const QTableWidget& table);

// Ctrl+C (and the system's copy key) in the table copies its selected cells.
void EnableCopy(QTableWidget& table);

}  // namespace teravo
