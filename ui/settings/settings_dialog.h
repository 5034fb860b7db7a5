#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include <QDialog>
#include <QString>

#include "model/teravo.h"
#include "params/parameter_file.h"
#include "params/settings_form.h"
#include "ui/common/message_sink.h"

class QAction;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace teravo {

// "Параметры розыгрыша": holds the parameters as texts only; every calculation and the
// acceptance into the model belong to the parameter layer, which sees this dialog through
// SettingsForm. Created once and hidden between showings, so its texts persist.
class TfmSettings : public QDialog, public SettingsForm {
  Q_OBJECT
 public:
  TfmSettings(TTeravo& model, MessageSink& messages, QWidget* parent = nullptr);

  std::string Text(std::string_view edit) const override;
  void SetText(std::string_view edit, const std::string& text) override;
  bool IsEnabled(std::string_view edit) const override;
  void SetEnabled(std::string_view edit, bool enabled) override;
  void Focus(std::string_view edit) override;
  bool IsProbabilityChecked() const override;
  void SetProbabilityChecked(bool checked) override;
  void ShowMessage(const std::string& text) override;
  void Close() override;
  char DecimalSeparator() const override { return separator_; }

  QLineEdit* Edit(std::string_view name) const;
  QAction* InitParametersAction() const { return aInitParameters_; }

  // Accepts the texts into the model as F2 does, with the same messages, but leaves the dialog
  // as it is. True when every field passed.
  bool AcceptTexts();
  // The texts or the mode are not those last accepted (or none were accepted yet).
  bool DiffersFromAccepted() const;
  bool AnyAccepted() const { return accepted_.has_value(); }
  // After a refusal of a number typed with the other decimal separator, what the status line
  // adds; empty otherwise.
  const QString& SeparatorNote() const { return separatorNote_; }

 signals:
  // After every acceptance, from F2 or from AcceptTexts(): whether the texts were accepted.
  void AcceptanceFinished(bool accepted);
  // A text or the new-error mode changed, by the user or by the program.
  void TextsChanged();

 private:
  // Adds to the tool tip of an edit refused for a decimal point where the user's separator is
  // a comma (or the other way round) which separator the program reads; clears it otherwise.
  void NoteSeparator(bool accepted);
  // The accepting part of AcceptTexts(); the dialog closes after it when `close` is set and
  // nothing was thrown.
  bool Accept(bool close);
  void CreateControls();
  void ConnectCommands();
  void ChainTabOrder();
  void ApplyDefaults();
  template <class Command>
  void Run(Command&& command);

  TTeravo& model_;
  MessageSink& messages_;
  char separator_;
  std::map<std::string, QLineEdit*, std::less<>> edits_;
  QGroupBox* groupBox1_ = nullptr;
  QGroupBox* groupBox2_ = nullptr;
  QRadioButton* rbP_ = nullptr;
  QRadioButton* rbI_ = nullptr;
  QPushButton* buCallErrors_ = nullptr;
  QPushButton* buCallAverCorrectErrorNum_ = nullptr;
  QPushButton* buAllTime_ = nullptr;
  QPushButton* buInitParameters_ = nullptr;
  QPushButton* buCancel_ = nullptr;
  // The edit that acceptance last focused, so that a refusal can be told apart.
  std::string focused_;
  QString separatorNote_;
  QAction* aInitParameters_ = nullptr;
  // What the last acceptance that passed took.
  std::optional<ParameterFile> accepted_;
};

}  // namespace teravo
