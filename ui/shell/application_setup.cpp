#include "ui/shell/application_setup.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace teravo {

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/teravo/teravo-%1.png").arg(size), QSize(size, size));
  return icon;
}

QTranslator* InstallQtTranslation(QCoreApplication& app, const QLocale& locale) {
  auto* translator = new QTranslator(&app);
  if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return nullptr;
  }
  QCoreApplication::installTranslator(translator);
  return translator;
}

void SetUpApplication(QCoreApplication& app) {
  QCoreApplication::setOrganizationName(QStringLiteral("Teravo"));
  QCoreApplication::setApplicationName(QStringLiteral("teravo"));
  // Matches the desktop entry, so the window system shows the entry's icon and name.
  QGuiApplication::setDesktopFileName(QStringLiteral("teravo"));
  QApplication::setWindowIcon(ProgramIcon());
  InstallQtTranslation(app);
}

}  // namespace teravo
