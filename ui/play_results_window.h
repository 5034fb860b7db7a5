#pragma once

#include <memory>

#include <QMdiSubWindow>

#include "play/play_record.h"

namespace teravo {

class PlayResultsView;

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

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildIfShown();
  void Build();
  bool Shown() const { return isVisible() && !isMinimized(); }

  std::shared_ptr<PlayRecord> record_;
  PlayResultsView* view_ = nullptr;
};

}  // namespace teravo
