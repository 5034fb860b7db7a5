#pragma once

#include <optional>

#include <QGroupBox>

#include "decisions/questions.h"
#include "model/parameters.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace teravo {

class MessageSink;

// The analyst's question, typed in: the target and how it must hold, the probability, the
// plays, and optionally a date with a range of programmers and the costs of a release.
class QuestionForm : public QGroupBox {
  Q_OBJECT
 public:
  QuestionForm(char separator, QWidget* parent = nullptr);

  // Fills the date and horizon fields from the play's length the first time, and whenever
  // the play got shorter than them.
  void FitToPlay(const TParameters& parameters);
  // The question as typed; a field that does not read is told in Russian and focused.
  std::optional<Question> Read(MessageSink& messages);

  QComboBox* QuantityBox() const { return quantity_; }
  QLineEdit* ThresholdEdit() const { return threshold_; }
  QComboBox* HoldingBox() const { return holding_; }
  QLineEdit* ProbabilityEdit() const { return probability_; }
  QLineEdit* PlaysEdit() const { return plays_; }
  QLineEdit* SeedEdit() const { return seed_; }
  QLineEdit* ByEdit() const { return by_; }
  QCheckBox* StaffingBox() const { return staffing_; }
  QLineEdit* FewestEdit() const { return fewest_; }
  QLineEdit* MostEdit() const { return most_; }
  QCheckBox* CostsBox() const { return costs_; }
  QLineEdit* DayCostEdit() const { return dayCost_; }
  QLineEdit* FailureCostEdit() const { return failureCost_; }
  QLineEdit* HorizonEdit() const { return horizon_; }

 private:
  void UpdateEnabled();

  char separator_;
  double playEnd_ = 0;
  QComboBox* quantity_;
  QLineEdit* threshold_;
  QComboBox* holding_;
  QLineEdit* probability_;
  QLineEdit* plays_;
  QLineEdit* seed_;
  QLineEdit* by_;
  QCheckBox* staffing_;
  QLineEdit* fewest_;
  QLineEdit* most_;
  QCheckBox* costs_;
  QLineEdit* dayCost_;
  QLineEdit* failureCost_;
  QLineEdit* horizon_;
};

}  // namespace teravo
