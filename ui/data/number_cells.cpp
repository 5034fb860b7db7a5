#include "ui/data/number_cells.h"

#include <charconv>
#include <cmath>

#include <QTableWidgetItem>

#include "core/number_text.h"
#include "ui/common/locale_text.h"

namespace teravo {

QString ShortNumber(double value, char separator) {
  if (!std::isfinite(value)) return QStringLiteral("—");
  // Rounded through its decimal text, so the general format shows those digits and no more.
  char buffer[32];
  const auto end =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 3).ptr;
  double rounded = value;
  std::from_chars(buffer, end, rounded);
  return ToQString(FloatToStr(rounded, separator));
}

QString FullNumber(double value, char separator) {
  if (!std::isfinite(value)) return QStringLiteral("—");
  return ToQString(FloatToStr(value, separator));
}

QTableWidgetItem* NumberItem(double value, char separator) {
  auto* item = new QTableWidgetItem(ShortNumber(value, separator));
  item->setToolTip(FullNumber(value, separator));
  item->setData(kFullTextRole, item->toolTip());
  item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return item;
}

QTableWidgetItem* NumberItem(const std::optional<double>& value, const QString& instead,
                             char separator) {
  if (value) return NumberItem(*value, separator);
  auto* item = new QTableWidgetItem(instead);
  item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return item;
}

}  // namespace teravo
