#pragma once

#include <memory>
#include <optional>

#include <QMdiSubWindow>

#include "results/play_record.h"

class QAction;

namespace teravo {

class PlayResultsView;
class TAllPlayResults;

// A play results window (also the averages window of a series): a child window of the main
// window that owns its play's record; closing it destroys it and releases the record.
// The charts are built only once the window is first shown other than minimised: a series
// leaves hundreds of minimised windows, which must stay light.
class TfmPlayResults : public QMdiSubWindow {
  Q_OBJECT
 public:
  explicit TfmPlayResults(std::shared_ptr<PlayRecord> record, QWidget* parent = nullptr);

  // Null once the window has been closed.
  PlayRecord* Record() const { return record_.get(); }
  void ApplyState(WindowState state);
  // Shows what the record holds now and paints at once, without processing any input.
  void PaintNow();

  bool IsBuilt() const { return view_ != nullptr; }
  PlayResultsView* View() const { return view_; }
  // The view, built first if the window has not been shown yet (to export it).
  PlayResultsView* BuiltView();

  // The window's own menu: export, replay of a play; the spread and the band of an averages
  // window. Each is offered only where it applies.
  QAction* SaveAsAction() const { return aSaveAs_; }
  QAction* ReplayAction() const { return aReplay_; }
  QAction* SpreadAction() const { return aSpread_; }
  QAction* BandAction() const { return aBand_; }
  // "Закрыть розыгрыши серии" of an averages window: what its distributions window's does.
  QAction* ClosePlaysAction() const { return aClosePlays_; }
  // The mean curves show their 5–95 % band: as the user chose, or by the size of the series.
  bool BandsShown() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void CreateActions();
  void UpdateActions();
  void ShowSpread();
  TAllPlayResults* SeriesDistributions() const;
  void BuildIfShown();
  void Build();
  bool Shown() const { return isVisible() && !isMinimized(); }

  std::shared_ptr<PlayRecord> record_;
  PlayResultsView* view_ = nullptr;
  std::optional<bool> bandsChosen_;
  QAction* aSaveAs_ = nullptr;
  QAction* aReplay_ = nullptr;
  QAction* aSpread_ = nullptr;
  QAction* aBand_ = nullptr;
  QAction* aClosePlays_ = nullptr;
};

}  // namespace teravo
