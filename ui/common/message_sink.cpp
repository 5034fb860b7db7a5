#include "ui/common/message_sink.h"

#include <QMessageBox>

#include "ui/common/locale_text.h"

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

bool MessageBoxSink::Ask(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Question, ToQString(kApplicationTitle), text,
                  QMessageBox::Yes | QMessageBox::No, parent);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace teravo
