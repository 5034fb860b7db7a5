#include "ui/message_sink.h"

#include <QMessageBox>

#include "ui/locale_text.h"

namespace teravo {

namespace {

void ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
  QMessageBox box(icon, ToQString(kApplicationTitle), text, QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace

void MessageBoxSink::Info(QWidget* parent, const QString& text) {
  ShowBox(parent, QMessageBox::NoIcon, text);
}

void MessageBoxSink::Error(QWidget* parent, const QString& text) {
  ShowBox(parent, QMessageBox::Critical, text);
}

}  // namespace teravo
