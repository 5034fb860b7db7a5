#pragma once

#include <memory>
#include <string>

#include <QMdiSubWindow>

#include "play/distributions.h"
#include "play/play_host.h"
#include "ui/common/chart_view.h"
#include "ui/common/message_sink.h"

class QAction;
class QLineEdit;
class QPushButton;

namespace teravo {

// The distributions window of a series: two histograms over the plays at a moment the user
// types. Its close box only minimises it; it lives as long as the main window.
class TAllPlayResults : public QMdiSubWindow {
  Q_OBJECT
 public:
  TAllPlayResults(std::shared_ptr<DistributionsRecord> record, PlayHost& host,
                  MessageSink& messages, QWidget* parent = nullptr);

  DistributionsRecord* Record() const { return record_.get(); }
  // Shows what the record holds now and paints at once.
  void PaintNow();

  QLineEdit* CurTimeEdit() const { return edCurTime_; }
  QPushButton* RecallButton() const { return edRecall_; }
  QPushButton* DeleteButton() const { return buDelete_; }
  const ChartView& WorkClients() const { return *chWorkClients_; }
  const ChartView& ErrorsInClients() const { return *chErrorsInClients_; }
  // Everything the window shows, whatever part of it is scrolled out of sight.
  QWidget* Content() const { return content_; }
  // "Сохранить как…" of the window's own menu.
  QAction* SaveAsAction() const { return aSaveAs_; }
  // "Закрыть розыгрыши серии", as the delete button does.
  QAction* ClosePlaysAction() const { return aClosePlays_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void Show();

  std::shared_ptr<DistributionsRecord> record_;
  PlayHost& host_;
  MessageSink& messages_;
  QWidget* content_ = nullptr;
  QAction* aClosePlays_ = nullptr;
  QAction* aSaveAs_ = nullptr;
  QLineEdit* edCurTime_ = nullptr;
  std::unique_ptr<ChartView> chWorkClients_;
  std::unique_ptr<ChartView> chErrorsInClients_;
  // A moment the recount refused: the histograms still show the one before it.
  std::string refusedMoment_;
  QPushButton* edRecall_ = nullptr;
  QPushButton* buDelete_ = nullptr;
};

}  // namespace teravo
