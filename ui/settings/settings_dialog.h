#pragma once

#include <map>
#include <string>
#include <string_view>

#include <QDialog>

#include "model/teravo.h"
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

 private:
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
  QAction* aInitParameters_ = nullptr;
};

}  // namespace teravo
