#include "ui/message_sink.h"

#include <QMessageBox>

namespace teravo {

namespace {

void ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
  QMessageBox box(icon, QString::fromUtf8(kApplicationTitle), text, QMessageBox::Ok, parent);
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
