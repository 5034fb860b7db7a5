#pragma once

#include <string>
#include <variant>
#include <vector>

#include <QDialog>

#include "model/parameters.h"
#include "params/settings_edits.h"
#include "results/play_record.h"
#include "ui/common/message_sink.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace teravo {

// What the user asked to sweep.
struct SweepRequest {
  const SettingsEdit* edit = nullptr;
  std::vector<std::string> values;  // each once, as acceptance will read them
  bool logSpaced = false;
  Field figure = Field::edKg;
};

// "Исследование параметра": one numeric edit that fills a parameter, its values as a list or a
// range, and the figure to plot. Only the edits read in the accepted new-error mode are offered.
// It tells the plays the sweep would take and how long, and opens with the fields it was last
// accepted with.
class SweepDialog : public QDialog {
  Q_OBJECT
 public:
  SweepDialog(const TParameters& accepted, char separator, MessageSink& messages,
              QWidget* parent = nullptr);

  // The request the fields give, or what is wrong with them (in Russian).
  std::variant<SweepRequest, QString> Request() const;

  QComboBox* EditBox() const { return edit_; }
  QRadioButton* ListButton() const { return byList_; }
  QRadioButton* RangeButton() const { return byRange_; }
  QLineEdit* ListEdit() const { return list_; }
  QLineEdit* FromEdit() const { return from_; }
  QLineEdit* ToEdit() const { return to_; }
  QSpinBox* CountBox() const { return count_; }
  QCheckBox* LogBox() const { return log_; }
  QComboBox* FigureBox() const { return figure_; }
  // The plays per point, their total and the time they would take.
  QLabel* NeedsLabel() const { return needs_; }

  // Refuses to close while the fields are wrong, saying why.
  void accept() override;

 private:
  void ModeChanged();
  void ShowNeeds();
  void RestoreFields();
  void RememberFields() const;

  TParameters accepted_;
  char separator_;
  MessageSink& messages_;
  QComboBox* edit_ = nullptr;
  QRadioButton* byList_ = nullptr;
  QRadioButton* byRange_ = nullptr;
  QLineEdit* list_ = nullptr;
  QLineEdit* from_ = nullptr;
  QLineEdit* to_ = nullptr;
  QSpinBox* count_ = nullptr;
  QCheckBox* log_ = nullptr;
  QComboBox* figure_ = nullptr;
  QLabel* needs_ = nullptr;
};

}  // namespace teravo
