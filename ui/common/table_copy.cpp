#include "ui/common/table_copy.h"

#include <algorithm>
#include <climits>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QTableWidget>

namespace teravo {

QString FullText(const QTableWidgetItem* item) {
  if (!item) return {};
  const QVariant full = item->data(kFullTextRole);
  return full.isValid() ? full.toString() : item->text();
}

QString SelectedCellsText(const QTableWidget& table) {
  const QList<QTableWidgetSelectionRange> ranges = table.selectedRanges();
  if (ranges.isEmpty()) return {};
  int top = INT_MAX, left = INT_MAX, bottom = -1, right = -1;
  for (const QTableWidgetSelectionRange& range : ranges) {
    top = std::min(top, range.topRow());
    left = std::min(left, range.leftColumn());
    bottom = std::max(bottom, range.bottomRow());
    right = std::max(right, range.rightColumn());
  }
  QStringList lines;
  for (int row = top; row <= bottom; ++row) {
    QStringList cells;
    for (int column = left; column <= right; ++column) {
      const QTableWidgetItem* item = table.item(row, column);
      // A tab or a line break inside a cell would split it when pasted.
      QString text = item && item->isSelected() ? FullText(item) : QString();
      text.replace(QLatin1Char('\t'), QLatin1Char(' '))
          .replace(QLatin1Char('\n'), QLatin1Char(' '));
      cells << text;
    }
    lines << cells.join(QLatin1Char('\t'));
  }
  return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void EnableCopy(QTableWidget& table) {
  auto* copy = new QAction(&table);
  copy->setShortcut(QKeySequence::Copy);
  copy->setShortcutContext(Qt::WidgetShortcut);
  QObject::connect(copy, &QAction::triggered, &table, [&table] {
    const QString text = SelectedCellsText(table);
    if (!text.isEmpty()) QGuiApplication::clipboard()->setText(text);
  });
  table.addAction(copy);
}

}  // namespace teravo
