#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QMdiSubWindow>

#include "decisions/questions.h"
#include "ui/common/export_dialog.h"
#include "ui/common/message_sink.h"

class QAction;
class QCustomPlot;
class QLabel;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace teravo {

class QuestionForm;

// "Когда цель будет достигнута?": the analyst's question and its answers in words, each with
// its probability and the plays behind it; the distribution of the time to the target with
// the probability's line, the programmers tried, and the cost of a release over its time.
class TDecisionsWindow : public QMdiSubWindow {
  Q_OBJECT
 public:
  // Asks the question: the window's "Ответить".
  using Asker = std::function<void(const Question&)>;

  TDecisionsWindow(char separator, MessageSink& messages, Asker ask, QWidget* parent = nullptr);

  // The set the answers come from, described under the question.
  void ShowParameters(const TParameters& parameters, bool accepted);
  void ShowAnswers(Answers answers, Question question);
  bool HasAnswers() const { return answers_.has_value(); }

  QuestionForm* Form() const { return form_; }
  QPushButton* AskButton() const { return ask_; }
  QLabel* AnswerLine() const { return answer_; }
  QLabel* DetailsLine() const { return details_; }
  QTabWidget* Tabs() const { return tabs_; }
  QCustomPlot* DistributionPlot() const { return distribution_; }
  QCustomPlot* CostPlot() const { return costPlot_; }
  QTableWidget* QuantileTable() const { return quantiles_; }
  QTableWidget* StaffingTable() const { return staffing_; }
  QAction* SaveAsAction() const { return aSaveAs_; }

  ExportSource Export() const;
  void SaveAs();
  void SetExportAsker(ExportAsker asker) { exportAsk_ = std::move(asker); }

  // The answers as spreadsheets, by file name: time_to_target.csv, staffing.csv,
  // release_cost.csv. Numbers with the window's separator.
  std::vector<std::pair<std::string, std::string>> CsvTables() const;

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QWidget* MakeTimeTab();
  QWidget* MakeStaffingTab();
  QWidget* MakeCostTab();
  void ShowDistribution();
  void ShowStaffing();
  void ShowCost();

  char separator_;
  MessageSink& messages_;
  Asker askQuestion_;
  ExportAsker exportAsk_;
  std::optional<Answers> answers_;
  Question question_;
  QWidget* content_ = nullptr;
  QuestionForm* form_ = nullptr;
  QLabel* parameters_ = nullptr;
  QPushButton* ask_ = nullptr;
  QLabel* answer_ = nullptr;
  QLabel* details_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  QCustomPlot* distribution_ = nullptr;
  QTableWidget* quantiles_ = nullptr;
  QLabel* staffingAnswer_ = nullptr;
  QTableWidget* staffing_ = nullptr;
  QLabel* costModel_ = nullptr;
  QCustomPlot* costPlot_ = nullptr;
  QAction* aSaveAs_ = nullptr;
};

}  // namespace teravo
