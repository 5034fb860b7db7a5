#include <QApplication>

#include "ui/main_form.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  teravo::TMainForm mainForm;
  mainForm.show();
  return app.exec();
}
