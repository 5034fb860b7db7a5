#include <QApplication>
#include <QSettings>

#include "ui/shell/application_setup.h"
#include "ui/shell/main_form.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  teravo::SetUpApplication(app);
  teravo::TMainForm mainForm;
  // The main window comes back where the user left it; the first time it takes three
  // quarters of the screen.
  QSettings settings;
  mainForm.restoreGeometry(settings.value(QStringLiteral("mainWindow/geometry")).toByteArray());
  QObject::connect(&app, &QCoreApplication::aboutToQuit, &mainForm, [&] {
    settings.setValue(QStringLiteral("mainWindow/geometry"), mainForm.saveGeometry());
  });
  mainForm.show();
  return app.exec();
}
