#pragma once

#include <memory>
#include <string>
#include <vector>

#include "play/play_host.h"
#include "results/json_writer.h"

namespace teravo::sim {

// Keeps every window a run opens as a plain record, in the order of opening.
class SimHost : public PlayHost {
 public:
  void OpenPlayWindow(std::shared_ptr<PlayRecord> record) override;
  void ShowPlayWindow(PlayRecord& record, WindowState state) override;
  void Repaint(PlayRecord& /*record*/) override {}
  void ClosePlayWindow(PlayRecord& record) override;
  void OpenDistributionsWindow(std::shared_ptr<DistributionsRecord> record) override;
  void Repaint(DistributionsRecord& /*record*/) override {}

  const std::vector<std::shared_ptr<PlayRecord>>& PlayWindows() const { return playWindows_; }
  const std::shared_ptr<DistributionsRecord>& Distributions() const { return distributions_; }
  // The windows as the run's document holds them: the plays, and a series' averages and
  // distributions.
  RunWindows Windows() const;

 private:
  std::vector<std::shared_ptr<PlayRecord>> playWindows_;
  std::shared_ptr<DistributionsRecord> distributions_;
};

}  // namespace teravo::sim
