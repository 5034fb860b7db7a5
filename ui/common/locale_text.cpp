#include "ui/common/locale_text.h"

#include <QFile>
#include <QLocale>

namespace teravo {

char LocaleDecimalSeparator() {
  const QString point = QLocale::system().decimalPoint();
  if (point.isEmpty() || point.at(0).unicode() >= 0x80) return ',';
  return static_cast<char>(point.at(0).unicode());
}

std::filesystem::path ToFsPath(const QString& path) {
  return std::filesystem::path(QFile::encodeName(path).toStdString());
}

}  // namespace teravo
