#pragma once

#include <QString>

class QWidget;

namespace teravo {

// The title every message box of the program carries.
inline constexpr char kApplicationTitle[] = "Надежность ПО";

// Where the program's messages go. Every message passes through one of these, so the
// widget tests can record them instead of blocking on a modal box.
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // A modal message with one OK button; returns when the user has closed it.
  virtual void Info(QWidget* parent, const QString& text) = 0;
  // The same with an error icon: the default error handler's report.
  virtual void Error(QWidget* parent, const QString& text) = 0;
  // A question with Yes and No; true for Yes. Sinks that only record messages answer Yes.
  virtual bool Ask(QWidget* parent, const QString& text) {
    Info(parent, text);
    return true;
  }
};

// The real one: QMessageBox with the application's title and a single OK button.
class MessageBoxSink : public MessageSink {
 public:
  void Info(QWidget* parent, const QString& text) override;
  void Error(QWidget* parent, const QString& text) override;
  bool Ask(QWidget* parent, const QString& text) override;
};

}  // namespace teravo
