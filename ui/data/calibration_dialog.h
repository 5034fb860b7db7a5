#pragma once

#include <variant>
#include <vector>

#include <QDialog>
#include <QString>

#include "calibration/calibration.h"
#include "ui/common/message_sink.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace teravo {

// "Калибровка по данным": the edits to fit, each with the span searched (the settings'
// typical span to start with), the plays per evaluation, the most evaluations, the holdout
// share, the horizon of the forecast and the curve the data stand for. Only the numeric edits
// that fill a parameter in the accepted new-error mode are offered.
class CalibrationDialog : public QDialog {
  Q_OBJECT
 public:
  struct Defaults {
    bool byProbability = true;
    double holdoutShare = 0.7;
    double horizon = 0;  // days past the data
  };

  CalibrationDialog(const Defaults& defaults, char separator, MessageSink& messages,
                    QWidget* parent = nullptr);

  // The settings the fields give, or what is wrong with them (in Russian).
  std::variant<CalibrationSettings, QString> Settings() const;

  // One row per edit offered.
  struct EditRow {
    QCheckBox* chosen;
    QLineEdit* low;
    QLineEdit* high;
  };
  const std::vector<EditRow>& Rows() const { return rows_; }
  // The row of that edit, or null.
  const EditRow* Row(std::string_view edit) const;
  QSpinBox* PlaysBox() const { return plays_; }
  QSpinBox* EvaluationsBox() const { return evaluations_; }
  QLineEdit* HoldoutEdit() const { return holdout_; }
  QLineEdit* HorizonEdit() const { return horizon_; }
  QComboBox* MatchedBox() const { return matched_; }

  // Refuses to close while the fields are wrong, saying why.
  void accept() override;

 private:
  char separator_;
  MessageSink& messages_;
  std::vector<EditRow> rows_;
  std::vector<const SettingsEdit*> edits_;  // by row
  QSpinBox* plays_ = nullptr;
  QSpinBox* evaluations_ = nullptr;
  QLineEdit* holdout_ = nullptr;
  QLineEdit* horizon_ = nullptr;
  QComboBox* matched_ = nullptr;
};

}  // namespace teravo
