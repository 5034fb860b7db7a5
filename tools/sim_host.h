#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "play/play_host.h"

namespace teravo::sim {

// Keeps every window a run opens as a plain record, in the order of opening; the progress of
// a series goes to `err` when it is a terminal.
class SimHost : public PlayHost {
 public:
  SimHost(std::ostream& err, bool showProgress);

  void OpenPlayWindow(std::shared_ptr<PlayRecord> record) override;
  void ShowPlayWindow(PlayRecord& record, WindowState state) override;
  void Repaint(PlayRecord& /*record*/) override {}
  void ClosePlayWindow(PlayRecord& record) override;
  void OpenDistributionsWindow(std::shared_ptr<DistributionsRecord> record) override;
  void Repaint(DistributionsRecord& /*record*/) override {}
  void SeriesProgress(int playsDone, int playsTotal) override;

  const std::vector<std::shared_ptr<PlayRecord>>& PlayWindows() const { return playWindows_; }
  const std::shared_ptr<DistributionsRecord>& Distributions() const { return distributions_; }

 private:
  std::ostream& err_;
  bool showProgress_;
  std::vector<std::shared_ptr<PlayRecord>> playWindows_;
  std::shared_ptr<DistributionsRecord> distributions_;
};

}  // namespace teravo::sim
