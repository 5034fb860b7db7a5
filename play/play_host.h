#pragma once

#include <functional>
#include <memory>
#include <string>

#include "play/date_time_text.h"
#include "play/distributions.h"
#include "results/play_record.h"

namespace teravo {

// What a play needs from outside the model, taken when its command starts.
struct PlayContext {
  std::string TotalTimeText;  // the settings dialog's edTime as it stands
  char Separator = ',';       // the decimal separator of every number text
  // The date and time for a play window's title, asked once per play.
  std::function<std::string()> Now = LocalDateTimeNow;
};

// Where the play drivers put their windows: the desktop program opens real child windows,
// the headless runner and the tests keep plain records. A host only opens, shows and
// repaints windows; it owns what it opens until the window is closed, and the drivers keep
// only what they need.
class PlayHost {
 public:
  virtual ~PlayHost() = default;

  // A new play results window showing `record` (also used for the averages of a series).
  virtual void OpenPlayWindow(std::shared_ptr<PlayRecord> record) = 0;
  virtual void ShowPlayWindow(PlayRecord& record, WindowState state) = 0;
  // Redraw the window now from what the record holds.
  virtual void Repaint(PlayRecord& record) = 0;
  // Destroy a play window (its record is released by the host).
  virtual void ClosePlayWindow(PlayRecord& record) = 0;

  virtual void OpenDistributionsWindow(std::shared_ptr<DistributionsRecord> record) = 0;
  virtual void Repaint(DistributionsRecord& record) = 0;
};

// Opens nothing and shows nothing: for plays whose records are kept elsewhere or not at all
// (the workers of a series, benchmarks, the fuzz target).
class DiscardingHost : public PlayHost {
 public:
  void OpenPlayWindow(std::shared_ptr<PlayRecord> /*record*/) override {}
  void ShowPlayWindow(PlayRecord& /*record*/, WindowState /*state*/) override {}
  void Repaint(PlayRecord& /*record*/) override {}
  void ClosePlayWindow(PlayRecord& /*record*/) override {}
  void OpenDistributionsWindow(std::shared_ptr<DistributionsRecord> /*record*/) override {}
  void Repaint(DistributionsRecord& /*record*/) override {}
};

}  // namespace teravo
