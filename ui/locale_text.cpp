#include "ui/locale_text.h"

#include <QLocale>

namespace teravo {

char LocaleDecimalSeparator() {
  const QString point = QLocale::system().decimalPoint();
  if (point.isEmpty() || point.at(0).unicode() >= 0x80) return ',';
  return static_cast<char>(point.at(0).unicode());
}

std::string SystemDateTimeText(const QDateTime& moment) {
  const QLocale locale = QLocale::system();
  QString text = locale.toString(moment.date(), QLocale::ShortFormat);
  const QTime time = moment.time();
  if (time.hour() != 0 || time.minute() != 0 || time.second() != 0)
    text += QLatin1Char(' ') + locale.toString(time, QLocale::LongFormat);
  return text.toStdString();
}

}  // namespace teravo
