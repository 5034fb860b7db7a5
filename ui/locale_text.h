#pragma once

#include <string>

#include <QDateTime>
#include <QString>

namespace teravo {

// The decimal separator of the user's locale. The number texts work with one ASCII
// character; a locale whose separator is not ASCII falls back to the comma.
char LocaleDecimalSeparator();

// The system's short date, a blank and its long time; at exactly midnight (hour, minute and
// second all 0) the blank and the time are left out.
std::string SystemDateTimeText(const QDateTime& moment);

inline QString ToQString(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace teravo
