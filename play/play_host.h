#pragma once

#include <memory>
#include <string>

#include "play/distributions.h"
#include "play/play_record.h"

namespace teravo {

// Where the play drivers put their windows: the desktop program opens real child windows,
// the headless runner and the tests keep plain records. The host owns what it opens until
// the window is closed; the drivers keep only what they need.
class PlayHost {
 public:
  virtual ~PlayHost() = default;

  // A new play results window (also used for the averages window of a series).
  virtual std::shared_ptr<PlayRecord> OpenPlayWindow() = 0;
  virtual void ShowPlayWindow(PlayRecord& record, WindowState state) = 0;
  // Redraw the window now from what the record holds.
  virtual void Repaint(PlayRecord& record) = 0;
  // Destroy a play window (its record is released by the host).
  virtual void ClosePlayWindow(PlayRecord& record) = 0;

  virtual std::shared_ptr<DistributionsRecord> OpenDistributionsWindow() = 0;
  virtual void Repaint(DistributionsRecord& record) = 0;

  // A modal message box with one OK button.
  virtual void ShowMessage(const std::string& text) = 0;
  // The local date and time for a play window's title (see LocalDateTimeText).
  virtual std::string DateTimeText() = 0;
  // The settings dialog's edTime text as it stands, for the run description.
  virtual std::string TotalTimeText() = 0;
  virtual char DecimalSeparator() = 0;
  // Called after each play of a series.
  virtual void SeriesProgress(int /*playsDone*/, int /*playsTotal*/) {}
};

// "dd.MM.yyyy H:mm:ss": the short date, a blank and the long time; at exactly midnight
// (hour, minute and second all 0) the blank and the time are left out.
std::string LocalDateTimeText(int year, int month, int day, int hour, int minute, int second);
// The same for the current local time.
std::string LocalDateTimeNow();

}  // namespace teravo
