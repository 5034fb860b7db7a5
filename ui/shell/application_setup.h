#pragma once

#include <QIcon>
#include <QLocale>

class QCoreApplication;
class QTranslator;

namespace teravo {

// The program's own icon, at every size it ships.
QIcon ProgramIcon();

// Qt's own texts (a child window's menu, an edit's context menu, the standard buttons) in
// the language of `locale`, from the translations Qt installs. Returns the installed
// translator (owned by `app`), or null when Qt has none for that language.
QTranslator* InstallQtTranslation(QCoreApplication& app, const QLocale& locale = QLocale());

// What every start of the desktop program sets up before its first window: names (for the
// settings and the desktop entry), the icon and Qt's translation.
void SetUpApplication(QCoreApplication& app);

}  // namespace teravo
